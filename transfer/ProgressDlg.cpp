#include "transfer/ProgressDlg.h"

#include "transfer/NamedMutex.h"
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

// A span of the tick counter; a start read after `now` on another thread counts as none.
DWORD Since(DWORD now, DWORD start) {
    DWORD span = now - start;
    return span > 0x7FFFFFFFu ? 0 : span;
}

}  // namespace

ProgressDlg::~ProgressDlg() {
    overallText.Detach();
    overallBar.Detach();
    currentText.Detach();
    currentBar.Detach();
    elapsedText.Detach();
    rateText.Detach();
}

int ProgressDlg::OnCreate(WPARAM, LPARAM) {
    overallText.Attach(GetChild(IDC_OVERALL_TEXT));
    overallBar.Attach(GetChild(IDC_OVERALL_BAR));
    currentText.Attach(GetChild(IDC_CURRENT_TEXT));
    currentBar.Attach(GetChild(IDC_CURRENT_BAR));
    elapsedText.Attach(GetChild(IDC_ELAPSED_TEXT));
    rateText.Attach(GetChild(IDC_RATE_TEXT));
    static const ControlText kTexts[] = {{IDC_PROGRESS_GROUP, IDS_PROGRESS_GROUP},
                                         {IDC_PROGRESS_CANCEL, IDS_CANCEL}};
    ShowTexts(kTexts);
    _FitForLongestFigures();
    SetTimer(Handle(), kPaintTimer, kPaintEveryMs, nullptr);
    return TRUE;
}

// The figures change while the dialog is open: it is laid out once for the widest of them, in
// its language and the user's number format, and shows the template's empty texts until the
// worker publishes the first.
void ProgressDlg::_FitForLongestFigures() {
    overallText.SetText(Format(IDS_OVERALL, 99999, 99999, 100LL));
    currentText.SetText(Format(IDS_CURRENT_FILE, kLongestLabelSample, 100LL));
    elapsedText.SetText(Format(IDS_ELAPSED, 999, 59, 59));
    rateText.SetText(Format(IDS_RATE_MB, FormatFigure(1023.99).c_str()));
    FitToTexts(Handle());
    for (BaseWindow* text : {&overallText, &currentText, &elapsedText, &rateText}) {
        text->SetText(std::wstring());
    }
}

int ProgressDlg::OnCommand(WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) == kFinishedCommand) {
        Finish();
        return 0;
    }
    if (LOWORD(wParam) != IDC_PROGRESS_CANCEL || !progress) return 0;
    {
        MutexLock lock(mutex);
        progress->Cancel();
    }
    EnableWindow(GetDlgItem(Handle(), IDC_PROGRESS_CANCEL), FALSE);
    return 0;
}

int ProgressDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam != kPaintTimer) return 0;
    // Posting the finished command can fail (a full queue): the timer notices the end too.
    if (Render()) Finish();
    return 0;
}

void ProgressDlg::ShowOverall(int percent, const std::wstring& text) {
    ShowText(overallText, shownOverallText_, text);
    ShowPosition(overallBar, shownOverallPercent_, percent);
}

void ProgressDlg::ShowCurrent(int percent, const std::wstring& text) {
    ShowText(currentText, shownCurrentText_, text);
    ShowPosition(currentBar, shownCurrentPercent_, percent);
}

void ProgressDlg::ShowRate(const std::wstring& text) {
    ShowText(rateText, shownRateText_, text);
}

void ProgressDlg::ShowElapsed(DWORD milliseconds) {
    std::wstring text;
    ShowText(elapsedText, shownElapsedText_,
             Format(IDS_ELAPSED, milliseconds / 3600000, milliseconds / 60000 % 60,
                    milliseconds / 1000 % 60));
}

bool ProgressDlg::Render() {
    if (!progress) return false;
    ProgressFigures figures = progress->Read();
    // Read after the figures: a start tick published meanwhile is never later than now.
    DWORD now = Platform().tickCount();
    if (figures.started) {
        const std::wstring caption = Text(figures.isCopy ? IDS_COPYING : IDS_MOVING);
        if (shownCaption_ != caption && SetWindowTextW(Handle(), caption.c_str())) {
            shownCaption_ = caption;
        }
        ShowElapsed(figures.clockStarted ? Since(now, figures.startTick) : 0);
    }
    if (figures.fileNumber > 0) {
        unsigned int percent = OverallPercent(figures.fileNumber, figures.fileCount);
        ShowOverall(static_cast<int>(percent), Format(IDS_OVERALL, figures.fileNumber,
                                                      figures.fileCount,
                                                      static_cast<long long>(percent)));
        ShowCurrent(static_cast<int>(figures.currentPercent),
                    Format(figures.reportedByPlatform ? IDS_CURRENT_FILE : IDS_CURRENT_FILE_STARTED,
                           figures.label.c_str(), figures.currentPercent));
        if (!rateWindowOpen_) ShowRate(Text(IDS_RATE_CALCULATING));
    }
    if (figures.clockStarted) {
        if (!rateWindowOpen_) {
            rateWindowOpen_ = true;
            rateTick_ = figures.startTick;
            rateBytes_ = 0;
        }
        ShowRateSince(now, figures.bytesDone);
    }
    return figures.finished;
}

// Once a second or more has passed since the last figure: what moved since, per second.
void ProgressDlg::ShowRateSince(DWORD now, long long bytesDone) {
    DWORD span = Since(now, rateTick_);
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
