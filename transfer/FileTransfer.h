// Copies or moves one file with the platform's calls (through the TransferPlatform seam).
#pragma once

#include <windows.h>

#include <string>

struct ProgressContext;

// False with the last error set when the file was not transferred; ERROR_REQUEST_ABORTED
// means the user cancelled it.
bool TransferFile(const std::wstring& source, const std::wstring& target, bool isCopy,
                  ProgressContext& context, BOOL* cancelFlag);
