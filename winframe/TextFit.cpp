#include "winframe/TextFit.h"

#include "winframe/Dpi.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

enum class Kind { Other, Push, Group, Label, Link, Combo };

struct Box {
    HWND window;
    Kind kind;
    bool wraps;
    RECT place;     // now, in the dialog's client area
    RECT original;  // as the template laid it out
};

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

Kind KindOf(HWND window, bool& wraps) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    wraps = false;
    if (lstrcmpiW(name, L"Button") == 0) {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_GROUPBOX) return Kind::Group;
        return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? Kind::Push : Kind::Other;
    }
    if (lstrcmpiW(name, L"Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        wraps = type <= SS_RIGHT;
        return wraps || type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE ? Kind::Label : Kind::Other;
    }
    if (lstrcmpiW(name, L"SysLink") == 0) {
        wraps = true;
        return Kind::Link;
    }
    return lstrcmpiW(name, L"ComboBox") == 0 ? Kind::Combo : Kind::Other;
}

// The text as the control draws it with its own font, `width` pixels wide (0: one line).
SIZE Measure(HWND control, const std::wstring& text, LONG width, UINT flags) {
    HDC dc = GetDC(control);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    RECT area = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &area, flags | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {area.right, area.bottom};
}

std::wstring WithoutMarkup(std::wstring text) {
    for (size_t open; (open = text.find(L'<')) != std::wstring::npos;) {
        size_t close = text.find(L'>', open);
        if (close == std::wstring::npos) break;
        text.erase(open, close - open + 1);
    }
    return text;
}

bool Overlap(LONG a1, LONG a2, LONG b1, LONG b2) { return a1 < b2 && b1 < a2; }

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class Fitter {
public:
    Fitter(HWND dialog, bool keepCentre)
        : dialog_(dialog), dpi_(WindowDpi(dialog)), keepCentre_(keepCentre) {
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            // The style, not IsWindowVisible: the dialog itself is not shown yet.
            if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
            Box box = {child, Kind::Other, false, {}, {}};
            box.kind = KindOf(child, box.wraps);
            GetWindowRect(child, &box.place);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box.place), 2);
            box.original = box.place;
            boxes_.push_back(box);
        }
    }

    void Fit() {
        if (boxes_.empty()) return;
        const RECT content = Extent();
        std::vector<std::vector<size_t>> rows = ButtonRows();
        std::vector<bool> centred;
        for (const auto& row : rows) centred.push_back(Centred(row, content));
        for (const auto& row : rows) FitRow(row);
        for (size_t i = 0; i < boxes_.size(); ++i) {
            if (boxes_[i].kind == Kind::Group || boxes_[i].kind == Kind::Combo) FitWidth(i);
        }
        for (size_t i = 0; i < boxes_.size(); ++i) {
            if (boxes_[i].kind == Kind::Label || boxes_[i].kind == Kind::Link) FitLabel(i, content);
        }
        for (size_t r = 0; r < rows.size(); ++r) {
            if (centred[r]) KeepCentred(rows[r], content);
        }
        Resize(content);
    }

