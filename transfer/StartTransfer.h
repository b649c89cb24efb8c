// Starts copying or moving files into a directory on threads of their own and returns at once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// True when the transfer's UI thread was started.
bool StartTransfer(HWND owner, const std::vector<std::wstring>& files,
                   const std::wstring& destination, bool isCopy);
