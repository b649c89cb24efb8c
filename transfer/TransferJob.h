// One transfer as the shell handed it over: the record StartTransfer builds and each thread
// copies. Copies are deep for the list and the string, shallow for the pointers and the window.
#pragma once

#include <windows.h>
#include <unknwn.h>

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
    // The language of every text the transfer shows, chosen when it started.
    LANGID language = 0;
    // The host's process reference (null when it offers none), held for the whole transfer so
    // the host does not end its process under a running copy; the UI thread releases it.
    IUnknown* hostReference = nullptr;
};
