#include "transfer/ReplaceConfirmDlg.h"

#include "transfer/FileDescription.h"
#include "transfer/NumberFormat.h"
#include "transfer/PathText.h"
#include "winframe/PathRules.h"
#include "transfer/TransferResources.h"
#include "texts/TextIds.h"
#include "winframe/TextFit.h"

#include <shellapi.h>

ReplaceConfirmDlg::ReplaceConfirmDlg(const std::wstring& sourcePath, const std::wstring& targetPath,
                                     bool severalFiles)
    : source(sourcePath), target(targetPath), multiple(severalFiles) {}

ReplaceConfirmDlg::~ReplaceConfirmDlg() {
    questionText.Detach();
    newFileText.Detach();
    existingFileText.Detach();
    newFileIcon.Detach();
    existingFileIcon.Detach();
    if (newIcon_) DestroyIcon(newIcon_);
    if (existingIcon_) DestroyIcon(existingIcon_);
}

int ReplaceConfirmDlg::OnCreate(WPARAM, LPARAM) {
    questionText.Attach(GetChild(IDC_REPLACE_QUESTION));
    newFileText.Attach(GetChild(IDC_INCOMING_TEXT));
    newFileIcon.Attach(GetChild(IDC_INCOMING_ICON));
    existingFileText.Attach(GetChild(IDC_EXISTING_TEXT));
    existingFileIcon.Attach(GetChild(IDC_EXISTING_ICON));
    static const ControlText kTexts[] = {
        {0, IDS_REPLACE_CAPTION},          {IDC_REPLACE_YES, IDS_YES},
        {IDC_REPLACE_YES_TO_ALL, IDS_YES_TO_ALL}, {IDC_REPLACE_NO, IDS_NO},
        {IDCANCEL, IDS_CANCEL},            {IDC_REPLACE_WITH_TEXT, IDS_WITH_THIS_FILE}};
    try {
        ShowTexts(kTexts);
        if (!multiple) _ArrangeForOneFile();
        _Fill();
    } catch (...) {
        // Out of memory inside a dialog procedure: the question stands, with fewer details.
    }
    FitToTexts(Handle());
    return TRUE;
}

void ReplaceConfirmDlg::_ArrangeForOneFile() {
    BaseWindow no, yes, yesToAll;
    no.Attach(GetChild(IDC_REPLACE_NO));
    yes.Attach(GetChild(IDC_REPLACE_YES));
    yesToAll.Attach(GetChild(IDC_REPLACE_YES_TO_ALL));
    ChildRect place;
    if (no.GetRect(&place)) {
        no.Hide();
        yesToAll.Hide();
        yes.Move(place.left, place.top, place.width, place.height, true);
    }
    no.Detach();
    yes.Detach();
    yesToAll.Detach();
}

void ReplaceConfirmDlg::_Fill() {
    questionText.SetText(Format(IDS_REPLACE_QUESTION, CompactText(FileNameOf(source), 29).c_str()));
    // The upper pair is the existing file, the lower one (after "with this file? :") the
    // incoming one.
    _ShowIcon(newFileIcon, source, newIcon_);
    DescribeFile(newFileText, source);
    _ShowIcon(existingFileIcon, target, existingIcon_);
    DescribeFile(existingFileText, target);
}

void ReplaceConfirmDlg::_ShowIcon(BaseWindow& control, const std::wstring& path, HICON& icon) {
    SHFILEINFOW info = {};
    SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_ATTRIBUTES);
    icon = info.hIcon;
    control.SendMsg(STM_SETICON, reinterpret_cast<WPARAM>(info.hIcon), 0);
}

bool ReplaceConfirmDlg::DescribeFile(BaseWindow& control, const std::wstring& path) {
    FileSizeInfo size;
    if (!ReadFileSize(path, size, Language())) return false;
    FileTimesInfo times;
    if (!ReadFileTimes(path, times)) return false;
    return control.SetText(Format(IDS_FILE_DESCRIPTION, FormatGroupedNumber(size.bytes).c_str(),
                                  size.text.c_str(), times.createdText.c_str(),
                                  times.modifiedText.c_str()));
}

int ReplaceConfirmDlg::OnCommand(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
    case IDC_REPLACE_YES: choice = ReplaceYes; break;
    case IDC_REPLACE_YES_TO_ALL: choice = ReplaceYesToAll; break;
    case IDC_REPLACE_NO: choice = ReplaceNo; break;
    case IDCANCEL: choice = ReplaceCancel; break;
    default: return 0;
    }
    EndDialog(0);
    return 0;
}

int ReplaceConfirmDlg::OnClose(WPARAM, LPARAM) {
    choice = ReplaceCancel;
    EndDialog(0);
    return 0;
}
