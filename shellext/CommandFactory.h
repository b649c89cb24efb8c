// Hands out the Windows 11 commands, one factory per operation. Like ClassFactory it keeps no
// count: the two factories are static and live as long as the library.
#pragma once

#include <windows.h>
#include <unknwn.h>

class CommandFactory : public IClassFactory {
public:
    explicit CommandFactory(bool isCopy) : isCopy_(isCopy) {}
    CommandFactory(const CommandFactory&) = delete;
    CommandFactory& operator=(const CommandFactory&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    bool isCopy_;
};
