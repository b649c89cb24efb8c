#include "config/AboutDlg.h"

#include "config/AboutText.h"
#include "config/ConfigResources.h"
#include "texts/TextIds.h"
#include "winframe/TextFit.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

namespace {

// Where the link sits, in dialog units, so that it grows with the dialog's font as the
// template's controls do.
const RECT kLinkUnits = {40, 6, 213, 80};

}  // namespace

AboutDlg::~AboutDlg() {
    // The window, which showed it, is gone by now.
    if (icon_ != nullptr) DestroyIcon(icon_);
}

int AboutDlg::OnCreate(WPARAM wParam, LPARAM lParam) {
    // ShellExecuteW may hand the address to COM-based handlers: COM lives as long as the box.
    CoInitialize(nullptr);
    TakeOverDialogDpiChanges(Handle());
    static const ControlText kTexts[] = {{0, IDS_ABOUT_CAPTION}, {IDOK, IDS_OK}};
    ShowTexts(kTexts);

    const std::wstring markup =
        AboutLinkMarkup(Format(IDS_ABOUT_VERSION, kProductVersion), Text(IDS_ABOUT_PLATFORM));
    RECT place = kLinkUnits;
    MapDialogRect(Handle(), &place);
    link = CreateWindowExW(0, L"SysLink", markup.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                           place.left, place.top, place.right - place.left,
                           place.bottom - place.top, Handle(), nullptr, GetModuleHandleW(nullptr),
                           nullptr);
    if (link == nullptr) {
        Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_ABOUT_FAILED);
        OnClose(wParam, lParam);
        return 0;
    }

    // Controls made at run time get the system font; the link reads like the rest of the box.
    SendMessageW(link, WM_SETFONT, SendMessageW(Handle(), WM_GETFONT, 0, 0), FALSE);

    LITEM item = {};
    item.mask = LIF_ITEMINDEX | LIF_STATE | LIF_ITEMID | LIF_URL;
    item.iLink = 0;
    item.state = LIS_ENABLED;
    item.stateMask = LIS_ENABLED;
    item.szID[0] = L'\0';
    wcsncpy(item.szUrl, kProductPageUrl, L_MAX_URL_LENGTH - 1);
    SendMessageW(link, LM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));

    FitToTexts(Handle());
    scaler_.Capture(Handle());
    _ShowIcon(scaler_.Dpi());
    return 0;
}

int AboutDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    scaler_.Rescale(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
    _ShowIcon(scaler_.Dpi());
    return TRUE;
}

void AboutDlg::_ShowIcon(UINT dpi) {
    // The template's icon control has no identifier of its own.
    HICON icon = LoadIconAtSize(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM),
                                SystemMetricForDpi(SM_CXICON, dpi));
    SendDlgItemMessageW(Handle(), -1, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    // The control has let go of the previous one.
    if (icon_ != nullptr) DestroyIcon(icon_);
    icon_ = icon;
}

int AboutDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Only OK closes the box; Escape (IDCANCEL) is ignored.
    if (LOWORD(wParam) == IDOK) return OnClose(wParam, lParam);
    return 0;
}

int AboutDlg::OnClose(WPARAM, LPARAM) {
    CoUninitialize();
    EndDialog(0);
    return 0;
}

int AboutDlg::OnNotify(WPARAM, LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr || header->hwndFrom != link ||
        (header->code != NM_CLICK && header->code != NM_RETURN)) {
        return 0;
    }
    const NMLINK* activated = reinterpret_cast<const NMLINK*>(lParam);
    if (!IsProductPageUrl(activated->item.szUrl)) return 0;

    HINSTANCE started =
        ShellExecuteW(Handle(), L"open", kProductPageUrl, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(started) <= 32) {
        Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_BROWSER_FAILED);
    }
    return 0;
}
