// "Confirm File Replace": asked by the worker, modally on its own thread, before a file goes
// onto a name that already exists. Shows both files and returns the user's choice in `choice`.
#pragma once

#include "winframe/BaseDialog.h"
#include "winframe/BaseWindow.h"

#include <string>

enum ReplaceChoice : int {
    ReplaceYes = 0,
    ReplaceYesToAll = 1,
    ReplaceNo = 2,
    ReplaceCancel = 3,
};

class ReplaceConfirmDlg : public BaseDialog {
public:
    // source: the incoming file; target: the existing one; multiple: the job has several files.
    ReplaceConfirmDlg(const std::wstring& source, const std::wstring& target, bool multiple);
    ~ReplaceConfirmDlg() override;

    int OnCreate(WPARAM wParam, LPARAM lParam) override;
    int OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The caption's close box cancels, as Esc does.
    int OnClose(WPARAM wParam, LPARAM lParam) override;

    // Size, grouped byte count and both times of the file into the control; false (control
    // unchanged) when the file cannot be read.
    bool DescribeFile(BaseWindow& control, const std::wstring& path);

    BaseWindow questionText;
    BaseWindow newFileText;
    BaseWindow existingFileText;
    BaseWindow newFileIcon;
    BaseWindow existingFileIcon;
    std::wstring source;
    std::wstring target;
    bool multiple;
    ReplaceChoice choice = ReplaceCancel;

private:
    // A single file shows Yes where No would stand; No and Yes to All are hidden.
    void _ArrangeForOneFile();
    void _Fill();
    void _ShowIcon(BaseWindow& control, const std::wstring& path, HICON& icon);

    // The shell's icons for the two files, destroyed with the dialog object.
    HICON newIcon_ = nullptr;
    HICON existingIcon_ = nullptr;
};
