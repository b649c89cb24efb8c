// The About box: the program icon and a "SysLink" control, created at run time, with the
// product name and version, the platform line, the authorship line and a link to the product
// page, which opens in the user's web browser.
#pragma once

#include "winframe/BaseDialog.h"

class AboutDlg : public BaseDialog {
public:
    AboutDlg() = default;

    int OnCreate(WPARAM wParam, LPARAM lParam) override;
    int OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnClose(WPARAM wParam, LPARAM lParam) override;
    int OnNotify(WPARAM wParam, LPARAM lParam) override;

    HWND link = nullptr;
};
