#include "shellext/classic/ShellCallback.h"

#include "shellext/common/AskDestination.h"
#include "shellext/common/ComBoundary.h"
#include "shellext/classic/CommandString.h"
#include "shellext/classic/DropList.h"
#include "shellext/common/ExtensionRule.h"
#include "shellext/common/MenuPlan.h"
#include "shellext/classic/MenuRecord.h"
#include "shellext/win11/PackagedCommand.h"
#include "shellext/common/TransferFailure.h"
#include "store/AssociationStore.h"
#include "texts/TextIds.h"
#include "transfer/StartTransfer.h"
#include "winframe/Languages.h"
#include "winframe/Texts.h"

namespace {

struct SubmenuKind {
    UINT label;
    int operation;
};
// In menu order: "Cop&y To" at indexMenu, "&Move To" right below it.
const SubmenuKind kSubmenus[] = {{IDS_COPY_TO, kOperationCopy}, {IDS_MOVE_TO, kOperationMove}};

}  // namespace

ShellCallback::ShellCallback() { state_.Reset(); }

STDMETHODIMP ShellCallback::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit)) {
        *out = static_cast<IShellExtInit*>(this);
        return S_OK;
    }
    if (IsEqualIID(iid, IID_IContextMenu)) {
        *out = static_cast<IContextMenu*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ShellCallback::AddRef() { return 2; }

STDMETHODIMP_(ULONG) ShellCallback::Release() { return 1; }

STDMETHODIMP ShellCallback::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
    // Every call starts from an empty selection, so a failed one leaves nothing behind.
    state_.Reset();
    if (data == nullptr) return E_FAIL;
    data->AddRef();
    HRESULT result = GuardCom([&] { return ReadSelection(data); });
    if (FAILED(result)) state_.Reset();
    data->Release();
    return result;
}

HRESULT ShellCallback::ReadSelection(IDataObject* data) {
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&format, &medium))) return E_FAIL;
    if (medium.tymed != TYMED_HGLOBAL) {
        // Not what was asked for: its handle is no memory block to read.
        ReleaseStgMedium(&medium);
        return E_FAIL;
    }
    size_t count = 0;
    try {
        count = ReadDropList(medium.hGlobal, state_.selectedFiles);
    } catch (...) {
        ReleaseStgMedium(&medium);
        throw;
    }
    ReleaseStgMedium(&medium);
    return count > 0 ? S_OK : E_FAIL;
}

bool ShellCallback::AllSameExtension() const { return ::AllSameExtension(state_.selectedFiles); }

STDMETHODIMP ShellCallback::QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst,
                                             UINT idCmdLast, UINT flags) {
    return GuardCom([&] { return BuildMenus(menu, indexMenu, idCmdFirst, idCmdLast, flags); });
}

HRESULT ShellCallback::BuildMenus(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                  UINT flags) {
    MenuRecord record(idCmdFirst, idCmdLast);
    // A double-click asks for the default verb only, which these menus never hold: answered
    // before anything is read.
    if ((flags & CMF_DEFAULTONLY) != 0) return record.Answer();
    // The package's commands show the same entries in this menu already.
    if (PackagedCommandsShowing(state_.selectedFiles)) return record.Answer();
    if (!AllSameExtension()) return E_FAIL;
    std::wstring extension = state_.FirstFileExtension();
    if (extension.empty()) return E_FAIL;

    // Read on every right-click: a language chosen meanwhile shows at once.
    const LANGID language = ChosenLanguage();
    std::vector<std::wstring> directories;
    ListDirectories(extension, directories);
    std::vector<PlannedItem> items = PlanSubmenu(directories, language);
    // With too few identifiers "&Other folder..." goes first, then the last directories, from
    // both submenus alike.
    SubmenuFit fit = FitSubmenus(items.size(), record.Available());
    if (fit.items == 0) return record.Answer();
    items.resize(fit.items);

    state_.commandBase = idCmdFirst;
    state_.commands.clear();  // entries stand for this menu's items only
    state_.language = language;
    HMENU submenus[2] = {};
    for (UINT i = 0; i < 2; ++i) {
        HMENU submenu = CreateMenu();
        if (submenu == nullptr) return E_FAIL;
        UINT submenuId = 0;
        if (!record.Insert(menu, indexMenu + i, Text(language, kSubmenus[i].label), false, submenu,
                           submenuId)) {
            DestroyMenu(submenu);
            return E_FAIL;
        }
        submenus[i] = submenu;
        UINT position = 0;
        for (const PlannedItem& item : items) {
            UINT itemId = 0;
            // A failed insertion inside a submenu is ignored; its identifier stays taken.
            record.Insert(submenu, position++, item.label, item.greyed, nullptr, itemId);
            if (!item.directory.empty()) {
                state_.AddCommand(MenuCommand{item.directory, itemId, kSubmenus[i].operation});
            }
        }
    }
    if (!fit.otherFolder) return record.Answer();
    // Shown last in each submenu, numbered after both: every other item keeps its offset.
    const PlannedItem other = OtherFolderItem(language);
    for (UINT i = 0; i < 2; ++i) {
        UINT position = static_cast<UINT>(items.size());
        record.InsertSeparator(submenus[i], position++);
        UINT itemId = 0;
        record.Insert(submenus[i], position, other.label, false, nullptr, itemId);
        state_.AddCommand(MenuCommand{std::wstring(), itemId, kSubmenus[i].operation, true});
    }
    return record.Answer();
}

STDMETHODIMP ShellCallback::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    if (info == nullptr) return S_OK;
    return GuardCom([&] {
        Dispatch(*info);
        return S_OK;
    });
}

void ShellCallback::Dispatch(const CMINVOKECOMMANDINFO& info) {
    // Verbs named by string are not ours: the handler only knows its items' offsets.
    if (!IS_INTRESOURCE(info.lpVerb)) return;
    UINT offset = LOWORD(reinterpret_cast<ULONG_PTR>(info.lpVerb));
    const MenuCommand* found = state_.FindCommand(state_.commandBase + offset);
    if (found == nullptr) return;  // a submenu item, a placeholder or outside the menu
    // Copies: the picker's message loop may let the shell call this object again.
    MenuCommand command = *found;
    const std::vector<std::wstring> files = state_.selectedFiles;
    const bool isCopy = command.operation == kOperationCopy;
    if (command.picksFolder && !AskForDestination(info.hwnd, files, isCopy, command.directory)) {
        return;  // cancelled
    }
    if (!StartTransfer(info.hwnd, files, command.directory, isCopy)) {
        ReportTransferNotStarted(info.hwnd);
    }
}

STDMETHODIMP ShellCallback::GetCommandString(UINT_PTR offset, UINT type, UINT*, CHAR* buffer,
                                             UINT cchMax) {
    return GuardCom([&] {
        const MenuCommand* command =
            state_.FindCommand(state_.commandBase + static_cast<UINT>(offset));
        return AnswerCommandString(command, type, buffer, cchMax, state_.language);
    });
}
