// Drives the configuration program's dialogs as a user would, from the test thread: the
// dialogs run modally on a UI thread of their own (or in a second process), the test finds their
// windows by caption, types, clicks and answers message boxes. Builds on the shared UiDriver.
#pragma once

#include "UiDriver.h"

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

// Runs `body` (typically a DoModal) on a thread of its own; joined on destruction.
class UiThread {
public:
    explicit UiThread(std::function<void()> body) : thread_(std::move(body)) {}
    ~UiThread() { Join(); }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
};

// A visible dialog-class window with this caption, of this process when `anyProcess` is false.
// Null after `timeoutMs`.
HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs = 5000, bool anyProcess = false);
// True once `window` is gone, false after `timeoutMs`.
inline bool WaitUntilGone(HWND window, DWORD timeoutMs = 5000) {
    return WaitForWindowGone(window, timeoutMs);
}
// True while `window` stays a visible window for `ms` milliseconds.
bool StaysOpen(HWND window, DWORD ms = 300);

inline std::wstring ItemText(HWND dialog, int id) { return ControlText(dialog, id); }
// Clicks a button as the mouse would (BM_CLICK, posted so a modal box it opens cannot block us).
inline void Click(HWND dialog, int id) { ClickButton(dialog, id); }
// Clicks a button whose command opens no window, and returns once the command has run.
void ClickAndWait(HWND dialog, int id);
// Returns once the dialog's thread is back in its message loop, that is once the command it
// was running when this was called has finished (or a modal window of it is up).
void Settle(HWND dialog);
// Replaces an edit box's text; the control reports EN_CHANGE like a keystroke does.
void Type(HWND dialog, int id, const std::wstring& text);
// The Escape key pressed in the dialog (posted to its focused control, or to the dialog).
void PressEscape(HWND dialog);

// A message box seen and answered: its text and owner.
struct MessageBoxSeen {
    bool found = false;
    std::wstring text;
    HWND owner = nullptr;
};
// Waits for the box with `caption`, reads its text, presses `button` (IDOK, IDYES, IDNO) and
// waits until it is gone.
MessageBoxSeen AnswerBox(const wchar_t* caption, int button, DWORD timeoutMs = 5000,
                         bool anyProcess = false);

// The list-view rows of the main dialog: column texts of row `index`.
int ListRowCount(HWND list);
std::wstring ListCell(HWND list, int index, int column);
// Index of the row whose column 0 is `text`, or -1.
int FindListRow(HWND list, const std::wstring& text);
// Selects the row as a click would (focus and selection).
void SelectListRow(HWND list, int index);

// Text lines of a list box.
int ListBoxCount(HWND listBox);
std::wstring ListBoxLine(HWND listBox, int index);
void SelectListBoxLine(HWND listBox, int index);
