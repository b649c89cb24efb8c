// Formatting, message boxes, trace lines, lower-casing and the program's directory: every
// user-visible text and diagnostic of both deliverables passes through these.
#pragma once

#include <windows.h>

#include <string>

// Working buffer of one formatting call; at most kFormatBufferUnits - 1 units of output survive.
constexpr size_t kFormatBufferUnits = 4096;

// Formats in the platform's wide printf dialect: %s is a wide string, %I64d a 64-bit integer.
void FormatString(std::wstring& out, const wchar_t* format, ...);
void FormatStringV(std::wstring& out, const wchar_t* format, va_list args);

int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
int ShowFormattedMessage(HWND owner, const std::wstring& caption, UINT type, const wchar_t* format,
                         ...);

// A diagnostic line for the debugger output only.
void Trace(const wchar_t* format, ...);

// Folds 'A'..'Z' to 'a'..'z' in place; every other character stays as it is.
void ToLower(std::wstring& text);

// The running executable's directory with its trailing backslash (C:\Tools\ for C:\Tools\app.exe).
bool GetModuleDirectory(std::wstring& out);
