// One dialog's colours, in the theme chosen when it opened (ThemeChoice.h). Dark: a dark title
// bar, background and text, and the system's dark themes for the controls that have them.
// Light and high contrast leave everything to the system. Only this dialog's own windows are
// touched, never a setting of the process, which may be the file manager's.
#pragma once

#include "winframe/ThemeChoice.h"

#include <windows.h>

class DialogTheme {
public:
    DialogTheme() = default;
    ~DialogTheme();
    DialogTheme(const DialogTheme&) = delete;
    DialogTheme& operator=(const DialogTheme&) = delete;

    // Themes the dialog and every control it holds now.
    void Apply(HWND dialog, WindowTheme theme);
    WindowTheme Theme() const { return theme_; }
    // The answer to a WM_CTLCOLOR* message: a brush, with the device context's colours set;
    // 0 (the dialog manager's own colours) unless dark.
    INT_PTR Colors(UINT message, HDC dc) const;

private:
    WindowTheme theme_ = WindowTheme::Light;
    HBRUSH background_ = nullptr;  // the dialog and its texts
    HBRUSH field_ = nullptr;       // edit boxes and lists
};
