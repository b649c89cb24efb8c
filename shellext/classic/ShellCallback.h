// The context-menu handler the shell creates per right-click: IShellExtInit receives the
// selection, IContextMenu adds "Cop&y To" and "&Move To", answers help texts and starts the
// picked transfer. One object, two interface tables; its identity is the IShellExtInit one.
// It keeps no reference count: AddRef answers 2, Release answers 1 and never frees, since the
// library stays loaded for the life of the process.
#pragma once

#include "shellext/classic/SelectionState.h"

#include <windows.h>
#include <shlobj.h>

class ShellCallback final : public IShellExtInit, public IContextMenu {
public:
    ShellCallback();
    ~ShellCallback() = default;
    ShellCallback(const ShellCallback&) = delete;
    ShellCallback& operator=(const ShellCallback&) = delete;

    // IUnknown, shared by both tables.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY typeKey) override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                  UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR offset, UINT type, UINT* reserved, CHAR* buffer,
                                  UINT cchMax) override;

    bool AllSameExtension() const;
    const SelectionState& Selection() const { return state_; }

private:
    HRESULT ReadSelection(IDataObject* data);
    HRESULT BuildMenus(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast, UINT flags);
    void Dispatch(const CMINVOKECOMMANDINFO& info);

    SelectionState state_;
};
