#include "winframe/WindowObject.h"

#include "winframe/WindowBinding.h"

#include <vector>

WindowObject::~WindowObject() {
    Detach();
}

LRESULT WindowObject::SendMsg(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(handle_, message, wParam, lParam);
}

HWND WindowObject::GetChild(int id) {
    return GetDlgItem(handle_, id);
}

bool WindowObject::SetText(const std::wstring& text) {
    return SetWindowTextW(handle_, text.c_str()) != 0;
}

bool WindowObject::GetText(std::wstring& text) {
    if (!IsWindow(handle_)) {
        return false;
    }
    int length = GetWindowTextLengthW(handle_);
    if (length <= 0) {
        return false;
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(handle_, buffer.data(), length + 1);
    if (copied == 0) {
        return false;
    }
    text.assign(buffer.data(), static_cast<size_t>(copied));
    return true;
}

BOOL WindowObject::Disable() {
    return EnableWindow(handle_, FALSE);
}

HWND WindowObject::Focus() {
    return SetFocus(handle_);
}

BOOL WindowObject::Show() {
    return ShowWindow(handle_, SW_SHOW);
}

BOOL WindowObject::Hide() {
    return ShowWindow(handle_, SW_HIDE);
}

bool WindowObject::Move(int x, int y, int width, int height, bool repaint) {
    return MoveWindow(handle_, x, y, width, height, repaint ? TRUE : FALSE) != 0;
}

bool WindowObject::GetRect(ChildRect* rect) {
    if (rect == nullptr || !IsWindow(handle_)) {
        return false;
    }
    RECT screen;
    if (!GetWindowRect(handle_, &screen)) {
        return false;
    }
    rect->screen = screen;
    rect->left = screen.left;
    rect->top = screen.top;
    rect->right = screen.right;
    rect->bottom = screen.bottom;
    rect->width = screen.right - screen.left;
    rect->height = screen.bottom - screen.top;
    // GetParent also yields the owner of an owned top-level window.
    HWND parent = GetParent(handle_);
    if (parent == nullptr) {
        return true;
    }
    POINT topLeft = {screen.left, screen.top};
    POINT bottomRight = {screen.right, screen.bottom};
    if (!ScreenToClient(parent, &topLeft) || !ScreenToClient(parent, &bottomRight)) {
        return false;
    }
    rect->left = topLeft.x;
    rect->top = topLeft.y;
    rect->right = bottomRight.x;
    rect->bottom = bottomRight.y;
    return true;
}

LRESULT WindowObject::SetSmallIcon(HICON icon) {
    return SendMsg(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

LRESULT WindowObject::SetBigIcon(HICON icon) {
    return SendMsg(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

HICON WindowObject::GetBigIcon() {
    return reinterpret_cast<HICON>(SendMsg(WM_GETICON, ICON_BIG, 0));
}

bool WindowObject::Subclass(HWND handle, WNDPROC procedure) {
    if (!IsWindow(handle)) {
        return false;
    }
    // A window already running this procedure (bound by creation) would forward to itself
    // for ever once its own procedure were stored as the previous one.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle, GWLP_WNDPROC)) == procedure) {
        return false;
    }
    if (!StoreWindowObject(handle, this)) {
        return false;
    }
    SetLastError(0);
    LONG_PTR previous =
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    if (previous == 0 && GetLastError() != 0) {
        return false;
    }
    if (!StorePreviousProc(handle, reinterpret_cast<WNDPROC>(previous))) {
        // Without the property the window would lose its own procedure: put it back.
        SetWindowLongPtrW(handle, GWLP_WNDPROC, previous);
        return false;
    }
    handle_ = handle;
    return true;
}

bool WindowObject::Detach() {
    WNDPROC previous = FetchPreviousProc(handle_);
    if (previous == nullptr) {
        return false;
    }
    SetLastError(0);
    if (SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous)) == 0 &&
        GetLastError() != 0) {
        return false;
    }
    if (!StoreWindowObject(handle_, nullptr)) {
        return false;
    }
    if (!StorePreviousProc(handle_, nullptr)) {
        return false;
    }
    handle_ = nullptr;
    return true;
}
