#include "shellext/win11/FolderCommand.h"

#include "shellext/common/ComBoundary.h"
#include "shellext/win11/ShellItems.h"
#include "shellext/common/TransferFailure.h"
#include "shellext/handoff/TransferHandOff.h"

#include <shlwapi.h>

#include <string>
#include <vector>

STDMETHODIMP FolderCommand::GetTitle(IShellItemArray*, LPWSTR* name) {
    if (name == nullptr) return E_POINTER;
    return SHStrDupW(item_.label.c_str(), name);
}

STDMETHODIMP FolderCommand::GetState(IShellItemArray*, BOOL, EXPCMDSTATE* state) {
    if (state == nullptr) return E_POINTER;
    *state = Enabled() ? ECS_ENABLED : ECS_DISABLED;
    return S_OK;
}

STDMETHODIMP FolderCommand::GetFlags(EXPCMDFLAGS* flags) {
    if (flags == nullptr) return E_POINTER;
    *flags = item_.picksFolder ? ECF_SEPARATORBEFORE : ECF_DEFAULT;
    return S_OK;
}

STDMETHODIMP FolderCommand::Invoke(IShellItemArray* items, IBindCtx*) {
    if (!Enabled()) return S_OK;
    return GuardCom([&] {
        std::vector<std::wstring> paths;
        // The same selection GetState showed the entry for; anything else starts nothing.
        if (!ReadItemPaths(items, paths) || paths.empty() || !AllFileItems(items)) return S_OK;
        // "&Other folder..." has no directory: the job then asks for one.
        if (!HandOffTransfer(paths, item_.directory, isCopy_, SystemRundll32())) {
            ReportTransferNotStarted(nullptr);
        }
        return S_OK;
    });
}
