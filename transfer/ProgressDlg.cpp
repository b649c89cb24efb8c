#include "transfer/ProgressDlg.h"

#include "transfer/NamedMutex.h"
#include "transfer/TransferResources.h"
#include "winframe/TextHelpers.h"

#include <commctrl.h>

ProgressDlg::~ProgressDlg() {
    overallText.Detach();
    overallBar.Detach();
    currentText.Detach();
    currentBar.Detach();
    elapsedText.Detach();
    rateText.Detach();
}

int ProgressDlg::OnCreate(WPARAM, LPARAM) {
    uiThreadId_ = GetCurrentThreadId();
    overallText.Attach(GetChild(IDC_OVERALL_TEXT));
    overallBar.Attach(GetChild(IDC_OVERALL_BAR));
    currentText.Attach(GetChild(IDC_CURRENT_TEXT));
    currentBar.Attach(GetChild(IDC_CURRENT_BAR));
    elapsedText.Attach(GetChild(IDC_ELAPSED_TEXT));
    rateText.Attach(GetChild(IDC_RATE_TEXT));
    return TRUE;
}

int ProgressDlg::OnCommand(WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) != IDC_PROGRESS_CANCEL) return 0;
    {
        MutexLock lock(mutex);
        if (!cancelFlag) return 0;
        SetCancelFlag(cancelFlag);
    }
    EnableWindow(GetDlgItem(Handle(), IDC_PROGRESS_CANCEL), FALSE);
    return 0;
}

// Each Show goes to the UI thread and waits for it; a text or position already on screen is not
// sent again (the rate and the current bar stay put from file to file), so a job of many small
// files does not queue on the UI thread for nothing.
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
    EndDialog(0);
    if (uiThreadId_) PostThreadMessageW(uiThreadId_, WM_QUIT, 0, 0);
}
