#include "transfer/ProgressDlg.h"

#include "transfer/LibraryText.h"
#include "transfer/NamedMutex.h"
#include "transfer/ProgressBarAccessible.h"
#include "transfer/ProgressState.h"
#include "transfer/TransferDecisions.h"
#include "transfer/TransferPlatform.h"
#include "transfer/TransferResources.h"
#include "winframe/TextHelpers.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kPaintTimer = 1;
constexpr UINT kPaintEveryMs = 100;
// Not an item of the template: the worker's "finished", posted as a command.
constexpr WORD kFinishedCommand = 0x7FF0;
const wchar_t kRateCalculating[] = L"Transfer Rate: calculating...";

}  // namespace

ProgressDlg::~ProgressDlg() {
    overallText.Detach();
    overallBar.Detach();
    currentText.Detach();
    currentBar.Detach();
    elapsedText.Detach();
    rateText.Detach();
    pauseButton.Detach();
}

int ProgressDlg::OnCreate(WPARAM, LPARAM) {
    overallText.Attach(GetChild(IDC_OVERALL_TEXT));
    overallBar.Attach(GetChild(IDC_OVERALL_BAR));
    currentText.Attach(GetChild(IDC_CURRENT_TEXT));
    currentBar.Attach(GetChild(IDC_CURRENT_BAR));
    elapsedText.Attach(GetChild(IDC_ELAPSED_TEXT));
    rateText.Attach(GetChild(IDC_RATE_TEXT));
    pauseButton.Attach(GetChild(IDC_PROGRESS_PAUSE));
    MakeProgressBarAccessible(overallBar.Handle(), overallText.Handle());
    MakeProgressBarAccessible(currentBar.Handle(), currentText.Handle());
    // Titled before it can ever be shown, also when a question comes before the first paint.
    SetWindowTextW(Handle(), isCopy ? L"Copying ..." : L"Moving ...");
    ShowText(pauseButton, shownPauseText_, LibraryText(IDS_PAUSE));
    SetTimer(Handle(), kPaintTimer, kPaintEveryMs, nullptr);
    return TRUE;
}

int ProgressDlg::OnCommand(WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) == kFinishedCommand) {
        Finish();
        return 0;
    }
    if (!progress) return 0;
    if (LOWORD(wParam) == IDC_PROGRESS_PAUSE) {
        DWORD now = Platform().tickCount();
        if (progress->Paused()) {
            progress->Resume(now);
        } else {
            progress->Pause(now);
        }
        Render();
        return 0;
    }
    if (LOWORD(wParam) != IDC_PROGRESS_CANCEL) return 0;
    {
        MutexLock lock(mutex);
        progress->Cancel();
    }
    EnableWindow(GetDlgItem(Handle(), IDC_PROGRESS_CANCEL), FALSE);
    EnableWindow(pauseButton.Handle(), FALSE);
    return 0;
}

int ProgressDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam != kPaintTimer) return 0;
    // Posting the finished command can fail (a full queue): the timer notices the end too.
    if (Render()) Finish();
    return 0;
}

void ProgressDlg::ShowOverall(int percent, const std::wstring& text) {
    ShowBar(overallBar, overallText, shownOverallText_, shownOverallPercent_, percent, text);
}

void ProgressDlg::ShowCurrent(int percent, const std::wstring& text) {
    ShowBar(currentBar, currentText, shownCurrentText_, shownCurrentPercent_, percent, text);
}

void ProgressDlg::ShowBar(BaseWindow& bar, BaseWindow& label, std::wstring& shownText,
                          int& shownPercent, int percent, const std::wstring& text) {
    bool renamed = shownText != text;
    ShowText(label, shownText, text);
    ShowPosition(bar, shownPercent, percent);
    // The text above is the bar's name for screen readers (the bar tells its value change).
    if (renamed) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, bar.Handle(), OBJID_CLIENT, CHILDID_SELF);
}

void ProgressDlg::ShowRate(const std::wstring& text) {
    ShowText(rateText, shownRateText_, text);
}

void ProgressDlg::ShowElapsed(DWORD milliseconds) {
    std::wstring text;
    FormatString(text, L"Elapsed Time: %02d:%02d:%02d", milliseconds / 3600000,
                 milliseconds / 60000 % 60, milliseconds / 1000 % 60);
    ShowText(elapsedText, shownElapsedText_, text);
}

