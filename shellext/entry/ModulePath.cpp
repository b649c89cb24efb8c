#include "shellext/entry/ModulePath.h"

#include "winframe/LibraryContext.h"

bool ModulePath(wchar_t* buffer) {
    if (buffer == nullptr) return false;
    ZeroMemory(buffer, MAX_PATH * sizeof(wchar_t));
    DWORD units = GetModuleFileNameW(LibraryModule(), buffer, MAX_PATH);
    if (units == 0) return false;
    if (units >= MAX_PATH) {
        ZeroMemory(buffer, MAX_PATH * sizeof(wchar_t));
        return false;
    }
    return true;
}
