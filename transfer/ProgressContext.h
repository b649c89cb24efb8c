// What the progress routine needs for the file being transferred; one per transfer, refilled
// by the worker for every file.
#pragma once

#include <windows.h>

class NamedMutex;
class ProgressDlg;

struct ProgressContext {
    NamedMutex* mutex = nullptr;
    BOOL* cancelFlag = nullptr;
    DWORD startTick = 0;        // the job's first copy or move call
    DWORD lastElapsedTick = 0;  // elapsed time last shown
    DWORD lastRateTick = 0;     // rate last shown; reset for every file
    long long lastPercent = 0;
    long long lastRateBytes = 0;
    const wchar_t* label = nullptr;  // compacted name of the current file
    ProgressDlg* dialog = nullptr;
};
