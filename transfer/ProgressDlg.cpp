#include "transfer/ProgressDlg.h"

#include "transfer/NamedMutex.h"
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
    SetTimer(Handle(), kPaintTimer, kPaintEveryMs, nullptr);
    return TRUE;
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
    if (figures.started) {
        const wchar_t* caption = figures.isCopy ? L"Copying ..." : L"Moving ...";
        if (shownCaption_ != caption && SetWindowTextW(Handle(), caption)) shownCaption_ = caption;
        ShowElapsed(figures.clockStarted ? Since(now, figures.startTick) : 0);
    }
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
        if (!rateWindowOpen_) ShowRate(L"Transfer Rate: calculating...");
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
