// One entry of the Windows 11 first right-click menu, "Copy To" or "Move To", with a flyout of
// the folders the classic submenu lists. The package declares it twice, under one class
// identifier per operation (a verb gives one entry, and Explorer shows no flyout inside a
// flyout). GetState decides on every right-click whether the entry shows; the flyout is the one
// of the extension that GetState last saw, since EnumSubCommands is not handed the selection.
#pragma once

#include "shellext/win11/CommandBase.h"
#include "shellext/win11/ParentFolder.h"

#include <windows.h>
#include <shobjidl.h>

#include <string>

class ExplorerCommand final : public CommandBase {
public:
    explicit ExplorerCommand(bool isCopy) : isCopy_(isCopy) {}

    STDMETHODIMP GetTitle(IShellItemArray* items, LPWSTR* name) override;
    STDMETHODIMP GetIcon(IShellItemArray* items, LPWSTR* icon) override;
    STDMETHODIMP GetCanonicalName(GUID* name) override;
    STDMETHODIMP GetState(IShellItemArray* items, BOOL okToBeSlow, EXPCMDSTATE* state) override;
    // Invoke stays the base's: the entry only opens its flyout, the folders carry the work.
    STDMETHODIMP GetFlags(EXPCMDFLAGS* flags) override;
    STDMETHODIMP EnumSubCommands(IEnumExplorerCommand** commands) override;

private:
    bool isCopy_;
    std::wstring extension_;  // of the selection GetState last showed the entry for
    ParentFolder folder_;     // the folder of the last selection, kept for the next right-click
};
