// A transfer handed from the Windows 11 command to the process that runs it, as a file: the
// selection may be far longer than a command line can hold. The text is UTF-16 with a byte
// order mark: "copy" or "move" on the first line, the destination on the second (empty when the
// user is to pick it), one source path on each line after that, every line ended by "\n".
#pragma once

#include "transfer/TransferJob.h"

#include <string>

// A job without a destination ("Other folder..."): the process that runs it asks the user for
// one first. The one rule for that empty line, in writing, reading and running a job.
bool JobAsksForDestination(const TransferJob& job);

// Every source and the destination, when there is one, are full paths (a drive letter, colon
// and backslash, or \\server\share): the process that runs the job would resolve anything else
// against a current folder of its own.
bool JobPathsAreAbsolute(const TransferJob& job);

// False when there is nothing to transfer, a path is not absolute, or a path or the destination
// holds a line break (it would split into lines of another meaning; no real path has one).
bool FormatJob(const TransferJob& job, std::wstring& text);
// Fills files, destination and isCopy; false for anything FormatJob would not have written.
bool ParseJob(const std::wstring& text, TransferJob& job);

// A new file in the user's temporary folder holding the text; path receives its name.
bool WriteJobFile(const std::wstring& text, std::wstring& path);
// The whole file as text; false when it cannot be read or is not UTF-16 with its mark.
bool ReadJobFile(const std::wstring& path, std::wstring& text);

// Deletes the job files in the user's temporary folder that a hand-off wrote but no process
// ever read (it was ended first): ours by name and first line, untouched for `unusedMs`, and
// open nowhere. Answers how many went. Unlike a staging folder (StagingFolder.h), which its
// transfer holds open from before anyone can see it, a job file is open nowhere between the
// command writing it and rundll32 reading it: "open nowhere" proves nothing without the age.
size_t RemoveAbandonedJobFiles(unsigned long long unusedMs);
