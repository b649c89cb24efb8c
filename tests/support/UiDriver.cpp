#include "UiDriver.h"

#include <wincodec.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

// How long a WM_GETTEXT may take before the driver gives up on a hung window.
constexpr UINT kSendTimeoutMs = 2000;

struct Match {
    const wchar_t* className;
    const wchar_t* caption;
    bool prefix;
    bool visibleOnly;
    DWORD processId;  // 0: any
    HWND found;
};

bool Matches(HWND window, const Match& match) {
    if (match.visibleOnly && !IsWindowVisible(window)) {
        return false;
    }
    if (match.processId != 0) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId != match.processId) {
            return false;
        }
    }
    if (match.className != nullptr) {
        wchar_t className[256] = {};
        GetClassNameW(window, className, 256);
        if (_wcsicmp(className, match.className) != 0) {
            return false;
        }
    }
    if (match.caption != nullptr) {
        // The caption as stored, without sending a message a busy thread would have to answer.
        wchar_t caption[512] = {};
        InternalGetWindowText(window, caption, 512);
        std::wstring text = caption;
        if (match.prefix ? text.compare(0, wcslen(match.caption), match.caption) != 0
                         : text != match.caption) {
            return false;
        }
    }
    return true;
}

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    Match& match = *reinterpret_cast<Match*>(param);
    if (Matches(window, match)) {
        match.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND Poll(Match match, DWORD threadId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            match.found = nullptr;
            if (threadId != 0) {
                EnumThreadWindows(threadId, Visit, reinterpret_cast<LPARAM>(&match));
            } else {
                EnumWindows(Visit, reinterpret_cast<LPARAM>(&match));
            }
            found = match.found;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

// Releases a COM interface at scope end.
template <typename T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p != nullptr) {
            p->Release();
        }
    }
    T** operator&() { return &p; }
    T* operator->() { return p; }
};

// Copies the window's screen area into 24-bit BGR rows, top row first, each padded to 4 bytes.
bool CaptureScreenArea(const RECT& area, std::vector<BYTE>& pixels, UINT& stride) {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return false;
    }
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    bool ok = false;
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != 0;
        SelectObject(memory, old);
        if (ok) {
            BITMAPINFO info = {};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = width;
            info.bmiHeader.biHeight = -height;  // top-down
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 24;
            info.bmiHeader.biCompression = BI_RGB;
            stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
            pixels.assign(static_cast<size_t>(stride) * height, 0);
            ok = GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS) ==
                 height;
        }
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (memory != nullptr) {
        DeleteDC(memory);
    }
    ReleaseDC(nullptr, screen);
    return ok;
}

bool EncodePng(const std::wstring& path, UINT width, UINT height, UINT stride,
               std::vector<BYTE>& pixels) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory)))) {
        return false;
    }
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    return SUCCEEDED(factory->CreateStream(&stream)) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
           SUCCEEDED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
           SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->SetSize(width, height)) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) &&
           IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
           SUCCEEDED(frame->WritePixels(height, stride, static_cast<UINT>(pixels.size()),
                                        pixels.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs,
                   bool visibleOnly) {
    return Poll({className, caption, false, visibleOnly, 0, nullptr}, 0, timeoutMs);
}

HWND WaitForWindowPrefix(const wchar_t* className, const wchar_t* captionPrefix,
                         DWORD timeoutMs, bool visibleOnly) {
    return Poll({className, captionPrefix, true, visibleOnly, 0, nullptr}, 0, timeoutMs);
}

HWND WaitForThreadWindow(DWORD threadId, const wchar_t* className, const wchar_t* caption,
                         DWORD timeoutMs, bool visibleOnly) {
    if (threadId == 0) {
        return nullptr;
    }
    return Poll({className, caption, false, visibleOnly, 0, nullptr}, threadId, timeoutMs);
}

HWND WaitForProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                          DWORD timeoutMs, bool visibleOnly) {
    if (processId == 0) {
        return nullptr;
    }
    return Poll({className, caption, false, visibleOnly, processId, nullptr}, 0, timeoutMs);
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([window] { return window == nullptr || !IsWindow(window); }, timeoutMs);
}

bool WaitForNoWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
            Match match = {className, caption, false, false, 0, nullptr};
            EnumWindows(Visit, reinterpret_cast<LPARAM>(&match));
            return match.found == nullptr;
        },
        timeoutMs);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(kUiPollMs);
    }
}

