// Copies or moves one file with the platform's calls (through the TransferPlatform seam).
//
// A file goes to a new name in one call that refuses an existing target, so no separate
// look-up is made before every file. Replacing an existing file never destroys it before its
// successor is complete: the file is transferred into a hidden staging folder of its own in
// the destination and only then renamed over the target in one step. A failed or cancelled
// transfer leaves the existing target as it was and nothing of its own behind. A move within
// one volume stays one rename. Whether target and source are one file under two names is the
// caller's question before replacing (FileIdentity.h); a move across volumes asks again before
// it deletes the source.
#pragma once

#include <windows.h>

#include <string>

struct ProgressContext;

enum class NewFileResult { Done, TargetExists, Failed };

// Transfers source to a target that must not exist yet. Failed leaves the last error set
// (ERROR_REQUEST_ABORTED: the user cancelled); TargetExists touched nothing.
NewFileResult TransferToNewFile(const std::wstring& source, const std::wstring& target,
                                bool isCopy, ProgressContext& context, BOOL* cancelFlag);

// Transfers source over an existing target, safely. False with the last error set.
bool ReplaceExistingFile(const std::wstring& source, const std::wstring& target, bool isCopy,
                         ProgressContext& context, BOOL* cancelFlag);
