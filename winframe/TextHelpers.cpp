#include "winframe/TextHelpers.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

void FormatStringV(std::wstring& out, const wchar_t* format, va_list args) {
    // Zero-filled so that a formatting error leaves whatever was written, terminated.
    wchar_t buffer[kFormatBufferUnits] = {};
    if (format != nullptr) {
        // msvcrt's own _vsnwprintf (not mingw's C99 vswprintf): %s is wide, %I64d is 64-bit.
        _vsnwprintf(buffer, kFormatBufferUnits, format, args);
    }
    // Output that filled the whole buffer comes back unterminated: cut it at 4095 units.
    buffer[kFormatBufferUnits - 1] = L'\0';
    out.assign(buffer);
}

void FormatString(std::wstring& out, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatStringV(out, format, args);
    va_end(args);
}

int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

int ShowFormattedMessage(HWND owner, const std::wstring& caption, UINT type, const wchar_t* format,
                         ...) {
    std::wstring text;
    va_list args;
    va_start(args, format);
    FormatStringV(text, format, args);
    va_end(args);
    return ShowMessage(owner, text, caption, type);
}

void Trace(const wchar_t* format, ...) {
    std::wstring text;
    va_list args;
    va_start(args, format);
    FormatStringV(text, format, args);
    va_end(args);
    OutputDebugStringW(text.c_str());
}

void ToLower(std::wstring& text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
}

bool GetModuleDirectory(std::wstring& out) {
    wchar_t path[MAX_PATH] = {};
    if (GetModuleFileNameW(GetModuleHandleW(nullptr), path, MAX_PATH) == 0) return false;
    // Scan back to the second character: a path without a backslash after it stays whole.
    for (size_t i = wcslen(path); i-- > 1;) {
        if (path[i] == L'\\') {
            path[i + 1] = L'\0';
            break;
        }
    }
    out.assign(path);
    return true;
}
