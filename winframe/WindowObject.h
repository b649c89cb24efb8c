// Root of the window framework: an object bound to one window handle, with the operations every
// window and dialog wrapper shares. The binding lives in the window's user data (the object
// pointer) and, while the window is subclassed, in its "WNDPROC" property (the procedure that
// was in place before).
//
// Handler results: every message handler of BaseWindow and BaseDialog takes (wParam, lParam)
// and returns a 32-bit signed `int`, as the framework's message table defines them. The
// dispatchers widen it (sign-extended) to LRESULT / INT_PTR. Handlers that need a 64-bit result
// (none of the dispatched messages do) answer the message themselves.
#pragma once

#include <windows.h>

#include <string>

struct ChildRect;

class WindowObject {
public:
    WindowObject() = default;
    // Undoes a subclassing; a window bound by WM_CREATE / WM_INITDIALOG keeps its user data, so
    // such an object must outlive its window.
    virtual ~WindowObject();
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    virtual bool Attach(HWND handle) = 0;

    // Null while unbound; keeps its (stale) value after the window was destroyed.
    HWND Handle() const { return handle_; }

    LRESULT SendMsg(UINT message, WPARAM wParam, LPARAM lParam);
    HWND GetChild(int id);
    bool SetText(const std::wstring& text);
    // False for a non-window or an empty text; `text` is then left as it was.
    bool GetText(std::wstring& text);
    BOOL Disable();
    HWND Focus();
    BOOL Show();
    BOOL Hide();
    bool Move(int x, int y, int width, int height, bool repaint);
    // Position in the parent's (or owner's) client coordinates plus the screen rectangle.
    bool GetRect(ChildRect* rect);
    LRESULT SetSmallIcon(HICON icon);
    LRESULT SetBigIcon(HICON icon);
    HICON GetBigIcon();
    // True when a subclassing was undone; false (handle kept) when the window was not
    // subclassed by this object, for instance bound by WM_CREATE or WM_INITDIALOG.
    bool Detach();

protected:
    // Replaces the window's procedure by `procedure`, remembering the old one in "WNDPROC".
    bool Subclass(HWND handle, WNDPROC procedure);

    HWND handle_ = nullptr;

    friend bool BindWindowObject(HWND handle, WindowObject* object);
};

// Filled by WindowObject::GetRect.
struct ChildRect {
    // The window in its parent's client coordinates (screen coordinates for a window without
    // parent or owner).
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
    RECT screen = {};
    LONG width = 0;
    LONG height = 0;
};
