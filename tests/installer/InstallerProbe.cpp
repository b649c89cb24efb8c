// installer-probe-for-test: what the installer test cannot see or do from the shell.
//   wait CAPTION            exits 0 once a window with this caption is shown (1 after 30 s)
//   answer CAPTION          presses that window's default button, as Enter would
//   hold PATH READY RELEASE keeps PATH open without sharing, creates READY once it has it, and
//                           lets go when the file RELEASE exists
//   run FILE                runs the command line FILE holds (UTF-8, exactly as written: wine
//                           would quote an argument with spaces, and the locale may not carry
//                           every character) and exits with its exit code
//   pages FILE OUT          starts the setup or the uninstaller FILE names (as run does), notes
//                           its window's caption and the text of its forward button, presses it,
//                           notes the message that comes and answers it, then closes the window
//                           (Cancel, or Close once it has done its work); writes the notes to OUT
//                           (UTF-8, "caption: ", "button: ", "message: " lines)
// Copied as powershell.exe or regsvr32.exe, it stands in for that program: it appends its own
// command line (UTF-8) to commands.txt beside itself and answers 0 (as Wine's PowerShell stub
// does; regsvr32 for an ARM64 library, which Wine cannot load).
#include "UiDriver.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 30000;

int Answer(const wchar_t* caption) {
    HWND dialog = WaitForWindow(L"#32770", caption, kTimeoutMs);
    if (dialog == nullptr) return 1;
    LRESULT id = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(id) != DC_HASDEFID) return 1;
    PostCommand(dialog, LOWORD(id));
    return WaitForWindowGone(dialog, kTimeoutMs) ? 0 : 1;
}

int Hold(const wchar_t* path, const wchar_t* ready, const wchar_t* release) {
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    HANDLE signal = CreateFileW(ready, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (signal != INVALID_HANDLE_VALUE) CloseHandle(signal);
    for (DWORD waited = 0; GetFileAttributesW(release) == INVALID_FILE_ATTRIBUTES; waited += 50) {
        if (waited > 4 * kTimeoutMs) break;
        Sleep(50);
    }
    CloseHandle(file);
    return 0;
}

bool Start(const wchar_t* path, PROCESS_INFORMATION& process) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char bytes[4096] = {};
    DWORD read = 0;
    ReadFile(file, bytes, sizeof(bytes) - 1, &read, nullptr);
    CloseHandle(file);
    std::string text(bytes, read);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::wstring command(text.size() + 1, L'\0');
    command.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       &command[0], static_cast<int>(command.size())));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process) != FALSE;
}

int Run(const wchar_t* path) {
    PROCESS_INFORMATION process = {};
    if (!Start(path, process)) return 255;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 255;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// A visible dialog of any process that `wanted` accepts, once there is one.
HWND WaitForDialog(const std::function<bool(HWND)>& wanted) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (found = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); found != nullptr;
             found = FindWindowExW(nullptr, found, L"#32770", nullptr)) {
            if (IsWindowVisible(found) && wanted(found)) return true;
        }
        return false;
    }, kTimeoutMs);
    return found;
}

bool AppendUtf8(const std::wstring& path, const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

int Pages(const wchar_t* commandFile, const wchar_t* outFile) {
    PROCESS_INFORMATION process = {};
    if (!Start(commandFile, process)) return 255;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // The uninstaller goes on in a copy of itself: the window is found by what it shows.
    HWND main = WaitForDialog([](HWND window) {
        return GetDlgItem(window, IDOK) != nullptr &&
               WindowText(window).find(L"Wendrift") != std::wstring::npos;
    });
    if (main == nullptr) return 1;
    DWORD owner = 0;
    GetWindowThreadProcessId(main, &owner);
    std::wstring notes =
        L"caption: " + WindowText(main) + L"\nbutton: " + ControlText(main, IDOK) + L"\n";
    ClickButton(main, IDOK);
    HWND box = WaitForDialog([&](HWND window) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        return window != main && process == owner && GetDlgItem(window, 0xFFFF) != nullptr;
    });
    if (box != nullptr) {
        notes += L"message: " + MessageBoxText(box) + L"\n";
        PostCommand(box, IDOK);
        WaitForWindowGone(box, kTimeoutMs);
    }
    // Cancel while a page offers it; Close once the work is done and Cancel greyed.
    bool closed = WaitUntil([&] {
        int id = IsWindowEnabled(GetDlgItem(main, IDCANCEL)) ? IDCANCEL : IDOK;
        if (IsWindowEnabled(GetDlgItem(main, id))) ClickButton(main, id);
        return WaitForWindowGone(main, 500);
    }, kTimeoutMs);
    return AppendUtf8(outFile, notes) && box != nullptr && closed ? 0 : 1;
}

int RecordCommandLine(const std::wstring& self) {
    std::wstring log = self.substr(0, self.find_last_of(L'\\') + 1) + L"commands.txt";
    return AppendUtf8(log, std::wstring(GetCommandLineW()) + L"\n") ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring own = self;
    const std::wstring name = own.substr(own.find_last_of(L'\\') + 1);
    if (_wcsicmp(name.c_str(), L"powershell.exe") == 0 || _wcsicmp(name.c_str(), L"regsvr32.exe") == 0) {
        return RecordCommandLine(own);
    }
    std::wstring command = argc > 2 ? argv[1] : L"";
    if (command == L"wait") return WaitForWindow(L"#32770", argv[2], kTimeoutMs) ? 0 : 1;
    if (command == L"answer") return Answer(argv[2]);
    if (command == L"hold" && argc > 4) return Hold(argv[2], argv[3], argv[4]);
    if (command == L"run") return Run(argv[2]);
    if (command == L"pages" && argc > 3) return Pages(argv[2], argv[3]);
    fwprintf(stderr, L"usage: installer-probe-for-test wait|answer CAPTION | hold PATH READY RELEASE"
                     L" | run FILE | pages FILE OUT\n");
    return 2;
}
