// What the progress routine needs for the file being transferred; one per transfer, refilled
// by the worker for every file.
#pragma once

#include <windows.h>

class ProgressState;

struct ProgressContext {
    ProgressState* progress = nullptr;  // where the figures are published
    BOOL* cancelFlag = nullptr;
    long long lastPercent = 0;   // the current file's percentage last published
    long long bytesBefore = 0;   // what the job's earlier files moved
    long long fileBytes = -1;    // the file's size as the platform reported it; -1 before
};
