#include "winframe/WindowBinding.h"

#include "winframe/BaseDialog.h"
#include "winframe/BaseWindow.h"

namespace {
const wchar_t kPreviousProcProperty[] = L"WNDPROC";
}

bool StoreWindowObject(HWND handle, WindowObject* object) {
    if (!IsWindow(handle)) {
        return false;
    }
    // A previous value of 0 is legitimate; only the last error tells a failure apart.
    SetLastError(0);
    LONG_PTR previous =
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return previous != 0 || GetLastError() == 0;
}

WindowObject* FetchWindowObject(HWND handle) {
    if (!IsWindow(handle)) {
        return nullptr;
    }
    return reinterpret_cast<WindowObject*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
}

bool StorePreviousProc(HWND handle, WNDPROC procedure) {
    if (!IsWindow(handle)) {
        return false;
    }
    if (procedure != nullptr) {
        return SetPropW(handle, kPreviousProcProperty, reinterpret_cast<HANDLE>(procedure)) != 0;
    }
    return RemovePropW(handle, kPreviousProcProperty) != nullptr;
}

WNDPROC FetchPreviousProc(HWND handle) {
    if (!IsWindow(handle)) {
        return nullptr;
    }
    return reinterpret_cast<WNDPROC>(GetPropW(handle, kPreviousProcProperty));
}

bool BindWindowObject(HWND handle, WindowObject* object) {
    if (!StoreWindowObject(handle, object) || object == nullptr) {
        return false;
    }
    object->handle_ = handle;
    return true;
}

