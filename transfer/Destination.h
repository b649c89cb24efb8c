// The destination folder before a transfer: whether its drive or share is there at all, and
// making it again with every missing parent.
#pragma once

#include <windows.h>

#include <string>

// True unless the path's drive or network share cannot be reached right now (an unplugged
// disk, an offline share, a drive letter with nothing behind it). A path without a drive or
// share root counts as reachable.
bool DestinationReachable(const std::wstring& path);

// Creates the folder and every missing parent. ERROR_SUCCESS, or the error of the first folder
// that could not be made (ERROR_ALREADY_EXISTS when the path itself names something that
// exists).
DWORD CreateDirectoryTree(const std::wstring& path);