private:
    int Px(int at96) const { return MulDiv(at96, static_cast<int>(dpi_), 96); }
    LONG Width(size_t i) const { return boxes_[i].place.right - boxes_[i].place.left; }

    RECT Extent() const {
        RECT all = boxes_[0].place;
        for (const Box& box : boxes_) UnionRect(&all, &all, &box.place);
        return all;
    }

    // Push buttons that share a top and a height, left to right.
    std::vector<std::vector<size_t>> ButtonRows() const {
        std::vector<std::vector<size_t>> rows;
        for (size_t i = 0; i < boxes_.size(); ++i) {
            if (boxes_[i].kind != Kind::Push) continue;
            auto row = std::find_if(rows.begin(), rows.end(), [&](const std::vector<size_t>& r) {
                const RECT& first = boxes_[r[0]].place;
                return first.top == boxes_[i].place.top && first.bottom == boxes_[i].place.bottom;
            });
            if (row == rows.end()) rows.push_back({i});
            else row->push_back(i);
        }
        for (auto& row : rows) {
            std::sort(row.begin(), row.end(), [&](size_t a, size_t b) {
                return boxes_[a].place.left < boxes_[b].place.left;
            });
        }
        return rows;
    }

    bool Centred(const std::vector<size_t>& row, const RECT& content) const {
        const LONG left = boxes_[row.front()].place.left - content.left;
        const LONG right = content.right - boxes_[row.back()].place.right;
        return std::abs(left - right) <= Px(2);
    }

    // What a control that has to grow gets beyond its text's width: a sixteenth more, as a
    // font's width does not follow its size exactly, so that the text still fits once the
    // dialog is scaled for a monitor of another DPI.
    static LONG WithSlack(LONG width) { return width + width / 16; }

    // A text needs its width plus the control's inset on either side.
    LONG Needed(size_t i, LONG inset) const {
        const Box& box = boxes_[i];
        if (box.kind == Kind::Combo) {
            LONG widest = 0;
            const int count = static_cast<int>(SendMessageW(box.window, CB_GETCOUNT, 0, 0));
            for (int item = 0; item < count; ++item) {
                std::wstring text(static_cast<size_t>(SendMessageW(box.window, CB_GETLBTEXTLEN, item, 0)) + 1, L'\0');
                text.resize(static_cast<size_t>(
                    SendMessageW(box.window, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(&text[0]))));
                widest = std::max(widest, Measure(box.window, text, 0, DT_SINGLELINE | DT_NOPREFIX).cx);
            }
            return widest + SystemMetricForDpi(SM_CXVSCROLL, dpi_) + 2 * inset;
        }
        return Measure(box.window, TextOf(box.window), 0, DT_SINGLELINE).cx + 2 * inset;
    }

    void FitRow(const std::vector<size_t>& row) {
        LONG target = 0;
        bool short_ = false;
        for (size_t i : row) {
            short_ = short_ || Needed(i, Px(3)) > Width(i);
            target = std::max(target, WithSlack(Needed(i, Px(8))));
        }
        if (!short_) return;
        for (size_t i : row) {
            if (Width(i) < target) GrowRight(i, target - Width(i));
        }
    }

    void FitWidth(size_t i) {
        const LONG inset = boxes_[i].kind == Kind::Group ? 8 : 3;
        if (Needed(i, Px(inset)) > Width(i)) GrowRight(i, WithSlack(Needed(i, Px(inset + 5))) - Width(i));
    }

    // The room a label may take to its right without moving anything: up to the next control
    // beside it, or the inside of the group box it is in, or the dialog's content.
    LONG FreeRight(size_t i, const RECT& content) const {
        const RECT& me = boxes_[i].place;
        LONG limit = content.right;
        for (size_t j = 0; j < boxes_.size(); ++j) {
            const RECT& other = boxes_[j].place;
            if (j == i) continue;
            if (boxes_[j].kind == Kind::Group && Contains(other, me)) {
                limit = std::min(limit, other.right - Px(8));
            } else if (other.left >= me.right && Overlap(me.top, me.bottom, other.top, other.bottom)) {
                limit = std::min(limit, other.left - Px(4));
            }
        }
        return std::max(limit, me.right);
    }

    void FitLabel(size_t i, const RECT& content) {
        Box& box = boxes_[i];
        std::wstring text = TextOf(box.window);
        if (box.kind == Kind::Link) text = WithoutMarkup(text);
        if (text.empty()) return;
        const LONG style = GetWindowLongW(box.window, GWL_STYLE);
        const UINT flags = DT_EXPANDTABS | ((style & SS_NOPREFIX) || box.kind == Kind::Link ? DT_NOPREFIX : 0);
        const LONG single = Measure(box.window, text, 0, flags | DT_SINGLELINE).cx;
        const UINT wrap = box.wraps ? DT_WORDBREAK : DT_SINGLELINE;
        SIZE need = Measure(box.window, text, Width(i), flags | wrap);
        if (need.cx <= Width(i) && need.cy <= box.place.bottom - box.place.top) return;
        // Into the free room first: one line if it fits there, else as wide as it goes.
        const LONG widest = FreeRight(i, content) - box.place.left;
        box.place.right = box.place.left + std::max(Width(i), std::min(widest, WithSlack(single) + Px(4)));
        need = Measure(box.window, text, Width(i), flags | wrap);
        if (need.cx > Width(i)) GrowRight(i, WithSlack(need.cx) + Px(4) - Width(i));
        const LONG height = box.place.bottom - box.place.top;
        if (need.cy > height) GrowDown(i, need.cy - height);
    }

    void GrowRight(size_t i, LONG by) {
        if (by <= 0) return;
        const RECT before = boxes_[i].place;
        boxes_[i].place.right += by;
        for (size_t j = 0; j < boxes_.size(); ++j) {
            RECT& other = boxes_[j].place;
            if (j == i || other.left < before.right) continue;
            if (Overlap(before.top, before.bottom, other.top, other.bottom)) OffsetRect(&other, by, 0);
        }
        for (size_t j = 0; j < boxes_.size(); ++j) {
            if (j != i && boxes_[j].kind == Kind::Group && Contains(boxes_[j].place, before) &&
                boxes_[j].place.right < boxes_[i].place.right + Px(8)) {
                GrowRight(j, boxes_[i].place.right + Px(8) - boxes_[j].place.right);
            }
        }
    }

    void GrowDown(size_t i, LONG by) {
        const RECT before = boxes_[i].place;
        boxes_[i].place.bottom += by;
        for (size_t j = 0; j < boxes_.size(); ++j) {
            RECT& other = boxes_[j].place;
            if (j == i) continue;
            if (other.top >= before.bottom) OffsetRect(&other, 0, by);
            else if (boxes_[j].kind == Kind::Group && Contains(other, before)) other.bottom += by;
        }
    }

    // A centred row keeps its centre, never further left than the content begins.
    void KeepCentred(const std::vector<size_t>& row, const RECT& content) {
        const LONG before = (boxes_[row.front()].original.left + boxes_[row.back()].original.right) / 2;
        const LONG now = (boxes_[row.front()].place.left + boxes_[row.back()].place.right) / 2;
        LONG shift = before - now;
        shift = std::max(shift, content.left - boxes_[row.front()].place.left);
        if (shift > 0) shift = 0;
        for (size_t i : row) OffsetRect(&boxes_[i].place, shift, 0);
    }

    void Resize(const RECT& content) {
        const RECT now = Extent();
        const LONG wider = std::max(0L, now.right - content.right);
        const LONG taller = std::max(0L, now.bottom - content.bottom);
        for (Box& box : boxes_) {
            // A control that spanned the content (a list, a line) spans it still.
            if (wider > 0 && box.place.right == box.original.right &&
                box.original.left <= content.left + Px(1) && box.original.right >= content.right - Px(1)) {
                box.place.right += wider;
            }
        }
        for (const Box& box : boxes_) {
            if (!EqualRect(&box.place, &box.original)) {
                SetWindowPos(box.window, nullptr, box.place.left, box.place.top,
                             box.place.right - box.place.left, box.place.bottom - box.place.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        if (wider == 0 && taller == 0) return;
        RECT window;
        GetWindowRect(dialog_, &window);
        const bool centre = keepCentre_ && (GetWindowLongW(dialog_, GWL_STYLE) & DS_CENTER) != 0;
        SetWindowPos(dialog_, nullptr, window.left - (centre ? wider / 2 : 0),
                     window.top - (centre ? taller / 2 : 0), window.right - window.left + wider,
                     window.bottom - window.top + taller, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    HWND dialog_;
    UINT dpi_;
    bool keepCentre_;
    std::vector<Box> boxes_;
};

}  // namespace

void FitToTexts(HWND dialog, bool keepCentre) {
    if (!IsWindow(dialog)) return;
    Fitter fitter(dialog, keepCentre);
    fitter.Fit();
}
