// What a Windows 11 command answers unless it says otherwise: no icon, tooltip, canonical name,
// work of its own or flyout, and no flags. Each command gives at least its title and state.
#pragma once

#include "shellext/win11/CountedObject.h"

#include <windows.h>
#include <shobjidl.h>

class CommandBase : public CountedObject<IExplorerCommand, IID_IExplorerCommand> {
public:
    STDMETHODIMP GetIcon(IShellItemArray*, LPWSTR* icon) override {
        if (icon != nullptr) *icon = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetToolTip(IShellItemArray*, LPWSTR* tip) override {
        if (tip != nullptr) *tip = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetCanonicalName(GUID* name) override {
        if (name != nullptr) *name = GUID_NULL;
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(IShellItemArray*, IBindCtx*) override { return E_NOTIMPL; }
    STDMETHODIMP GetFlags(EXPCMDFLAGS* flags) override {
        if (flags == nullptr) return E_POINTER;
        *flags = ECF_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP EnumSubCommands(IEnumExplorerCommand** commands) override {
        if (commands != nullptr) *commands = nullptr;
        return E_NOTIMPL;
    }
};
