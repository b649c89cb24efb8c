// The library's outer shell: process attach, the COM exports, the class factories, the entry
// that runs a handed-off transfer and the language the setup asks for. Kept thin: the
// decisions live in ShellCallback, the Windows 11 commands and the plain functions they call.
#include "shellext/entry/ClassFactory.h"
#include "WendriftClassIds.h"
#include "shellext/common/ComBoundary.h"
#include "shellext/entry/CommandFactory.h"
#include "shellext/win11/ExplorerCommand.h"
#include "shellext/entry/ModulePath.h"
#include "shellext/classic/ShellCallback.h"
#include "shellext/handoff/TransferHandOff.h"
#include "store/ShellRegistrar.h"
#include "winframe/Languages.h"
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

STDMETHODIMP CommandFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    ExplorerCommand* command = new (std::nothrow) ExplorerCommand(isCopy_);
    if (command == nullptr) return E_OUTOFMEMORY;
    HRESULT result = command->QueryInterface(iid, out);
    command->Release();  // the creator's reference: what QueryInterface handed out keeps it
    return result;
}

namespace {
CommandFactory copyCommandFactory(true);
CommandFactory moveCommandFactory(false);

bool SameClass(REFCLSID a, const CLSID& b) { return std::memcmp(&a, &b, sizeof(CLSID)) == 0; }
}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (SameClass(clsid, kCopyCommandClassId)) return copyCommandFactory.QueryInterface(iid, out);
    if (SameClass(clsid, kMoveCommandClassId)) return moveCommandFactory.QueryInterface(iid, out);
    if (!SameClass(clsid, kShellCallbackClassId)) return CLASS_E_CLASSNOTAVAILABLE;
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

// rundll32's entry for a transfer handed off by a Windows 11 command: the W form, so the job
// file's path arrives as UTF-16. Returns when the transfer has ended.
extern "C" void CALLBACK RunTransferW(HWND, HINSTANCE, LPWSTR commandLine, int) {
    RunHandedOffTransfer(commandLine);
}

// The language the setup and the uninstaller speak: the one the programs speak to this user
// (the Language value, else the Windows display language), asked of the library so that the
// rule has one owner. A LANGID of the string tables.
extern "C" int __cdecl ChosenLanguageId(void) { return ChosenLanguage(); }
