// The platform calls the transfer makes whose behaviour a test must be able to stand in for:
// Wine's CopyFileExW ignores its progress routine and cancel flag, the clock cannot be
// waited for, and Wine's taskbar shows no progress. The product never changes these; tests
// install stand-ins that behave as Windows documents (routine per chunk, ERROR_REQUEST_ABORTED
// on cancel, partial target deleted) or record what was asked.
#pragma once

#include "transfer/TaskbarProgress.h"

#include <windows.h>

struct TransferPlatform {
    using CopyFunction = BOOL(WINAPI*)(LPCWSTR source, LPCWSTR target, LPPROGRESS_ROUTINE routine,
                                       LPVOID data, LPBOOL cancel, DWORD flags);
    using MoveFunction = BOOL(WINAPI*)(LPCWSTR source, LPCWSTR target, LPPROGRESS_ROUTINE routine,
                                       LPVOID data, DWORD flags);
    using TickFunction = DWORD(WINAPI*)();
    using TaskbarFunction = bool (*)(HWND window, const TaskbarProgress& progress);
    // What the staging sweep learns of an open name: its attributes and reparse tag (Wine makes
    // no cloud placeholders or deduplicated files to test with).
    using FileInformationFunction = BOOL(WINAPI*)(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind,
                                                  LPVOID information, DWORD size);

    CopyFunction copyFile = CopyFileExW;
    MoveFunction moveFile = MoveFileWithProgressW;
    TickFunction tickCount = GetTickCount;
    TaskbarFunction showOnTaskbar = ShowOnTaskbar;
    FileInformationFunction fileInformation = GetFileInformationByHandleEx;
};

// The process-wide set; set up before a transfer starts, read by its worker.
TransferPlatform& Platform();
