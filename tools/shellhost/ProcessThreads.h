// The threads of this process. InvokeCommand returns at once and leaves the transfer to
// threads of its own: whoever waits for a transfer compares the list before and after.
#pragma once

#include <windows.h>

#include <vector>

std::vector<DWORD> ThreadsOfThisProcess();
