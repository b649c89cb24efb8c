// One item of a Windows 11 flyout: a numbered destination folder, or the greyed
// "<no directories>". Invoking a folder hands the whole selection to a transfer of its own.
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

private:
    bool Enabled() const { return !item_.greyed && !item_.directory.empty(); }

    PlannedItem item_;
    bool isCopy_;
};
