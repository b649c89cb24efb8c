// Pixels per inch of the monitor a window is on, and sizes for it. The functions that know
// per-monitor DPI exist only from Windows 10 on: they are looked up at run time, and on older
// systems the system DPI stands in for every monitor.
#pragma once

#include <windows.h>

// 100% scaling.
constexpr UINT kDefaultDpi = 96;

// The system DPI: the one every monitor has where the platform knows no other.
UINT SystemDpi();
// The DPI of the monitor `window` is on.
UINT WindowDpi(HWND window);
// `pixels` at 100% scaling, at `dpi`.
int ScaleToDpi(int pixels, UINT dpi);
// A system metric (SM_CXSMICON, SM_CXICON...) at `dpi`.
int SystemMetricForDpi(int index, UINT dpi);
// Icon `name` of `module` at `size` pixels square, the image of that size where the icon has
// one; null when there is no such icon. The caller destroys it.
HICON LoadIconAtSize(HMODULE module, LPCWSTR name, int size);
// Leaves a dialog's DPI changes to the dialog itself: the dialog manager of Windows 10 would
// otherwise rescale the template's controls as well, and miss the ones made at run time.
void TakeOverDialogDpiChanges(HWND dialog);
// Makes the windows this thread creates from now on per-monitor DPI aware (v2 where the system
// knows it, else v1), and the process's later threads too where its default is still open: for
// a process that runs nothing but Wendrift's dialogs and whose manifest declares no awareness.
// False where the system knows no per-monitor awareness for threads (before Windows 10 1607).
bool UsePerMonitorDpiAwareness();
