// The per-window slots that bind an object to a window, and the two message dispatchers that
// read them. Each function tests IsWindow first and fails quietly for anything else.
#pragma once

#include <windows.h>

class WindowObject;

// The object pointer lives in the window's user data (GWLP_USERDATA).
bool StoreWindowObject(HWND handle, WindowObject* object);
WindowObject* FetchWindowObject(HWND handle);

// The procedure replaced by a subclassing lives in the window property "WNDPROC"; storing null
// removes the property.
bool StorePreviousProc(HWND handle, WNDPROC procedure);
WNDPROC FetchPreviousProc(HWND handle);

// Used on WM_CREATE and WM_INITDIALOG: stores the object and sets its handle. False for a null
// object (nothing bound) or a non-window.
bool BindWindowObject(HWND handle, WindowObject* object);

// The subclassed procedure when there is an object and a "WNDPROC" property, else DefWindowProcW.
LRESULT ForwardMessage(WindowObject* object, HWND handle, UINT message, WPARAM wParam,
                       LPARAM lParam);

// Window procedure of BaseWindow classes and of windows a BaseWindow subclassed.
LRESULT CALLBACK WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
// Dialog procedure of every BaseDialog.
INT_PTR CALLBACK DialogProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
