// Driving real windows from a test thread as a user would: wait for a window, read its texts,
// press its buttons, answer message boxes, take a screenshot, and never hang the test run.
//
// Typical use: the test thread runs the modal code under test while a std::thread drives it:
//     std::thread user([] { EXPECT_EQ(AnswerMessageBox(L"WendriftConfig : ERROR", IDOK, 5000),
//                                     L"expected text"); });
//     RunTheDialog();
//     user.join();
// Waits poll about every 20 ms and give up after their timeout; nothing here throws.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Polling interval of every Wait function.
constexpr DWORD kUiPollMs = 20;

// A top-level window with this class (null: any) and exactly this caption (null: any). Only
// visible windows count unless `visibleOnly` is false: a dialog becomes visible once its
// WM_INITDIALOG has run, so its controls are filled in by then. Null after the timeout.
HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs,
                   bool visibleOnly = true);
// As WaitForWindow, with a caption that starts with `captionPrefix`.
HWND WaitForWindowPrefix(const wchar_t* className, const wchar_t* captionPrefix,
                         DWORD timeoutMs, bool visibleOnly = true);
// As WaitForWindow, among the top-level windows of one thread (for instance a transfer's UI
// thread) or one process only.
HWND WaitForThreadWindow(DWORD threadId, const wchar_t* className, const wchar_t* caption,
                         DWORD timeoutMs, bool visibleOnly = true);
HWND WaitForProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                          DWORD timeoutMs, bool visibleOnly = true);

// True once `window` no longer exists (or is null); false after the timeout.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);
// True once no top-level window with this class and caption exists (visible or not).
bool WaitForNoWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs);
// True as soon as `condition` holds; false after the timeout.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Texts, read with WM_GETTEXT and a timeout, so a window of a busy thread cannot block the
// driver. Empty for a missing window.
std::wstring WindowText(HWND window);
std::wstring ControlText(HWND dialog, int id);
// The message text of a standard message box.
std::wstring MessageBoxText(HWND box);

// Presses a button as a click would: BM_CLICK is posted, so the driver goes on while the
// button's action runs (and perhaps opens a modal window of its own).
void ClickButton(HWND dialog, int id);
// Posts WM_COMMAND(id, BN_CLICKED) to the dialog directly: for a button that cannot take a
// click, for instance while its dialog is disabled by a modal child.
void PostCommand(HWND dialog, int id);

// Waits for a message box ("#32770") with exactly this caption, reads its text, answers it
// with `buttonId` (IDOK, IDYES, IDNO, IDCANCEL...), waits until it has closed and returns the
// text. Empty when no such box appeared within the timeout.
std::wstring AnswerMessageBox(const wchar_t* caption, int buttonId, DWORD timeoutMs);

// A screenshot of the window as it is on the screen, written as a PNG file (Windows path).
bool SaveWindowPng(HWND window, const std::wstring& path);
// The same for an area of the screen (several windows, such as a menu and its open submenu).
bool SaveScreenAreaPng(const RECT& area, const std::wstring& path);

// Ends the whole process with a message on stderr when it is still alive after `seconds`, so
// a dialog nobody answers fails the test instead of hanging the run. Disarmed on destruction.
class Watchdog {
public:
    explicit Watchdog(DWORD seconds, const std::string& what = std::string());
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static DWORD WINAPI Run(void* self);

    HANDLE disarmed_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD seconds_;
    std::string what_;
};

// A Unix path as Wine sees it: Z: is the Unix root (/tmp/a b -> Z:\tmp\a b). A path that does
// not start with '/' only has its slashes turned round. UTF-8 in, UTF-16 out.
std::wstring UnixToWindowsPath(const std::string& path);
// The build folder (environment WENDRIFT_BUILD_DIR, a Unix path) as a Windows path without a
// trailing backslash; empty when the variable is not set.
std::wstring BuildDir();
// The build tree whose Wendrift.dll (shellext\) and WendriftConfig.exe (config\) the tests
// run: WENDRIFT_PRODUCT_DIR when set (a Unix path: the Zig compiler's x64 build), else BuildDir().
std::wstring ProductDir();