bool ProgressDlg::Render() {
    if (!progress) return false;
    ProgressFigures figures = progress->Read();
    // Read after the figures: a start tick published meanwhile is never later than now.
    DWORD now = Platform().tickCount();
    std::wstring text;
    if (figures.started) ShowElapsed(ElapsedMs(figures, now));
    if (figures.fileNumber > 0) {
        unsigned int percent = OverallPercent(figures.fileNumber, figures.fileCount);
        FormatString(text, L"Overall Progress (file %d of %d) : %I64d%%", figures.fileNumber,
                     figures.fileCount, static_cast<long long>(percent));
        ShowOverall(static_cast<int>(percent), text);
        FormatString(text,
                     figures.reportedByPlatform ? L"Current file: '%s' : %I64d%%"
                                                : L"Current file '%s' : %I64d%%",
                     figures.label.c_str(), figures.currentPercent);
        ShowCurrent(static_cast<int>(figures.currentPercent), text);
    }
    ShowRateFigure(figures, now);
    ShowText(pauseButton, shownPauseText_, LibraryText(figures.paused ? IDS_RESUME : IDS_PAUSE));
    ShowTaskbar(figures);
    return figures.finished;
}

void ProgressDlg::ShowRateFigure(const ProgressFigures& figures, DWORD now) {
    if (figures.paused) {
        ShowRate(LibraryText(IDS_RATE_PAUSED));
        rateShowsPause_ = true;
        return;
    }
    if (rateShowsPause_) {
        // Resumed: the next figure measures from here, not across the pause.
        rateShowsPause_ = false;
        ShowRate(kRateCalculating);
        if (figures.clockStarted) {
            rateWindowOpen_ = true;
            rateTick_ = now;
            rateBytes_ = figures.bytesDone;
        }
    }
    if (figures.fileNumber > 0 && !rateWindowOpen_) ShowRate(kRateCalculating);
    if (!figures.clockStarted) return;
    if (!rateWindowOpen_) {
        rateWindowOpen_ = true;
        rateTick_ = figures.startTick;
        rateBytes_ = 0;
    }
    ShowRateSince(now, figures.bytesDone);
}

void ProgressDlg::ShowTaskbar(const ProgressFigures& figures) {
    TaskbarProgress wanted = TaskbarProgressFor(figures);
    if (taskbarShown_ && wanted == shownTaskbar_) return;
    // Until the button exists the call fails; the next paint asks again.
    taskbarShown_ = Platform().showOnTaskbar(Handle(), wanted);
    shownTaskbar_ = wanted;
}

// Once a second or more has passed since the last figure: what moved since, per second.
void ProgressDlg::ShowRateSince(DWORD now, long long bytesDone) {
    DWORD span = TickSpan(now, rateTick_);
    if (span < 1000) return;
    // Never less than nothing, whatever the count did meanwhile.
    long long moved = bytesDone > rateBytes_ ? bytesDone - rateBytes_ : 0;
    double value = static_cast<double>(moved) * 1000.0 / span * 0.0009765625;
    const wchar_t* unit = L"KB";
    if (value > 1024.0) {
        value *= 0.0009765625;
        unit = L"MB";
    }
    std::wstring text;
    FormatString(text, L"Transfer Rate: %.02f %s/sec", value, unit);
    ShowRate(text);
    rateTick_ = now;
    rateBytes_ = bytesDone;
}

void ProgressDlg::ShowText(BaseWindow& control, std::wstring& shown, const std::wstring& text) {
    if (shown == text) return;
    if (control.SetText(text)) shown = text;
}

void ProgressDlg::ShowPosition(BaseWindow& bar, int& shown, int percent) {
    if (shown == percent) return;
    bar.SendMsg(PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    shown = percent;
}

void ProgressDlg::Finish() {
    if (finished_) return;
    finished_ = true;
    Render();
    KillTimer(Handle(), kPaintTimer);
    EndDialog(0);
    PostQuitMessage(0);
}

void ProgressDlg::PostFinished(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFinishedCommand, 0), 0);
}
