#include "config/StartChecks.h"

#include "store/ShellRegistrar.h"

bool IsSupportedWindowsVersion(DWORD major, DWORD minor) {
    return major > 5 || (major == 5 && minor >= 1);
}

std::wstring LibraryPathBeside(const std::wstring& programDirectory) {
    return programDirectory + kLibraryFileName;
}

bool LibraryIsPresent(const std::wstring& libraryPath) {
    return GetFileAttributesW(libraryPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}
