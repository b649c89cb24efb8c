#include "winframe/DialogScaler.h"

#include "winframe/TextFit.h"

DialogScaler::~DialogScaler() {
    if (scaledFont_ != nullptr) DeleteObject(scaledFont_);
}

void DialogScaler::Capture(HWND dialog) {
    dialog_ = dialog;
    capturedDpi_ = dpi_ = WindowDpi(dialog);
    dialogFont_ = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (dialogFont_ == nullptr || GetObjectW(dialogFont_, sizeof(logFont_), &logFont_) == 0) {
        dialogFont_ = nullptr;
    }
    controls_.clear();
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        Control control = {child, {}, false};
        GetWindowRect(child, &control.place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.place), 2);
        control.dialogFont = dialogFont_ != nullptr &&
                             reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) ==
                                 dialogFont_;
        controls_.push_back(control);
    }
}

bool DialogScaler::Rescale(UINT dpi, const RECT* suggested) {
    if (dialog_ == nullptr || !IsWindow(dialog_) || dpi == 0) return false;
    dpi_ = dpi;
    const UINT noChange = SWP_NOZORDER | SWP_NOACTIVATE;
    if (suggested != nullptr) {
        SetWindowPos(dialog_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     noChange);
    }
    // The template's font at the captured DPI is the dialog manager's; any other is made here.
    HFONT font = dialogFont_;
    HFONT made = nullptr;
    if (dialogFont_ != nullptr && dpi != capturedDpi_) {
        LOGFONTW scaled = logFont_;
        scaled.lfHeight = MulDiv(logFont_.lfHeight, static_cast<int>(dpi), static_cast<int>(capturedDpi_));
        scaled.lfWidth = MulDiv(logFont_.lfWidth, static_cast<int>(dpi), static_cast<int>(capturedDpi_));
        made = CreateFontIndirectW(&scaled);
        if (made != nullptr) font = made;
    }
    const auto scale = [&](LONG value) {
        return MulDiv(value, static_cast<int>(dpi), static_cast<int>(capturedDpi_));
    };
    for (const Control& control : controls_) {
        // Each edge is scaled, so neighbours that touched still touch.
        const int left = scale(control.place.left), top = scale(control.place.top);
        SetWindowPos(control.window, nullptr, left, top, scale(control.place.right) - left,
                     scale(control.place.bottom) - top, noChange);
        if (control.dialogFont && font != nullptr) {
            SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
    // No control uses the previous scaled font any more.
    if (scaledFont_ != nullptr) DeleteObject(scaledFont_);
    scaledFont_ = made;
    FitToTexts(dialog_, false);
    InvalidateRect(dialog_, nullptr, TRUE);
    return true;
}
