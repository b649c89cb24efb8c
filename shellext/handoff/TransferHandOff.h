// The Windows 11 command runs in a surrogate process that may end as soon as the shell lets go
// of the command; a transfer must outlive it. So the command hands the transfer to rundll32
// (always in the system folder) running this library's RunTransferW entry, which runs the
// transfer on its own thread to the end. The selection travels in a job file (JobFile.h) whose
// path is the only argument; the reader deletes it.
#pragma once

#include <string>
#include <vector>

// The system's rundll32.exe, or empty when the system folder cannot be read.
std::wstring SystemRundll32();

// "<rundll32>" "<library>",RunTransfer "<job file>". rundll32 looks for the W form of the entry
// first and then passes the argument as UTF-16.
std::wstring HandOffCommandLine(const std::wstring& rundll32, const std::wstring& library,
                                const std::wstring& jobFile);

// The job file named by the entry's argument: surrounding blanks and one pair of quotes go.
std::wstring JobFileArgument(const wchar_t* commandLine);

// Writes the job file and starts rundll32 on it, first removing the job files of earlier
// hand-offs that were never read (RemoveAbandonedJobFiles); an empty destination makes the
// transfer's process ask for one (JobAsksForDestination). False when nothing was started: the
// job was empty, held a relative path or a line break, the file or the process could not be
// made (the file is then deleted again).
bool HandOffTransfer(const std::vector<std::wstring>& files, const std::wstring& destination,
                     bool isCopy, const std::wstring& rundll32);

// The entry's work: reads and deletes the job file, asks for the destination when the job has
// none, then runs the transfer on this thread until it ends (Cancel in the picker ends it). A
// file that is missing or not a job (relative paths included) is left alone and reported.
void RunHandedOffTransfer(const wchar_t* commandLine);
