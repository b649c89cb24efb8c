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
        *cancelFlag = 1;
    }
    EnableWindow(GetDlgItem(Handle(), IDC_PROGRESS_CANCEL), FALSE);
    return 0;
}

void ProgressDlg::ShowOverall(int percent, const std::wstring& text) {
    overallText.SetText(text);
    overallBar.SendMsg(PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void ProgressDlg::ShowCurrent(int percent, const std::wstring& text) {
    currentText.SetText(text);
    currentBar.SendMsg(PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void ProgressDlg::ShowRate(const std::wstring& text) {
    rateText.SetText(text);
}

void ProgressDlg::ShowElapsed(DWORD milliseconds) {
    std::wstring text;
    FormatString(text, L"Elapsed Time: %02d:%02d:%02d", milliseconds / 3600000,
                 milliseconds / 60000 % 60, milliseconds / 1000 % 60);
    elapsedText.SetText(text);
}

void ProgressDlg::Finish() {
    EndDialog(0);
    if (uiThreadId_) PostThreadMessageW(uiThreadId_, WM_QUIT, 0, 0);
}
