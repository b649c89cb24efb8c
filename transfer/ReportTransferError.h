// The report of a file that could not be copied or moved, with the system's text for the last
// error.
#pragma once

#include <windows.h>

#include <string>

// The message box's answer: IDOK, or IDYES / IDNO to "continue with the next file?" when
// `multiple` (0 if the box could not be shown). A failed file is always reported.
int ReportTransferError(HWND parent, const std::wstring& source, const std::wstring& target,
                        bool multiple, bool isCopy, LANGID language);

// One look-up of the system's text for `error` in `language` (0: the user's own); true with
// the text, its line break included, when there is one.
using SystemMessageLookup = bool (*)(DWORD error, DWORD language, std::wstring& text);
bool LookUpSystemMessage(DWORD error, DWORD language, std::wstring& text);

// The text for `error`: in `language` (Wendrift's, where Windows has its messages), else in US
// English, else in the user's language, else "Error N (0x...)" in `language`; always ending
// in a line break, as the system's texts do.
std::wstring SystemErrorText(DWORD error, LANGID language,
                             SystemMessageLookup lookup = LookUpSystemMessage);
