// installer-probe-for-test: what the installer test cannot see or do from the shell.
//   wait CAPTION      exits 0 once a window with this caption is shown (1 after 30 s)
//   answer CAPTION    presses that window's default button, as Enter would
//   hold PATH FLAG    keeps PATH open without sharing until the file FLAG exists
#include "UiDriver.h"

#include <windows.h>

#include <cstdio>
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

int Hold(const wchar_t* path, const wchar_t* flag) {
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    for (DWORD waited = 0; GetFileAttributesW(flag) == INVALID_FILE_ATTRIBUTES; waited += 50) {
        if (waited > 4 * kTimeoutMs) break;
        Sleep(50);
    }
    CloseHandle(file);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring command = argc > 2 ? argv[1] : L"";
    if (command == L"wait") return WaitForWindow(L"#32770", argv[2], kTimeoutMs) ? 0 : 1;
    if (command == L"answer") return Answer(argv[2]);
    if (command == L"hold" && argc > 3) return Hold(argv[2], argv[3]);
    fwprintf(stderr, L"usage: installer-probe-for-test wait|answer CAPTION | hold PATH FLAG\n");
    return 2;
}
