// The routine CopyFileExW and MoveFileWithProgressW call while a file is transferred: it shows
// the file's percentage, the elapsed time and the rate, answers the user's Cancel, and holds
// the copy while the user has paused it.
#pragma once

#include <windows.h>

// data is the transfer's ProgressContext.
DWORD CALLBACK TransferProgressRoutine(LARGE_INTEGER totalFileSize,
                                       LARGE_INTEGER totalBytesTransferred,
                                       LARGE_INTEGER streamSize,
                                       LARGE_INTEGER streamBytesTransferred, DWORD streamNumber,
                                       DWORD callbackReason, HANDLE sourceFile,
                                       HANDLE destinationFile, LPVOID data);
