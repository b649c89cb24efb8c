#include "transfer/ProgressDlg.h"

#include "transfer/NamedMutex.h"
#include "transfer/ProgressBarAccessible.h"
#include "transfer/ProgressState.h"
#include "transfer/TransferDecisions.h"
#include "transfer/TransferPlatform.h"
#include "transfer/NumberFormat.h"
#include "transfer/TransferResources.h"
#include "texts/TextIds.h"
#include "winframe/TextFit.h"
#include "winframe/TextHelpers.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kPaintTimer = 1;
constexpr UINT kPaintEveryMs = 100;
// Not an item of the template: the worker's "finished", posted as a command.
constexpr WORD kFinishedCommand = 0x7FF0;
// A compacted name as wide as they usually come (CompactText's budget is 28 characters).
const wchar_t kLongestLabelSample[] = L"DSC_20260930_125959_PA...JPG";

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
    MakeProgressBarAccessible(overallBar.Handle(), overallText.Handle(), Language());
    MakeProgressBarAccessible(currentBar.Handle(), currentText.Handle(), Language());
    // Titled before it can ever be shown, also when a question comes before the first paint.
    SetWindowTextW(Handle(), Text(isCopy ? IDS_COPYING : IDS_MOVING).c_str());
    static const ControlText kTexts[] = {{IDC_PROGRESS_GROUP, IDS_PROGRESS_GROUP},
                                         {IDC_PROGRESS_PAUSE, IDS_PAUSE},
                                         {IDC_PROGRESS_CANCEL, IDS_CANCEL}};
    ShowTexts(kTexts);
    _FitForLongestFigures();
    SetTimer(Handle(), kPaintTimer, kPaintEveryMs, nullptr);
    return TRUE;
}

// The figures change while the dialog is open: it is laid out once for the widest of them, in
// its language and the user's number format, as it reads running, starting and paused (the
// rate says so, and Pause reads Resume), and shows the template's empty texts until the
// worker publishes the first.
void ProgressDlg::_FitForLongestFigures() {
    overallText.SetText(Format(IDS_OVERALL, 99999, 99999, 100LL));
    currentText.SetText(Format(IDS_CURRENT_FILE, kLongestLabelSample, 100LL));
    elapsedText.SetText(Format(IDS_ELAPSED, 999, 59, 59));
    const struct {
        std::wstring rate;
        UINT pause;
    } states[] = {{Format(IDS_RATE_MB, FormatFigure(1023.99).c_str()), IDS_PAUSE},
                  {Text(IDS_RATE_CALCULATING), IDS_PAUSE},
                  {Text(IDS_RATE_PAUSED), IDS_RESUME}};
    for (const auto& state : states) {
        rateText.SetText(state.rate);
        pauseButton.SetText(Text(state.pause));
        FitToTexts(Handle());
    }
    shownPauseText_ = Text(IDS_PAUSE);
    pauseButton.SetText(shownPauseText_);
    for (BaseWindow* text : {&overallText, &currentText, &elapsedText, &rateText}) {
        text->SetText(std::wstring());
    }
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
    ShowText(elapsedText, shownElapsedText_,
             Format(IDS_ELAPSED, milliseconds / 3600000, milliseconds / 60000 % 60,
                    milliseconds / 1000 % 60));
}

bool ProgressDlg::Render() {
    if (!progress) return false;
    ProgressFigures figures = progress->Read();
    // Read after the figures: a start tick published meanwhile is never later than now.
    DWORD now = Platform().tickCount();
    if (figures.started) ShowElapsed(ElapsedMs(figures, now));
    if (figures.fileNumber > 0) {
        unsigned int percent = OverallPercent(figures.fileNumber, figures.fileCount);
        ShowOverall(static_cast<int>(percent), Format(IDS_OVERALL, figures.fileNumber,
                                                      figures.fileCount,
                                                      static_cast<long long>(percent)));
        ShowCurrent(static_cast<int>(figures.currentPercent),
                    Format(figures.reportedByPlatform ? IDS_CURRENT_FILE : IDS_CURRENT_FILE_STARTED,
                           figures.label.c_str(), figures.currentPercent));
    }
    ShowRateFigure(figures, now);
    ShowText(pauseButton, shownPauseText_, Text(figures.paused ? IDS_RESUME : IDS_PAUSE));
    ShowTaskbar(figures);
    return figures.finished;
}

void ProgressDlg::ShowRateFigure(const ProgressFigures& figures, DWORD now) {
    if (figures.paused) {
        ShowRate(Text(IDS_RATE_PAUSED));
        rateShowsPause_ = true;
        return;
    }
    if (rateShowsPause_) {
        // Resumed: the next figure measures from here, not across the pause.
        rateShowsPause_ = false;
        ShowRate(Text(IDS_RATE_CALCULATING));
        if (figures.clockStarted) {
            rateWindowOpen_ = true;
            rateTick_ = now;
            rateBytes_ = figures.bytesDone;
        }
    }
    if (figures.fileNumber > 0 && !rateWindowOpen_) ShowRate(Text(IDS_RATE_CALCULATING));
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
    UINT unit = IDS_RATE_KB;
    if (value > 1024.0) {
        value *= 0.0009765625;
        unit = IDS_RATE_MB;
    }
    ShowRate(Format(unit, FormatFigure(value).c_str()));
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