LRESULT ForwardMessage(WindowObject* object, HWND handle, UINT message, WPARAM wParam,
                       LPARAM lParam) {
    if (object != nullptr) {
        WNDPROC previous = FetchPreviousProc(handle);
        if (previous != nullptr) {
            return CallWindowProcW(previous, handle, message, wParam, lParam);
        }
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

LRESULT CALLBACK WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    // Only BaseWindow objects are ever bound to windows running this procedure.
    auto* window = static_cast<BaseWindow*>(FetchWindowObject(handle));
    if (message == WM_CREATE) {
        if (lParam != 0) {
            auto* object = static_cast<WindowObject*>(
                reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            if (BindWindowObject(handle, object)) {
                window = static_cast<BaseWindow*>(object);
                // Creation goes on whatever OnCreate says; the forwarded result decides.
                window->OnCreate(wParam, lParam);
            }
        }
        return ForwardMessage(window, handle, message, wParam, lParam);
    }
    if (window == nullptr) {
        // WM_NCCREATE, WM_GETMINMAXINFO, WM_NCCALCSIZE arrive before anything is bound.
        return ForwardMessage(nullptr, handle, message, wParam, lParam);
    }
    switch (message) {
    case WM_COMMAND: return window->OnCommand(wParam, lParam);
    case WM_PAINT: return window->OnPaint(wParam, lParam);
    case WM_NCPAINT: return window->OnNcPaint(wParam, lParam);
    case WM_SIZE: return window->OnSize(wParam, lParam);
    case WM_DESTROY: return window->OnDestroy(wParam, lParam);
    case WM_CLOSE: return window->OnClose(wParam, lParam);
    case WM_DRAWITEM: return window->OnDrawItem(wParam, lParam);
    case WM_NOTIFY: return window->OnNotify(wParam, lParam);
    case WM_LBUTTONDOWN: return window->OnLButtonDown(wParam, lParam);
    case WM_LBUTTONUP: return window->OnLButtonUp(wParam, lParam);
    case WM_LBUTTONDBLCLK: return window->OnLButtonDblClk(wParam, lParam);
    case WM_RBUTTONDOWN: return window->OnRButtonDown(wParam, lParam);
    case WM_RBUTTONUP: return window->OnRButtonUp(wParam, lParam);
    case WM_CHAR: return window->OnChar(wParam, lParam);
    case WM_SETCURSOR: return window->OnSetCursor(wParam, lParam);
    case WM_CAPTURECHANGED: return window->OnCaptureChanged(wParam, lParam);
    case WM_MOUSEMOVE: return window->OnMouseMove(wParam, lParam);
    case WM_MOUSELEAVE: return window->OnMouseLeave(wParam, lParam);
    case WM_MOUSEHOVER: return window->OnMouseHover(wParam, lParam);
    case WM_MEASUREITEM: return window->OnMeasureItem(wParam, lParam);
    case WM_KEYDOWN: return window->OnKeyDown(wParam, lParam);
    case WM_KILLFOCUS: return window->OnKillFocus(wParam, lParam);
    case WM_SETFOCUS: return window->OnSetFocus(wParam, lParam);
    case WM_SETFONT: return window->OnSetFont(wParam, lParam);
    case WM_NCMOUSELEAVE: return window->OnNcMouseLeave(wParam, lParam);
    case WM_NCHITTEST: return window->OnNcHitTest(wParam, lParam);
    case WM_PARENTNOTIFY: return window->OnParentNotify(wParam, lParam);
    case WM_ACTIVATE: return window->OnActivate(wParam, lParam);
    case WM_SHOWWINDOW: return window->OnShowWindow(wParam, lParam);
    case WM_TIMER: return window->OnTimer(wParam, lParam);
    case WM_COPYDATA: return window->OnCopyData(wParam, lParam);
    default: return ForwardMessage(window, handle, message, wParam, lParam);
    }
}

INT_PTR CALLBACK DialogProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = static_cast<BaseDialog*>(FetchWindowObject(handle));
    if (message == WM_INITDIALOG) {
        auto* object = reinterpret_cast<WindowObject*>(lParam);
        if (object != nullptr && BindWindowObject(handle, object)) {
            auto* created = static_cast<BaseDialog*>(object);
            created->OnCreate(wParam, lParam);
            // OnCreate may have ended the dialog already.
            if (IsWindow(handle)) created->ApplyTheme();
        }
        // 0: the dialog manager leaves the focus where OnCreate put it.
        return 0;
    }
    if (dialog == nullptr) {
        return 0;
    }
    // Non-zero means handled; DWLP_MSGRESULT is left to the handlers.
    switch (message) {
    case WM_COMMAND: return dialog->OnCommand(wParam, lParam);
    case WM_PAINT: return dialog->OnPaint(wParam, lParam);
    case WM_NCPAINT: return dialog->OnNcPaint(wParam, lParam);
    case WM_SIZE: return dialog->OnSize(wParam, lParam);
    case WM_DESTROY: return dialog->OnDestroy(wParam, lParam);
    case WM_CLOSE: return dialog->OnClose(wParam, lParam);
    case WM_DRAWITEM: return dialog->OnDrawItem(wParam, lParam);
    case WM_NOTIFY: return dialog->OnNotify(wParam, lParam);
    case WM_LBUTTONDOWN: return dialog->OnLButtonDown(wParam, lParam);
    case WM_LBUTTONUP: return dialog->OnLButtonUp(wParam, lParam);
    case WM_LBUTTONDBLCLK: return dialog->OnLButtonDblClk(wParam, lParam);
    case WM_RBUTTONDOWN: return dialog->OnRButtonDown(wParam, lParam);
    case WM_RBUTTONUP: return dialog->OnRButtonUp(wParam, lParam);
    case WM_CHAR: return dialog->OnChar(wParam, lParam);
    case WM_SETCURSOR: return dialog->OnSetCursor(wParam, lParam);
    case WM_CAPTURECHANGED: return dialog->OnCaptureChanged(wParam, lParam);
    case WM_MOUSEMOVE: return dialog->OnMouseMove(wParam, lParam);
    case WM_MOUSELEAVE: return dialog->OnMouseLeave(wParam, lParam);
    case WM_MOUSEHOVER: return dialog->OnMouseHover(wParam, lParam);
    case WM_MEASUREITEM: return dialog->OnMeasureItem(wParam, lParam);
    case WM_KEYDOWN: return dialog->OnKeyDown(wParam, lParam);
    case WM_KILLFOCUS: return dialog->OnKillFocus(wParam, lParam);
    case WM_SETFOCUS: return dialog->OnSetFocus(wParam, lParam);
    case WM_SETFONT: return dialog->OnSetFont(wParam, lParam);
    case WM_NCMOUSELEAVE: return dialog->OnNcMouseLeave(wParam, lParam);
    case WM_NCHITTEST: return dialog->OnNcHitTest(wParam, lParam);
    case WM_SHOWWINDOW: return dialog->OnShowWindow(wParam, lParam);
    case WM_TIMER: return dialog->OnTimer(wParam, lParam);
    case WM_COPYDATA: return dialog->OnCopyData(wParam, lParam);
    case WM_DPICHANGED: return dialog->OnDpiChanged(wParam, lParam);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        // The one kind of dialog-procedure answer that is a handle, not a flag.
        return dialog->ThemeColors(message, reinterpret_cast<HDC>(wParam));
    default: return 0;
    }
}
