#include "winframe/Dpi.h"

#include <initializer_list>

namespace {

// A user32 function that older systems lack, or null.
template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
               : nullptr;
}

}  // namespace

UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow =
        User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

int ScaleToDpi(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), kDefaultDpi);
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto getSystemMetricsForDpi =
        User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr) return getSystemMetricsForDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

HICON LoadIconAtSize(HMODULE module, LPCWSTR name, int size) {
    return static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void TakeOverDialogDpiChanges(HWND dialog) {
    // DIALOG_DPI_CHANGE_BEHAVIORS: DDC_DISABLE_ALL for every behaviour.
    static const auto setBehavior =
        User32Function<BOOL(WINAPI*)(HWND, int, int)>("SetDialogDpiChangeBehavior");
    if (setBehavior != nullptr) setBehavior(dialog, 1, 1);
}

bool UsePerMonitorDpiAwareness() {
    using Context = HANDLE;  // DPI_AWARENESS_CONTEXT, which headers for older systems lack
    static const auto setThread =
        User32Function<Context(WINAPI*)(Context)>("SetThreadDpiAwarenessContext");
    static const auto setProcess =
        User32Function<BOOL(WINAPI*)(Context)>("SetProcessDpiAwarenessContext");
    if (setThread == nullptr) return false;
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, then _PER_MONITOR_AWARE where v2 is unknown.
    for (Context context : {reinterpret_cast<Context>(-4), reinterpret_cast<Context>(-3)}) {
        // The process default first, so that threads started later follow; it fails where a
        // manifest or an earlier call fixed it, and this thread is set all the same.
        if (setProcess != nullptr) setProcess(context);
        if (setThread(context) != nullptr) return true;
    }
    return false;
}
