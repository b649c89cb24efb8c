// class-probe <library> <class id>...: creates each class as a packaged COM surrogate does (the
// library loaded by path, its DllGetClassObject, an IExplorerCommand from the factory) and
// prints "<id> <title>", or "<id> failed 0x<HRESULT>". Exit code 0 when every class was made.
#include <windows.h>
#include <shobjidl.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HMODULE library = LoadLibraryW(argc > 1 ? argv[1] : L"");
    auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    if (library == nullptr || getClassObject == nullptr) return 2;
    int failures = 0;
    for (int i = 2; i < argc; ++i) {
        wchar_t braced[64];
        _snwprintf(braced, 64, L"{%ls}", argv[i]);
        CLSID classId = {};
        IClassFactory* factory = nullptr;
        IExplorerCommand* command = nullptr;
        LPWSTR title = nullptr;
        HRESULT hr = CLSIDFromString(braced, &classId);
        if (SUCCEEDED(hr)) hr = getClassObject(classId, IID_IClassFactory, reinterpret_cast<void**>(&factory));
        if (SUCCEEDED(hr)) hr = factory->CreateInstance(nullptr, IID_IExplorerCommand, reinterpret_cast<void**>(&command));
        if (SUCCEEDED(hr)) hr = command->GetTitle(nullptr, &title);
        if (SUCCEEDED(hr)) printf("%ls %ls\n", argv[i], title);
        else printf("%ls failed 0x%08lX\n", argv[i], static_cast<unsigned long>(hr));
        failures += FAILED(hr);
        CoTaskMemFree(title);
        if (command != nullptr) command->Release();
    }
    return failures == 0 ? 0 : 1;
}
