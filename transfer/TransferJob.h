// One transfer as the shell handed it over: the record StartTransfer builds and each thread
// copies. Copies are deep for the list and the string, shallow for the pointers and the window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class NamedMutex;
class ProgressDlg;

struct TransferJob {
    NamedMutex* mutex = nullptr;  // set in the UI thread's copy
    std::vector<std::wstring> files;
    std::wstring destination;
    HWND owner = nullptr;          // owns the start-up and destination messages
    ProgressDlg* dialog = nullptr;  // set in the UI thread's copy
    bool isCopy = true;
};
