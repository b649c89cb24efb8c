// A window or child control whose messages are turned into calls of virtual handlers. Windows
// of a class registered with WindowProc are bound during WM_CREATE; any other window (system
// controls, dialog items) is bound by subclassing it.
#pragma once

#include "winframe/WindowObject.h"

#include <string>

// The arguments of CreateWindowExW, as one record.
struct WindowCreateParams {
    DWORD extendedStyle = 0;
    DWORD style = 0;
    std::wstring className;
    std::wstring windowName;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
    HMENU menu = nullptr;
    HINSTANCE instance = nullptr;
};

class BaseWindow : public WindowObject {
public:
    ~BaseWindow() override;

    // Detaches whatever this object had subclassed, then subclasses `handle` with WindowProc.
    bool Attach(HWND handle) override;
    // Null for a null record, else Create with the record's fields.
    virtual HWND CreateFromParams(const WindowCreateParams* params);
    // A null instance means the program's own module. Returns the new window or null; OnCreate
    // runs exactly once, and a -1 from it (outside WM_CREATE) destroys the window again.
    virtual HWND Create(DWORD extendedStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                        int x, int y, int width, int height, HWND parent, HMENU menu,
                        HINSTANCE instance);
    // WM_CREATE, or the end of Create for a subclassed window (lParam is then the object).
    virtual int OnCreate(WPARAM wParam, LPARAM lParam);

    // Each default passes its message on with ForwardMessage and returns what that returns.
    virtual int OnCommand(WPARAM wParam, LPARAM lParam);
    virtual int OnPaint(WPARAM wParam, LPARAM lParam);
    virtual int OnNcPaint(WPARAM wParam, LPARAM lParam);
    virtual int OnSize(WPARAM wParam, LPARAM lParam);
    virtual int OnDestroy(WPARAM wParam, LPARAM lParam);
    virtual int OnClose(WPARAM wParam, LPARAM lParam);
    virtual int OnDrawItem(WPARAM wParam, LPARAM lParam);
    virtual int OnNotify(WPARAM wParam, LPARAM lParam);
    virtual int OnLButtonDown(WPARAM wParam, LPARAM lParam);
    virtual int OnLButtonUp(WPARAM wParam, LPARAM lParam);
    virtual int OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    virtual int OnRButtonDown(WPARAM wParam, LPARAM lParam);
    virtual int OnRButtonUp(WPARAM wParam, LPARAM lParam);
    virtual int OnChar(WPARAM wParam, LPARAM lParam);
    virtual int OnSetCursor(WPARAM wParam, LPARAM lParam);
    virtual int OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    virtual int OnMouseMove(WPARAM wParam, LPARAM lParam);
    virtual int OnMouseLeave(WPARAM wParam, LPARAM lParam);
    virtual int OnMouseHover(WPARAM wParam, LPARAM lParam);
    virtual int OnMeasureItem(WPARAM wParam, LPARAM lParam);
    virtual int OnKeyDown(WPARAM wParam, LPARAM lParam);
    virtual int OnKillFocus(WPARAM wParam, LPARAM lParam);
    virtual int OnSetFocus(WPARAM wParam, LPARAM lParam);
    virtual int OnSetFont(WPARAM wParam, LPARAM lParam);
    virtual int OnNcMouseLeave(WPARAM wParam, LPARAM lParam);
    virtual int OnNcHitTest(WPARAM wParam, LPARAM lParam);
    virtual int OnParentNotify(WPARAM wParam, LPARAM lParam);
    virtual int OnActivate(WPARAM wParam, LPARAM lParam);
    virtual int OnShowWindow(WPARAM wParam, LPARAM lParam);
    virtual int OnTimer(WPARAM wParam, LPARAM lParam);
    virtual int OnCopyData(WPARAM wParam, LPARAM lParam);

private:
    // Passes the message being handled on; the defaults above use it.
    int Forward(UINT message, WPARAM wParam, LPARAM lParam);
};
