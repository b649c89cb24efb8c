#include "transfer/ReplaceConfirmDlg.h"

#include "transfer/FileDescription.h"
#include "transfer/NumberFormat.h"
#include "transfer/PathText.h"
#include "winframe/PathRules.h"
#include "transfer/TransferResources.h"
#include "winframe/TextHelpers.h"

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
    if (!multiple) _ArrangeForOneFile();
    try {
        _Fill();
    } catch (...) {
        // Out of memory inside a dialog procedure: the question stands, with fewer details.
    }
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
    std::wstring question;
    FormatString(question,
                 L"The file '%s' already exists in the destination directory. Would you like to "
                 L"replace this file:",
                 CompactText(FileNameOf(source), 29).c_str());
    questionText.SetText(question);
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
    if (!ReadFileSize(path, size)) return false;
    FileTimesInfo times;
    if (!ReadFileTimes(path, times)) return false;
    std::wstring text;
    FormatString(text, L"%s Bytes (%s)\nCreated: %s\nModified: %s",
                 FormatGroupedNumber(size.bytes).c_str(), size.text.c_str(),
                 times.createdText.c_str(), times.modifiedText.c_str());
    return control.SetText(text);
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
