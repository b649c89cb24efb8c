#include "LayoutCheck.h"

#include <commctrl.h>

#include <cstdio>

namespace {

std::wstring Text(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// "Button 1003 '&Add...'": enough to find the control.
std::string Name(HWND control) {
    const std::wstring name = ClassOf(control) + L" " +
                              std::to_wstring(static_cast<short>(GetDlgCtrlID(control))) + L" '" +
                              Text(control).substr(0, 30) + L"'";
    char text[256];
    std::snprintf(text, sizeof(text), "%ls", name.c_str());
    return text;
}

// "...: width needs 80 px, has 79".
std::string Fault(HWND control, const char* what, long needs, long has) {
    char text[96];
    std::snprintf(text, sizeof(text), ": %s needs %ld px, has %ld", what, needs, has);
    return Name(control) + text;
}

// Draws nothing: measures `text` as `control` draws it, with its font, `width` pixels wide.
SIZE Measure(HWND control, const std::wstring& text, LONG width, UINT flags, LONG* lineHeight) {
    HDC dc = GetDC(control);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    RECT area = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &area, flags | DT_CALCRECT);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    if (lineHeight != nullptr) *lineHeight = metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {area.right, area.bottom};
}

// Wrapped into the client width (links without their markup), the text must fit the client.
void CheckWrapped(HWND control, std::wstring text, const RECT& client, UINT flags,
                  std::vector<std::string>& faults) {
    for (size_t open; (open = text.find(L'<')) != std::wstring::npos;) {
        text.erase(open, text.find(L'>', open) - open + 1);
    }
    SIZE need = Measure(control, text, client.right, flags | DT_WORDBREAK, nullptr);
    if (need.cx > client.right) faults.push_back(Fault(control, "width", need.cx, client.right));
    if (need.cy > client.bottom) faults.push_back(Fault(control, "height", need.cy, client.bottom));
}

// One line with `margin` on either side, and a line's height.
void CheckLine(HWND control, const std::wstring& text, const RECT& client, LONG margin,
               std::vector<std::string>& faults) {
    LONG line = 0;
    LONG width = Measure(control, text, client.right, DT_SINGLELINE, &line).cx + 2 * margin;
    if (width > client.right) faults.push_back(Fault(control, "width", width, client.right));
    if (line > client.bottom) faults.push_back(Fault(control, "height", line, client.bottom));
}

SIZE IconSize(HICON icon) {
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

// 16 (small) or 32 pixels at 96 DPI, scaled with the DPI.
void CheckIconSize(HWND control, const char* what, SIZE size, int at96, UINT dpi,
                   std::vector<std::string>& faults) {
    const int expected = MulDiv(at96, static_cast<int>(dpi), 96);
    if (size.cx != expected || size.cy != expected) {
        faults.push_back(Fault(control, what, expected, size.cx));
    }
}

void CheckListView(HWND list, const RECT& client, UINT dpi, std::vector<std::string>& faults) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    LONG total = 0;
    for (int i = 0; i < columns; ++i) {
        wchar_t text[128] = {};
        HDITEMW item = {};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        // The header pads its text by three edges on either side.
        LONG need = Measure(header, text, 0, DT_SINGLELINE, nullptr).cx + MulDiv(12, dpi, 96);
        LONG width = static_cast<LONG>(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
        if (need > width) faults.push_back(Fault(list, "a column", need, width));
        total += width;
    }
    if (total > client.right) faults.push_back(Fault(list, "its columns", total, client.right));
    int cx = 0, cy = 0;
    HIMAGELIST icons =
        reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    if (icons != nullptr && ImageList_GetIconSize(icons, &cx, &cy)) {
        CheckIconSize(list, "a small icon", {cx, cy}, 16, dpi, faults);
    }
}

void CheckControl(HWND control, UINT dpi, std::vector<std::string>& faults) {
    RECT client;
    GetClientRect(control, &client);
    const std::wstring kind = ClassOf(control);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (kind == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
        const SIZE size = IconSize(reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0)));
        if (size.cx == 0) return;
        CheckIconSize(control, "its icon", size, 32, dpi, faults);
        if (size.cx > client.right) faults.push_back(Fault(control, "icon width", size.cx, client.right));
        if (size.cy > client.bottom) faults.push_back(Fault(control, "icon height", size.cy, client.bottom));
    } else if (kind == L"Static" && (style & SS_TYPEMASK) <= SS_RIGHT) {
        CheckWrapped(control, Text(control), client,
                     DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0), faults);
    } else if (kind == L"SysLink") {
        CheckWrapped(control, Text(control), client, DT_NOPREFIX, faults);
    } else if (kind == L"Button") {
        // A push button insets its text by its edge; a group box starts its text a few pixels
        // in from its frame.
        const bool group = (style & BS_TYPEMASK) == BS_GROUPBOX;
        CheckLine(control, Text(control), client, MulDiv(group ? 8 : 3, dpi, 96), faults);
    } else if (kind == L"ListBox") {
        const int count = static_cast<int>(SendMessageW(control, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring line(static_cast<size_t>(SendMessageW(control, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
            line.resize(static_cast<size_t>(
                SendMessageW(control, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&line[0]))));
            CheckLine(control, line, client, MulDiv(2, dpi, 96), faults);
        }
    } else if (kind == L"ComboBox") {
        const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
        // The item's text, its inset and the drop-down button beside it, as wide as a scroll
        // bar at that DPI.
        HDC screen = GetDC(nullptr);
        const int systemDpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        const LONG button = MulDiv(GetSystemMetrics(SM_CXVSCROLL), dpi, systemDpi) + MulDiv(3, dpi, 96);
        for (int i = 0; i < count; ++i) {
            std::wstring item(static_cast<size_t>(SendMessageW(control, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            item.resize(static_cast<size_t>(
                SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]))));
            RECT room = client;
            room.right -= button;
            CheckLine(control, item, room, MulDiv(2, dpi, 96), faults);
        }
    } else if (kind == L"Edit") {
        CheckLine(control, L"", client, 0, faults);
    } else if (kind == L"SysListView32") {
        CheckListView(control, client, dpi, faults);
    }
}

// The character after a single "&" ("&&" is a literal one), lower-cased; 0 for none.
wchar_t AccessKey(HWND control) {
    const std::wstring text = Text(control);
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') return static_cast<wchar_t>(towlower(text[i + 1]));
        ++i;
    }
    return 0;
}

bool IsGroupBox(HWND control) {
    return ClassOf(control) == L"Button" &&
           (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

std::vector<std::string> LayoutProblems(HWND dialog, UINT dpi) {
    std::vector<std::string> faults;
    for (WPARAM kind : {ICON_SMALL, ICON_BIG}) {
        const SIZE size =
            IconSize(reinterpret_cast<HICON>(SendMessageW(dialog, WM_GETICON, kind, 0)));
        if (size.cx != 0) {
            CheckIconSize(dialog, "a window icon", size, kind == ICON_SMALL ? 16 : 32, dpi, faults);
        }
    }
    RECT client;
    GetClientRect(dialog, &client);
    std::vector<std::pair<HWND, RECT>> seen;
    std::vector<std::pair<wchar_t, HWND>> keys;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        if (!Contains(client, place)) faults.push_back(Name(child) + " leaves the dialog");
        for (const auto& other : seen) {
            RECT both;
            if (IntersectRect(&both, &place, &other.second) &&
                !(IsGroupBox(child) && Contains(place, other.second)) &&
                !(IsGroupBox(other.first) && Contains(other.second, place))) {
                faults.push_back(Name(child) + " overlaps " + Name(other.first));
            }
        }
        seen.emplace_back(child, place);
        CheckControl(child, dpi, faults);
        // Labels with SS_NOPREFIX show names, not keys.
        const wchar_t key = (GetWindowLongW(child, GWL_STYLE) & SS_NOPREFIX) != 0 &&
                                    ClassOf(child) == L"Static"
                                ? 0
                                : AccessKey(child);
        for (const auto& other : keys) {
            if (key != 0 && other.first == key) {
                faults.push_back(Name(child) + " takes the access key of " + Name(other.second));
            }
        }
        if (key != 0) keys.emplace_back(key, child);
    }
    return faults;
}
