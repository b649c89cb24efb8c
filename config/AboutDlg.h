// The About box: the program icon and a "SysLink" control, created at run time, with the
// product name and version, the platform line, the authorship line and a link to the product
// page, which opens in the user's web browser.
#pragma once

#include "winframe/BaseDialog.h"
#include "winframe/DialogScaler.h"

class AboutDlg : public BaseDialog {
public:
    AboutDlg() = default;
    ~AboutDlg() override;

    int OnCreate(WPARAM wParam, LPARAM lParam) override;
    int OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnClose(WPARAM wParam, LPARAM lParam) override;
    int OnNotify(WPARAM wParam, LPARAM lParam) override;
    // On a monitor of another scale: the layout, the link included, and the icon follow.
    int OnDpiChanged(WPARAM wParam, LPARAM lParam) override;

    HWND link = nullptr;

private:
    // The program icon at the large-icon size for `dpi`.
    void _ShowIcon(UINT dpi);

    DialogScaler scaler_;
    HICON icon_ = nullptr;
};
