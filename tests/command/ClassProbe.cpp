// class-probe <library> <class id>...: creates each class as a packaged COM surrogate does (the
// library loaded by path, its DllGetClassObject asked for the class factory, an
// IExplorerCommand made from it) and prints one line per class: "<id> <title>" when the command
// exists, "<id> failed 0x<HRESULT>" when not. Exit code 0 only when every class was created.
#include <windows.h>
#include <shobjidl.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: class-probe <library> <class id>...\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    HMODULE library = LoadLibraryW(argv[1]);
    auto getClassObject = library == nullptr ? nullptr
        : reinterpret_cast<GetClassObject>(
              reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    if (getClassObject == nullptr) {
        fprintf(stderr, "no DllGetClassObject in %ls\n", argv[1]);
        return 1;
    }
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
        if (SUCCEEDED(hr)) {
            printf("%ls %ls\n", argv[i], title);
        } else {
            printf("%ls failed 0x%08lX\n", argv[i], static_cast<unsigned long>(hr));
            ++failures;
        }
        CoTaskMemFree(title);
        if (command != nullptr) command->Release();
        if (factory != nullptr) factory->Release();
    }
    return failures == 0 ? 0 : 1;
}
