#include "config/DirectoryList.h"

#include <windows.h>
#include <shlwapi.h>

bool CompactDirectoryForDisplay(const std::wstring& directory, std::wstring& display) {
    wchar_t buffer[kDirectoryDisplayChars + 1] = {};
    if (PathCompactPathExW(buffer, directory.c_str(), kDirectoryDisplayChars + 1, 0) != TRUE) {
        return false;
    }
    display.assign(buffer);
    return true;
}
