// wendrift-shellhost: does what the file manager does for one right-click on some files, so the
// context-menu handler can be seen and driven without a shell that loads handlers (Wine's
// does not). Finds the handlers registered for the first file's type, creates each through
// COM, hands it the shell's data object for the selection, lets it add to a real popup menu and
// prints that menu. With --invoke it then picks one item and waits for the transfer to end.
#include "tools/shellhost/HandlerLookup.h"
#include "tools/shellhost/MenuTree.h"
#include "tools/shellhost/ProcessThreads.h"
#include "tools/shellhost/ShellSelection.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <set>
#include <string>
#include <vector>

namespace {

const wchar_t kUsage[] =
    L"usage: wendrift-shellhost [--invoke LABELS] [--timeout SECONDS] FILE...\n"
    L"\n"
    L"Shows the context menu items that the registered handlers add for FILE... (Windows\n"
    L"paths, all in one folder), as the shell would: the handlers come from\n"
    L"HKCR\\<ext> -> file type -> shellex\\ContextMenuHandlers, are created with\n"
    L"CoCreateInstance, initialised with the shell's own data object and asked to fill a\n"
    L"popup menu, which is printed as a tree (label, identifier, greyed state).\n"
    L"\n"
    L"  --invoke LABELS   then pick the item reached through LABELS, separated by '/'; a label\n"
    L"                    matches an item's text up to its tab, or its whole text, for example\n"
    L"                    --invoke \"Cop&y To/&1.\"  It waits, pumping messages, until the\n"
    L"                    threads the command started have ended.\n"
    L"  --timeout SECONDS how long to wait for them (default 120)\n"
    L"  --help            this text\n"
    L"\n"
    L"Exit code 0 on success; 1 when a file, handler or item is not found or a call fails;\n"
    L"2 for a wrong command line; 3 when the started threads outlive the timeout.\n";

void Write(FILE* stream, const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], bytes,
                        nullptr, nullptr);
    fwrite(utf8.data(), 1, utf8.size(), stream);
    fflush(stream);
}

int Fail(const std::wstring& message, int code = 1) {
    Write(stderr, L"wendrift-shellhost: " + message + L"\n");
    return code;
}

std::wstring Hex(HRESULT hr) {
    wchar_t text[16];
    _snwprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    text[15] = L'\0';
    return text;
}

void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

// Keeps the process pumping until no thread started since `before` is left (seen twice in a
// row, so a thread that starts its successor just before ending is not missed).
bool WaitForStartedThreads(const std::set<DWORD>& before, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    int quiet = 0;
    while (GetTickCount() - start < timeoutMs) {
        PumpFor(50);
        bool any = false;
        for (DWORD id : ThreadsOfThisProcess()) {
            if (before.count(id) == 0) any = true;
        }
        quiet = any ? 0 : quiet + 1;
        if (quiet >= 2) return true;
    }
    return false;
}

struct LoadedHandler {
    HandlerEntry entry;
    IContextMenu* menu = nullptr;
    UINT firstId = 0;
    UINT count = 0;  // identifiers reserved by its QueryContextMenu
};

