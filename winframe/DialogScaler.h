// Keeps a dialog's layout in step with the DPI of the monitor it is on. Capture remembers where
// every control sits and the font it draws with at the dialog's DPI; Rescale, on WM_DPICHANGED,
// takes the window rectangle the system suggests and gives every control its captured place and
// font scaled to the new DPI, then makes room for any text that needs more at that DPI (a font's
// width does not follow its size exactly). Scaling always starts from the captured layout, so
// nothing drifts over many moves.
#pragma once

#include "winframe/Dpi.h"

#include <vector>

class DialogScaler {
public:
    DialogScaler() = default;
    // Deletes the fonts it made: the dialog's window must be gone by then, as the framework
    // already asks of every dialog object.
    ~DialogScaler();
    DialogScaler(const DialogScaler&) = delete;
    DialogScaler& operator=(const DialogScaler&) = delete;

    // Call once the dialog's controls are all made (in OnCreate); `dialog` must have its font.
    void Capture(HWND dialog);
    // `suggested` is the window rectangle WM_DPICHANGED proposes (null: keep the window's).
    // False when nothing was captured.
    bool Rescale(UINT dpi, const RECT* suggested);
    // The DPI the dialog is laid out for: the window's at Capture, then the last Rescale's.
    UINT Dpi() const { return dpi_; }

private:
    struct Control {
        HWND window;
        RECT place;       // in the dialog's client area, at the captured DPI
        bool dialogFont;  // draws with the dialog's font, so it follows the scaled one
    };

    HWND dialog_ = nullptr;
    UINT capturedDpi_ = kDefaultDpi;
    UINT dpi_ = kDefaultDpi;
    HFONT dialogFont_ = nullptr;  // the dialog manager's, made from the template
    LOGFONTW logFont_ = {};
    HFONT scaledFont_ = nullptr;  // made here for another DPI
    std::vector<Control> controls_;
};
