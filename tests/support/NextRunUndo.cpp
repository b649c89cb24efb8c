#include "NextRunUndo.h"

#include "UiDriver.h"

#include <windows.h>

NextRunUndo::NextRunUndo(const std::wstring& name, const std::wstring& shellLines) {
    if (BuildDir().empty()) return;  // run by hand, outside ctest
    CreateDirectoryW((BuildDir() + L"\\leftovers").c_str(), nullptr);
    path_ = BuildDir() + L"\\leftovers\\" + name + L".sh";
    char text[4096];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, shellLines.c_str(), -1, text, sizeof(text) - 1,
                                    nullptr, nullptr);
    text[bytes > 0 ? bytes - 1 : 0] = '\n';  // in place of the terminating null
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text, bytes > 0 ? bytes : 1, &written, nullptr);
    CloseHandle(file);
}

NextRunUndo::~NextRunUndo() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
}
