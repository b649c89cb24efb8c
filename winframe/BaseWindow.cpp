#include "winframe/BaseWindow.h"

#include "winframe/LibraryContext.h"
#include "winframe/WindowBinding.h"

BaseWindow::~BaseWindow() = default;

bool BaseWindow::Attach(HWND handle) {
    Detach();
    return Subclass(handle, WindowProc);
}

HWND BaseWindow::CreateFromParams(const WindowCreateParams* params) {
    if (params == nullptr) {
        return nullptr;
    }
    return Create(params->extendedStyle, params->className.c_str(), params->windowName.c_str(),
                  params->style, params->x, params->y, params->width, params->height,
                  params->parent, params->menu, params->instance);
}

HWND BaseWindow::Create(DWORD extendedStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                        int x, int y, int width, int height, HWND parent, HMENU menu,
                        HINSTANCE instance) {
    if (instance == nullptr) {
        instance = GetModuleHandleW(nullptr);
    }
    WindowObject* self = this;
    HWND handle;
    {
        ActivationScope scope;
        handle = CreateWindowExW(extendedStyle, className, windowName, style, x, y, width, height,
                                 parent, menu, instance, self);
    }
    if (handle == nullptr) {
        return nullptr;
    }
    WNDCLASSW windowClass = {};
    WNDPROC classProc = GetClassInfoW(instance, className, &windowClass) ? windowClass.lpfnWndProc
                                                                          : nullptr;
    // A class of ours registered under another module is not found by the lookup above, but its
    // window runs WindowProc all the same and was bound during WM_CREATE.
    if (classProc == WindowProc ||
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle, GWLP_WNDPROC)) == WindowProc) {
        return handle;
    }
    // A system or foreign class: bind by subclassing.
    if (!Subclass(handle, WindowProc)) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (OnCreate(0, reinterpret_cast<LPARAM>(self)) == -1) {
        Detach();
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

int BaseWindow::OnCreate(WPARAM, LPARAM) {
    return 0;
}

int BaseWindow::Forward(UINT message, WPARAM wParam, LPARAM lParam) {
    return static_cast<int>(ForwardMessage(this, handle_, message, wParam, lParam));
}

int BaseWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_COMMAND, wParam, lParam);
}

int BaseWindow::OnPaint(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_PAINT, wParam, lParam);
}

int BaseWindow::OnNcPaint(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_NCPAINT, wParam, lParam);
}

int BaseWindow::OnSize(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_SIZE, wParam, lParam);
}

int BaseWindow::OnDestroy(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_DESTROY, wParam, lParam);
}

int BaseWindow::OnClose(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_CLOSE, wParam, lParam);
}

int BaseWindow::OnDrawItem(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_DRAWITEM, wParam, lParam);
}

int BaseWindow::OnNotify(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_NOTIFY, wParam, lParam);
}

int BaseWindow::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_LBUTTONDOWN, wParam, lParam);
}

int BaseWindow::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_LBUTTONUP, wParam, lParam);
}

int BaseWindow::OnLButtonDblClk(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_LBUTTONDBLCLK, wParam, lParam);
}

int BaseWindow::OnRButtonDown(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_RBUTTONDOWN, wParam, lParam);
}

int BaseWindow::OnRButtonUp(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_RBUTTONUP, wParam, lParam);
}

int BaseWindow::OnChar(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_CHAR, wParam, lParam);
}

int BaseWindow::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_SETCURSOR, wParam, lParam);
}

int BaseWindow::OnCaptureChanged(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_CAPTURECHANGED, wParam, lParam);
}

int BaseWindow::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_MOUSEMOVE, wParam, lParam);
}

int BaseWindow::OnMouseLeave(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_MOUSELEAVE, wParam, lParam);
}

int BaseWindow::OnMouseHover(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_MOUSEHOVER, wParam, lParam);
}

int BaseWindow::OnMeasureItem(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_MEASUREITEM, wParam, lParam);
}

int BaseWindow::OnKeyDown(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_KEYDOWN, wParam, lParam);
}

int BaseWindow::OnKillFocus(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_KILLFOCUS, wParam, lParam);
}

int BaseWindow::OnSetFocus(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_SETFOCUS, wParam, lParam);
}

int BaseWindow::OnSetFont(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_SETFONT, wParam, lParam);
}

int BaseWindow::OnNcMouseLeave(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_NCMOUSELEAVE, wParam, lParam);
}

int BaseWindow::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_NCHITTEST, wParam, lParam);
}

int BaseWindow::OnParentNotify(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_PARENTNOTIFY, wParam, lParam);
}

int BaseWindow::OnActivate(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_ACTIVATE, wParam, lParam);
}

int BaseWindow::OnShowWindow(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_SHOWWINDOW, wParam, lParam);
}

int BaseWindow::OnTimer(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_TIMER, wParam, lParam);
}

int BaseWindow::OnCopyData(WPARAM wParam, LPARAM lParam) {
    return Forward(WM_COPYDATA, wParam, lParam);
}
