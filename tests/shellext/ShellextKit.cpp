#include "ShellextKit.h"

#include "UiDriver.h"

#include <shellapi.h>
#include "tools/shellhost/MenuTree.h"
#include "tools/shellhost/ProcessThreads.h"

#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

// The menu loop tells its owner when it is idle, every menu window painted, and which one is
// current.
std::atomic<HWND> gIdleMenu{nullptr};
WNDPROC gOwnerProc = nullptr;
LRESULT CALLBACK NoteIdleMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU) gIdleMenu = reinterpret_cast<HWND>(lParam);
    return CallWindowProcW(gOwnerProc, window, message, wParam, lParam);
}

}  // namespace

namespace shellkit {

std::wstring LibraryPath() { return ProductDir() + L"\\shellext\\Wendrift.dll"; }

std::wstring ShellHostPath() { return UnixToWindowsPath(WENDRIFT_SHELLHOST_PATH); }

int Run(const std::wstring& commandLine, DWORD timeoutMs, std::string* output) {
    wchar_t temp[MAX_PATH] = {}, file[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    GetTempFileNameW(temp, L"wdo", 0, file);
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE out = CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION process = {};
    std::wstring line = commandLine;
    int code = -1;
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
        if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            DWORD exitCode = 0;
            GetExitCodeProcess(process.hProcess, &exitCode);
            code = static_cast<int>(exitCode);
        } else {
            TerminateProcess(process.hProcess, 99);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    if (output != nullptr) {
        std::ifstream in(file, std::ios::binary);
        output->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    DeleteFileW(file);
    return code;
}

int Regsvr32(const std::wstring& switches) {
    return Run(L"C:\\windows\\system32\\regsvr32.exe " + switches + L" \"" + LibraryPath() + L"\"",
               30000);
}

FARPROC Export(const char* name) {
    static HMODULE library = LoadLibraryW(LibraryPath().c_str());
    return library != nullptr ? GetProcAddress(library, name) : nullptr;
}

ScratchFolder::ScratchFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"wd shellext " + name;
    Remove();
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { Remove(); }

void ScratchFolder::Remove() const {
    // SHFileOperationW wants a double-null-terminated list.
    std::wstring from = path_ + L'\0';
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

std::wstring ScratchFolder::File(const std::wstring& name, size_t bytes) const {
    std::wstring path = path_ + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string data(bytes, 'w');
    DWORD written = 0;
    if (bytes != 0) WriteFile(file, data.data(), static_cast<DWORD>(bytes), &written, nullptr);
    CloseHandle(file);
    return path;
}

std::wstring ScratchFolder::Folder(const std::wstring& name) const {
    std::wstring path = path_ + L"\\" + name;
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

BlockDataObject::BlockDataObject(CLIPFORMAT format, std::vector<BYTE> block, bool asStream)
    : format_(format), block_(std::move(block)), asStream_(asStream) {}

STDMETHODIMP BlockDataObject::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
        *out = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BlockDataObject::AddRef() { return static_cast<ULONG>(++references_); }

STDMETHODIMP_(ULONG) BlockDataObject::Release() { return static_cast<ULONG>(--references_); }

STDMETHODIMP BlockDataObject::QueryGetData(FORMATETC* format) {
    return format != nullptr && format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL)
               ? S_OK
               : DV_E_FORMATETC;
}

STDMETHODIMP BlockDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, block_.size());
    std::memcpy(GlobalLock(memory), block_.data(), block_.size());
    GlobalUnlock(memory);
    medium->pUnkForRelease = nullptr;
    if (asStream_) {
        medium->tymed = TYMED_ISTREAM;
        return CreateStreamOnHGlobal(memory, TRUE, &medium->pstm);
    }
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    return S_OK;
}

std::vector<BYTE> WideDropBlock(const std::vector<std::wstring>& paths) {
    std::vector<BYTE> block(sizeof(DROPFILES), 0);
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof(header));
    for (const std::wstring& path : paths) {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(path.c_str());
        block.insert(block.end(), bytes, bytes + (path.size() + 1) * sizeof(wchar_t));
    }
    block.push_back(0);
    block.push_back(0);
    return block;
}

std::vector<DWORD> Threads() { return ThreadsOfThisProcess(); }

std::vector<std::wstring> ShowWithSubmenuOpen(HMENU menu, wchar_t key, const std::wstring& path) {
    Watchdog guard(30, "a menu nobody closed");
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 40, 40, 1, 1, nullptr,
                                 nullptr, nullptr, nullptr);
    gIdleMenu = nullptr;
    gOwnerProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoteIdleMenu)));
    std::vector<std::wstring> lines;
    std::thread user([&] {
        HWND top = WaitForWindow(L"#32768", nullptr, 5000), sub = nullptr;
        // The menu loop takes keys posted to its owner.
        PostMessageW(owner, WM_CHAR, key, 0);
        if (WaitUntil([&] { return (sub = gIdleMenu) != top && IsWindowVisible(sub); }, 5000)) {
            RECT both, a, b;
            GetWindowRect(top, &a);
            GetWindowRect(sub, &b);
            UnionRect(&both, &a, &b);
            HMENU shown = reinterpret_cast<HMENU>(SendMessageW(sub, MN_GETHMENU, 0, 0));
            if (SaveScreenAreaPng(both, path)) {
                for (const MenuNode& node : ReadMenu(shown)) {
                    lines.push_back(node.separator ? L"----" : node.label);
                }
            }
        }
        PostMessageW(owner, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(owner, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, 40, 40, 0, owner, nullptr);
    user.join();
    DestroyWindow(owner);
    return lines;
}

}  // namespace shellkit
