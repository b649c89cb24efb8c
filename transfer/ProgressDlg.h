// The modeless progress dialog of one transfer. It belongs to the transfer's UI thread: on a
// timer it paints what the worker publishes in the transfer's ProgressState, and it closes
// itself once the worker says it is done. The worker never waits for it.
#pragma once

#include "winframe/BaseDialog.h"
#include "winframe/BaseWindow.h"

#include <string>

class NamedMutex;
class ProgressState;

class ProgressDlg : public BaseDialog {
public:
    ~ProgressDlg() override;

    // Attaches the items and starts the paint timer.
    int OnCreate(WPARAM wParam, LPARAM lParam) override;
    // Cancel (1007) sets the cancel flag under the mutex and disables itself. IDCANCEL, which
    // Esc and the close box send, is ignored: the transfer goes on. The worker's "finished"
    // arrives here too.
    int OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnTimer(WPARAM wParam, LPARAM lParam) override;

    // These run on the UI thread and touch the screen only when what they show changes.
    void ShowOverall(int percent, const std::wstring& text);
    void ShowCurrent(int percent, const std::wstring& text);
    void ShowRate(const std::wstring& text);
    // "Elapsed Time: hh:mm:ss"; hours are not wrapped at 24.
    void ShowElapsed(DWORD milliseconds);
    // Puts the published figures on screen as they are now: texts, bars, elapsed time and the
    // rate, which is the amount moved over the last second or more, per second. True once the
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
    // Set by the UI thread before the dialog is shown; without it Cancel does nothing.
    ProgressState* progress = nullptr;
    NamedMutex* mutex = nullptr;

private:
    void _FitForLongestFigures();
    void ShowText(BaseWindow& control, std::wstring& shown, const std::wstring& text);
    void ShowPosition(BaseWindow& bar, int& shown, int percent);
    void ShowRateSince(DWORD now, long long bytesDone);

    // What is on screen: the texts start empty, as the dialog template has them; the bars'
    // first position is always set.
    std::wstring shownCaption_, shownOverallText_, shownCurrentText_, shownRateText_,
        shownElapsedText_;
    int shownOverallPercent_ = -1, shownCurrentPercent_ = -1;
    // The rate's window: since when, and the job's bytes then.
    bool rateWindowOpen_ = false;
    DWORD rateTick_ = 0;
    long long rateBytes_ = 0;
    bool finished_ = false;
};
