// One item of a Windows 11 flyout: a numbered destination folder, the greyed
// "<no directories>", or "&Other folder..." after a separator. Invoking a folder hands the whole
// selection to a transfer of its own; "&Other folder..." hands it over without a destination,
// and the transfer's process asks for one.
#pragma once

#include "shellext/win11/CommandBase.h"
#include "shellext/common/MenuPlan.h"

#include <windows.h>
#include <shobjidl.h>

class FolderCommand final : public CommandBase {
public:
    // A greyed item (the placeholder has no directory) shows disabled and does nothing.
    FolderCommand(const PlannedItem& item, bool isCopy) : item_(item), isCopy_(isCopy) {}

    STDMETHODIMP GetTitle(IShellItemArray* items, LPWSTR* name) override;
    STDMETHODIMP GetState(IShellItemArray* items, BOOL okToBeSlow, EXPCMDSTATE* state) override;
    STDMETHODIMP Invoke(IShellItemArray* items, IBindCtx* context) override;
    STDMETHODIMP GetFlags(EXPCMDFLAGS* flags) override;

private:
    bool Enabled() const {
        return !item_.greyed && (!item_.directory.empty() || item_.picksFolder);
    }

    PlannedItem item_;
    bool isCopy_;
};
