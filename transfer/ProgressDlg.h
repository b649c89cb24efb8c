// The modeless progress dialog of one transfer. It belongs to the transfer's UI thread; the
// worker feeds it through the Show operations (SetWindowTextW / SendMessageW, serviced by the UI
// thread's loop) and ends it with Finish.
#pragma once

#include "winframe/BaseDialog.h"
#include "winframe/BaseWindow.h"

#include <string>

class NamedMutex;

class ProgressDlg : public BaseDialog {
public:
    ~ProgressDlg() override;

    int OnCreate(WPARAM wParam, LPARAM lParam) override;
    // Cancel (1007) sets the cancel flag under the mutex and disables itself. IDCANCEL, which
    // Esc and the close box send, is ignored: the transfer goes on.
    int OnCommand(WPARAM wParam, LPARAM lParam) override;

    void ShowOverall(int percent, const std::wstring& text);
    void ShowCurrent(int percent, const std::wstring& text);
    void ShowRate(const std::wstring& text);
    // "Elapsed Time: hh:mm:ss"; hours are not wrapped at 24.
    void ShowElapsed(DWORD milliseconds);
    // Ends the dialog and the message loop of the thread that created it (exit code 0).
    void Finish();

    BaseWindow overallText;
    BaseWindow overallBar;
    BaseWindow currentText;
    BaseWindow currentBar;
    BaseWindow elapsedText;
    BaseWindow rateText;
    // Null until the worker connects its flag (under the mutex): a Cancel click before that is
    // ignored.
    BOOL* cancelFlag = nullptr;
    NamedMutex* mutex = nullptr;

private:
    // Only the worker's thread calls these, so what was last shown needs no lock.
    void ShowText(BaseWindow& control, std::wstring& shown, const std::wstring& text);
    void ShowPosition(BaseWindow& bar, int& shown, int percent);

    DWORD uiThreadId_ = 0;
    // What the Show operations last put on screen: the texts start empty, as the dialog
    // template has them; the bars' first position is always sent.
    std::wstring shownOverallText_, shownCurrentText_, shownRateText_, shownElapsedText_;
    int shownOverallPercent_ = -1, shownCurrentPercent_ = -1;
};
