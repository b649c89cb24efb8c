// The library's outer shell: process attach, the COM exports and the class factory. Kept thin:
// the decisions live in ShellCallback and the plain functions it calls.
#include "shellext/ClassFactory.h"
#include "shellext/ClassId.h"
#include "shellext/ComBoundary.h"
#include "shellext/ModulePath.h"
#include "shellext/ShellCallback.h"
#include "store/ShellRegistrar.h"
#include "winframe/LibraryContext.h"

#include <commctrl.h>

#include <cstring>
#include <new>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetLibraryModule(module);
        InitCommonControls();
        DisableThreadLibraryCalls(module);
    }
    return TRUE;
}

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *out = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef() { return 2; }

STDMETHODIMP_(ULONG) ClassFactory::Release() { return 1; }

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return GuardCom([&] {
        ShellCallback* object = new ShellCallback();
        HRESULT result = object->QueryInterface(iid, out);
        if (FAILED(result)) delete object;  // nobody else holds it
        return result;
    });
}

STDMETHODIMP ClassFactory::LockServer(BOOL) { return S_OK; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (std::memcmp(&clsid, &kShellCallbackClassId, sizeof(CLSID)) != 0) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    ClassFactory* factory = new (std::nothrow) ClassFactory();
    if (factory == nullptr) return E_OUTOFMEMORY;
    HRESULT result = factory->QueryInterface(iid, out);
    if (FAILED(result)) {
        delete factory;
        return result;
    }
    return S_OK;
}

// Never unloaded: factories and handlers stay allocated for the life of the process.
STDAPI DllCanUnloadNow() { return S_FALSE; }

STDAPI DllRegisterServer() {
    return GuardCom([] {
        wchar_t path[MAX_PATH];
        if (!ModulePath(path)) return E_FAIL;
        return SUCCEEDED(RegisterServer(path, true)) ? S_OK : E_FAIL;
    });
}

STDAPI DllUnregisterServer() {
    return GuardCom([] {
        wchar_t path[MAX_PATH];
        if (!ModulePath(path)) return E_FAIL;
        return SUCCEEDED(RegisterServer(path, false)) ? S_OK : E_FAIL;
    });
}
