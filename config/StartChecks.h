// The checks the program makes before it opens its main dialog.
#pragma once

#include <windows.h>

#include <string>

// Windows XP (5.1) or later.
bool IsSupportedWindowsVersion(DWORD major, DWORD minor);

// The library the program registers for each extension: its own directory + "Wendrift.dll".
// With an empty directory the name is taken relative to the current directory.
std::wstring LibraryPathBeside(const std::wstring& programDirectory);

// Anything of that name counts, a directory included: the check is only that the installation
// put something there.
bool LibraryIsPresent(const std::wstring& libraryPath);
