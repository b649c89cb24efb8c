// The report of a file that could not be copied or moved, with the system's text for the last
// error.
#pragma once

#include <windows.h>

#include <string>

// The message box's answer (IDOK, or IDYES / IDNO to "continue with the next file?" when
// `multiple`), or -1 when the system has no English text for the error: nothing is shown then.
int ReportTransferError(HWND parent, const std::wstring& source, const std::wstring& target,
                        bool multiple, bool isCopy);