int Run(int argc, wchar_t** argv) {
    std::wstring invoke;
    bool invoking = false;
    DWORD timeoutMs = 120000;
    std::vector<std::wstring> paths;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        if (arg == L"--help" || arg == L"-h" || arg == L"/?") {
            Write(stdout, kUsage);
            return 0;
        } else if (arg == L"--invoke" && i + 1 < argc) {
            invoke = argv[++i];
            invoking = true;
        } else if (arg == L"--timeout" && i + 1 < argc) {
            timeoutMs = static_cast<DWORD>(_wtoi(argv[++i])) * 1000;
        } else if (arg.size() > 1 && arg[0] == L'-' && arg[1] == L'-') {
            Write(stderr, kUsage);
            return Fail(L"unknown or incomplete option " + arg, 2);
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty()) {
        Write(stderr, kUsage);
        return Fail(L"no files given", 2);
    }

    HandlerLookup lookup = FindContextMenuHandlers(paths.front());
    if (lookup.handlers.empty()) return Fail(L"no context-menu handler: " + lookup.problem);

    ShellSelection selection;
    if (!selection.Create(paths)) return Fail(selection.Problem());

    HKEY typeKey = nullptr;
    RegOpenKeyExW(HKEY_CLASSES_ROOT, lookup.fileType.c_str(), 0, KEY_READ, &typeKey);
    HMENU popup = CreatePopupMenu();
    std::vector<LoadedHandler> loaded;
    UINT nextId = 1;
    const UINT lastId = 0x7FFF;
    for (const HandlerEntry& entry : lookup.handlers) {
        std::wstring who = L"handler \"" + entry.name + L"\" " + entry.classText;
        IShellExtInit* init = nullptr;
        HRESULT hr = CoCreateInstance(entry.classId, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellExtInit, reinterpret_cast<void**>(&init));
        if (FAILED(hr)) {
            Write(stdout, who + L": CoCreateInstance answered " + Hex(hr) + L"\n");
            continue;
        }
        hr = init->Initialize(selection.FolderId(), selection.DataObject(), typeKey);
        if (FAILED(hr)) {
            Write(stdout, who + L": Initialize answered " + Hex(hr) + L"\n");
            init->Release();
            continue;
        }
        LoadedHandler handler;
        handler.entry = entry;
        hr = init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&handler.menu));
        init->Release();
        if (FAILED(hr)) {
            Write(stdout, who + L": no IContextMenu (" + Hex(hr) + L")\n");
            continue;
        }
        handler.firstId = nextId;
        UINT index = static_cast<UINT>(GetMenuItemCount(popup));
        hr = handler.menu->QueryContextMenu(popup, index, nextId, lastId, CMF_NORMAL);
        if (FAILED(hr)) {
            Write(stdout, who + L": QueryContextMenu answered " + Hex(hr) + L", nothing added\n");
            handler.menu->Release();
            continue;
        }
        handler.count = HRESULT_CODE(hr);
        Write(stdout, who + L": QueryContextMenu answered " + std::to_wstring(handler.count) +
                          L" (identifiers from " + std::to_wstring(nextId) + L")\n");
        nextId += handler.count;
        loaded.push_back(handler);
    }
    if (typeKey != nullptr) RegCloseKey(typeKey);

    std::vector<MenuNode> tree = ReadMenu(popup);
    Write(stdout, DescribeMenu(tree));

    int code = 0;
    if (invoking) {
        const MenuNode* item = FindMenuItem(tree, invoke);
        const LoadedHandler* owner = nullptr;
        if (item != nullptr) {
            for (const LoadedHandler& handler : loaded) {
                if (item->id >= handler.firstId && item->id < handler.firstId + handler.count) {
                    owner = &handler;
                }
            }
        }
        if (item == nullptr) {
            code = Fail(L"no menu item \"" + invoke + L"\"");
        } else if (item->hasSubmenu) {
            code = Fail(L"\"" + invoke + L"\" opens a submenu; name an item inside it");
        } else if (owner == nullptr) {
            code = Fail(L"no handler owns identifier " + std::to_wstring(item->id));
        } else {
            UINT offset = item->id - owner->firstId;
            std::vector<DWORD> threads = ThreadsOfThisProcess();
            std::set<DWORD> before(threads.begin(), threads.end());
            CMINVOKECOMMANDINFO info = {};
            info.cbSize = sizeof(info);
            info.lpVerb = MAKEINTRESOURCEA(offset);
            info.nShow = SW_SHOWNORMAL;
            HRESULT hr = owner->menu->InvokeCommand(&info);
            Write(stdout, L"InvokeCommand(offset " + std::to_wstring(offset) + L") answered " +
                              Hex(hr) + L"\n");
            if (FAILED(hr)) {
                code = 1;
            } else if (!WaitForStartedThreads(before, timeoutMs)) {
                code = Fail(L"the threads started by the command were still running after the "
                            L"timeout", 3);
            } else {
                Write(stdout, L"The threads started by the command have ended.\n");
            }
        }
    }
    for (LoadedHandler& handler : loaded) handler.menu->Release();
    DestroyMenu(popup);
    return code;
}

}  // namespace

int main() {
    // Plain "\n" line ends, as on the Linux side that usually reads this output.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr) return Fail(L"cannot read the command line", 2);
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) return Fail(L"CoInitializeEx answered " + Hex(hr));
    int code = Run(argc, argv);
    CoUninitialize();
    LocalFree(argv);
    return code;
}
