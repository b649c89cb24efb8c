// Copies or moves one file with the platform's calls (through the TransferPlatform seam).
//
// Replacing an existing file never destroys it before its successor is complete: the file is
// transferred into a hidden staging folder of its own in the destination and only then
// renamed over the target in one step. A failed or cancelled transfer leaves the existing
// target as it was and nothing of its own behind. A move within one volume stays one rename.
#pragma once

#include <windows.h>

#include <string>

struct ProgressContext;

// What the caller already found out about the target just before; Unknown makes TransferFile
// look itself. Under Wine a look-up of a missing name reads the whole destination folder, so a
// caller that has just looked passes its answer instead of paying for a second look.
enum class TargetState { Unknown, Absent, Exists };

// False with the last error set when the file was not transferred; ERROR_REQUEST_ABORTED
// means the user cancelled it.
bool TransferFile(const std::wstring& source, const std::wstring& target, bool isCopy,
                  ProgressContext& context, BOOL* cancelFlag,
                  TargetState known = TargetState::Unknown);
