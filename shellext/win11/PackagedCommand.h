// Whether the Windows 11 package is in use for the current user. Windows 11 also lists the
// package's commands under "Show more options", so the classic handler then adds nothing: each
// menu shows Wendrift's entries once.
#pragma once

#include <windows.h>

constexpr DWORD kFirstWindows11Build = 22000;

// The decision from the two facts: the Windows build (RtlGetVersion's, which no manifest bends)
// and the answer of GetPackagesByPackageFamily for our family with no buffers, which is
// ERROR_INSUFFICIENT_BUFFER with the count when the family is registered for this user.
bool PackagedCommandActive(DWORD build, LONG familyLookup, UINT32 familyCount);

// The decision for this process, asked once and kept: a package registered or removed later
// counts from the shell's next start.
bool PackagedCommandInUse();
