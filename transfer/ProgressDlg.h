// The modeless progress dialog of one transfer. It belongs to the transfer's UI thread: on a
// timer it paints what the worker publishes in the transfer's ProgressState, and it closes
// itself once the worker says it is done. The worker never waits for it. It is created with its
// title, and its taskbar button shows the job's progress.
#pragma once

#include "transfer/TaskbarProgress.h"
#include "winframe/BaseDialog.h"
#include "winframe/BaseWindow.h"

#include <string>

class NamedMutex;
class ProgressState;
struct ProgressFigures;

class ProgressDlg : public BaseDialog {
public:
    ~ProgressDlg() override;

    // Attaches the items, titles the dialog and starts the paint timer.
    int OnCreate(WPARAM wParam, LPARAM lParam) override;
    // Cancel (1007) sets the cancel flag under the mutex and disables itself and Pause; Pause
    // (1020) holds the transfer or lets it go on. IDCANCEL, which Esc and the close box send,
    // is ignored: the transfer goes on. The worker's "finished" arrives here too.
    int OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnTimer(WPARAM wParam, LPARAM lParam) override;

    // These run on the UI thread and touch the screen only when what they show changes.
    void ShowOverall(int percent, const std::wstring& text);
    void ShowCurrent(int percent, const std::wstring& text);
    void ShowRate(const std::wstring& text);
    // "Elapsed Time: hh:mm:ss"; hours are not wrapped at 24.
    void ShowElapsed(DWORD milliseconds);
    // Puts the published figures on screen as they are now: texts, bars, elapsed time and the
    // rate, which is the amount moved over the last second or more, per second (while paused,
    // the clock stands still and the rate says so), and the taskbar button. True once the
    // worker has finished.
    bool Render();
    // A last Render, then the dialog ends and so does the message loop of its thread (exit
    // code 0).
    void Finish();

    // The worker's last word, from any thread: the figures are final, the dialog may close.
    // Posted, never sent.
    static void PostFinished(HWND dialog);

    BaseWindow overallText;
    BaseWindow overallBar;
    BaseWindow currentText;
    BaseWindow currentBar;
    BaseWindow elapsedText;
    BaseWindow rateText;
    BaseWindow pauseButton;
    // Set before the dialog is created: its title says which.
    bool isCopy = true;
    // Set by the UI thread before the dialog is shown; without it Cancel and Pause do nothing.
    ProgressState* progress = nullptr;
    NamedMutex* mutex = nullptr;

private:
    void _FitForLongestFigures();
    void ShowText(BaseWindow& control, std::wstring& shown, const std::wstring& text);
    void ShowPosition(BaseWindow& bar, int& shown, int percent);
    void ShowBar(BaseWindow& bar, BaseWindow& label, std::wstring& shownText, int& shownPercent,
                 int percent, const std::wstring& text);
    void ShowRateSince(DWORD now, long long bytesDone);
    void ShowRateFigure(const ProgressFigures& figures, DWORD now);
    void ShowTaskbar(const ProgressFigures& figures);

    // What is on screen: the texts start empty, as the dialog template has them; the bars'
    // first position is always set.
    std::wstring shownOverallText_, shownCurrentText_, shownRateText_, shownElapsedText_,
        shownPauseText_;
    int shownOverallPercent_ = -1, shownCurrentPercent_ = -1;
    // The rate's window: since when, and the job's bytes then.
    bool rateWindowOpen_ = false;
    DWORD rateTick_ = 0;
    long long rateBytes_ = 0;
    bool rateShowsPause_ = false;
    TaskbarProgress shownTaskbar_;
    bool taskbarShown_ = false;
    bool finished_ = false;
};
