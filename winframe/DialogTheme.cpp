#include "winframe/DialogTheme.h"

#include <commctrl.h>
#include <dwmapi.h>
#include <uxtheme.h>

namespace {

constexpr COLORREF kDarkBackground = RGB(32, 32, 32);
constexpr COLORREF kDarkField = RGB(45, 45, 45);
constexpr COLORREF kDarkText = RGB(255, 255, 255);
// The dark title bar's attribute; Windows 10 before build 18985 knew it as 19.
constexpr DWORD kDarkTitleBar = 20;
constexpr DWORD kDarkTitleBarBefore18985 = 19;

void DarkenTitleBar(HWND window) {
    BOOL dark = TRUE;
    if (FAILED(DwmSetWindowAttribute(window, kDarkTitleBar, &dark, sizeof(dark)))) {
        DwmSetWindowAttribute(window, kDarkTitleBarBefore18985, &dark, sizeof(dark));
    }
}

void DarkenControl(HWND control) {
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (lstrcmpiW(kind, L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX) {
        // A themed group box draws its text in the theme's colour; unthemed it asks the dialog.
        SetWindowTheme(control, L"", L"");
    } else if (lstrcmpiW(kind, L"Button") == 0 || lstrcmpiW(kind, L"ListBox") == 0) {
        SetWindowTheme(control, L"DarkMode_Explorer", nullptr);
    } else if (lstrcmpiW(kind, L"Edit") == 0 || lstrcmpiW(kind, L"ComboBox") == 0) {
        SetWindowTheme(control, L"DarkMode_CFD", nullptr);
    } else if (lstrcmpiW(kind, WC_LISTVIEWW) == 0) {
        SetWindowTheme(control, L"DarkMode_Explorer", nullptr);
        SendMessageW(control, LVM_SETBKCOLOR, 0, kDarkField);
        SendMessageW(control, LVM_SETTEXTBKCOLOR, 0, kDarkField);
        SendMessageW(control, LVM_SETTEXTCOLOR, 0, kDarkText);
        HWND header = reinterpret_cast<HWND>(SendMessageW(control, LVM_GETHEADER, 0, 0));
        if (header != nullptr) SetWindowTheme(header, L"DarkMode_ItemsView", nullptr);
    }
}

}  // namespace

DialogTheme::~DialogTheme() {
    if (background_ != nullptr) DeleteObject(background_);
    if (field_ != nullptr) DeleteObject(field_);
}

void DialogTheme::Apply(HWND dialog, WindowTheme theme) {
    theme_ = theme;
    if (theme != WindowTheme::Dark) return;
    if (background_ == nullptr) background_ = CreateSolidBrush(kDarkBackground);
    if (field_ == nullptr) field_ = CreateSolidBrush(kDarkField);
    DarkenTitleBar(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        DarkenControl(child);
    }
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

INT_PTR DialogTheme::Colors(UINT message, HDC dc) const {
    if (theme_ != WindowTheme::Dark || background_ == nullptr || field_ == nullptr) return 0;
    const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, kDarkText);
    SetBkColor(dc, field ? kDarkField : kDarkBackground);
    return reinterpret_cast<INT_PTR>(field ? field_ : background_);
}