std::wstring WindowText(HWND window) {
    if (window == nullptr || !IsWindow(window)) {
        return std::wstring();
    }
    // The window's thread may change the text between the two messages: a text that fills the
    // buffer may have been cut, so it is read again with more room.
    for (DWORD_PTR room = 256;; room *= 2) {
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                                 kSendTimeoutMs, &length) ||
            length == 0) {
            return std::wstring();
        }
        if (room <= length) room = length + 1;
        std::vector<wchar_t> buffer(room + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(window, WM_GETTEXT, room, reinterpret_cast<LPARAM>(buffer.data()),
                                 SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied)) {
            return std::wstring();
        }
        if (copied + 1 < room) return std::wstring(buffer.data(), copied);
    }
}

std::wstring ControlText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

std::wstring MessageBoxText(HWND box) {
    return ControlText(box, 0xFFFF);
}

void ClickButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button != nullptr) {
        PostMessageW(button, BM_CLICK, 0, 0);
    }
}

void PostCommand(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring AnswerMessageBox(const wchar_t* caption, int buttonId, DWORD timeoutMs) {
    HWND box = WaitForWindow(L"#32770", caption, timeoutMs);
    if (box == nullptr) {
        return std::wstring();
    }
    std::wstring text = MessageBoxText(box);
    // The box's own procedure ends it on the command; a click would need the box active.
    PostCommand(box, buttonId);
    WaitForWindowGone(box, timeoutMs);
    return text;
}

bool SaveWindowPng(HWND window, const std::wstring& path) {
    RECT area;
    if (window == nullptr || !GetWindowRect(window, &area)) {
        return false;
    }
    // Give the window's thread a moment to finish painting what it was just told.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return SaveScreenAreaPng(area, path);
}

bool SaveScreenAreaPng(const RECT& area, const std::wstring& path) {
    GdiFlush();
    // What this process's windows painted reaches the screen when a thread finds its queue
    // empty (Wine flushes every window's drawing then).
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    std::vector<BYTE> pixels;
    UINT stride = 0;
    if (!CaptureScreenArea(area, pixels, stride)) {
        return false;
    }
    HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    bool ok = EncodePng(path, static_cast<UINT>(area.right - area.left),
                        static_cast<UINT>(area.bottom - area.top), stride, pixels);
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return ok;
}

Watchdog::Watchdog(DWORD seconds, const std::string& what) : seconds_(seconds), what_(what) {
    disarmed_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

Watchdog::~Watchdog() {
    SetEvent(disarmed_);
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    CloseHandle(disarmed_);
}

DWORD WINAPI Watchdog::Run(void* self) {
    auto* dog = static_cast<Watchdog*>(self);
    if (WaitForSingleObject(dog->disarmed_, dog->seconds_ * 1000) == WAIT_TIMEOUT) {
        std::fprintf(stderr, "\nWATCHDOG: still running after %lu s%s%s; ending the process.\n",
                     static_cast<unsigned long>(dog->seconds_), dog->what_.empty() ? "" : ": ",
                     dog->what_.c_str());
        std::fflush(stderr);
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    return 0;
}

std::wstring UnixToWindowsPath(const std::string& path) {
    std::wstring wide;
    if (!path.empty()) {
        int units = MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                        nullptr, 0);
        wide.resize(static_cast<size_t>(units));
        MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), &wide[0],
                            units);
    }
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    if (!path.empty() && path[0] == '/') {
        wide.insert(0, L"Z:");
    }
    return wide;
}

namespace {

// A folder named by an environment variable (a Unix path) as a Windows path without a trailing
// backslash; empty when the variable is not set.
std::wstring FolderFromEnvironment(const char* variable) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') {
        return std::wstring();
    }
    std::wstring dir = UnixToWindowsPath(value);
    while (dir.size() > 3 && dir.back() == L'\\') {
        dir.pop_back();
    }
    return dir;
}

}  // namespace

std::wstring BuildDir() { return FolderFromEnvironment("WENDRIFT_BUILD_DIR"); }

std::wstring ProductDir() {
    const std::wstring product = FolderFromEnvironment("WENDRIFT_PRODUCT_DIR");
    return product.empty() ? BuildDir() : product;
}
