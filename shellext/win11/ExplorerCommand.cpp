#include "shellext/win11/ExplorerCommand.h"

#include "shellext/common/ComBoundary.h"
#include "WendriftClassIds.h"
#include "shellext/win11/CommandEnumerator.h"
#include "shellext/win11/CommandRules.h"
#include "shellext/win11/FlyoutSource.h"
#include "shellext/win11/FolderCommand.h"
#include "shellext/win11/PackagedCommand.h"
#include "shellext/entry/ModulePath.h"
#include "shellext/win11/ShellItems.h"
#include "texts/TextIds.h"
#include "winframe/Languages.h"
#include "winframe/Texts.h"

#include <shlwapi.h>

#include <vector>

namespace {
// The library's icon group 5, the product's icon, as the shell names an icon resource.
const wchar_t kIconResource[] = L",-5";
}  // namespace

STDMETHODIMP ExplorerCommand::GetTitle(IShellItemArray*, LPWSTR* name) {
    if (name == nullptr) return E_POINTER;
    *name = nullptr;
    return GuardCom([&] {
        // The classic submenu's title without its access key, in the language chosen now.
        const std::wstring title =
            WithoutAccessKey(Text(ChosenLanguage(), isCopy_ ? IDS_COPY_TO : IDS_MOVE_TO));
        return SHStrDupW(title.c_str(), name);
    });
}

STDMETHODIMP ExplorerCommand::GetIcon(IShellItemArray*, LPWSTR* icon) {
    if (icon == nullptr) return E_POINTER;
    *icon = nullptr;
    return GuardCom([&] {
        wchar_t library[MAX_PATH];
        if (!ModulePath(library)) return E_FAIL;
        return SHStrDupW((std::wstring(library) + kIconResource).c_str(), icon);
    });
}

STDMETHODIMP ExplorerCommand::GetCanonicalName(GUID* name) {
    if (name == nullptr) return E_POINTER;
    *name = isCopy_ ? kCopyCommandClassId : kMoveCommandClassId;
    return S_OK;
}

STDMETHODIMP ExplorerCommand::GetState(IShellItemArray* items, BOOL, EXPCMDSTATE* state) {
    if (state == nullptr) return E_POINTER;
    *state = ECS_HIDDEN;
    return GuardCom([&] {
        std::vector<std::wstring> names;
        std::vector<std::wstring> paths;
        bool allFiles = false;
        if (!ReadItemNames(items, folder_, names, paths, allFiles)) names.clear();  // virtual
        *state = CommandState(names, allFiles, extension_);
        // Only an entry that shows itself may keep the classic menu's from showing.
        if (*state == ECS_ENABLED) {
            RecordPackagedMenuSighting(isCopy_ ? PackagedEntry::Copy : PackagedEntry::Move, paths);
        }
        return S_OK;
    });
}

STDMETHODIMP ExplorerCommand::GetFlags(EXPCMDFLAGS* flags) {
    if (flags == nullptr) return E_POINTER;
    *flags = ECF_HASSUBCOMMANDS;
    return S_OK;
}

STDMETHODIMP ExplorerCommand::EnumSubCommands(IEnumExplorerCommand** commands) {
    if (commands == nullptr) return E_POINTER;
    *commands = nullptr;
    std::vector<IExplorerCommand*> folders;
    HRESULT result = GuardCom([&] {
        if (!extension_.empty()) {
            for (const PlannedItem& item : FlyoutItems(extension_, ChosenLanguage())) {
                folders.reserve(folders.size() + 1);  // so that the new folder is never lost
                folders.push_back(new FolderCommand(item, isCopy_));
            }
        }
        *commands = new CommandEnumerator(std::move(folders));
        return S_OK;
    });
    if (FAILED(result)) {
        for (IExplorerCommand* folder : folders) folder->Release();
    }
    return result;
}
