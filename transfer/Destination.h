// The destination folder before a transfer: whether it is there, missing (and worth offering to
// make again), or not available now; and making it again with every missing parent.
#pragma once

#include <windows.h>

#include <string>

enum class DestinationState {
    Present,      // a folder
    Missing,      // not found under a parent that exists, or a file of that name
    Unavailable,  // any other answer: access denied, a network error, a refused name, no drive
};

struct DestinationCheck {
    DestinationState state = DestinationState::Present;
    DWORD error = ERROR_SUCCESS;   // why it is unavailable
    bool rootUnreachable = false;  // its drive or share itself does not answer
};

// Judged from the destination's own error, and for "not found" from its nearest parent that
// answers: only a parent that exists makes the folder missing.
DestinationCheck CheckDestination(const std::wstring& path);

// Creates the folder and every missing parent. ERROR_SUCCESS, or the error of the first folder
// that could not be made (ERROR_ALREADY_EXISTS when the path itself names something that
// exists).
DWORD CreateDirectoryTree(const std::wstring& path);
