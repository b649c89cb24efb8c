#include "shellext/handoff/TransferHandOff.h"

#include "shellext/handoff/JobFile.h"
#include "shellext/common/AskDestination.h"
#include "shellext/entry/ModulePath.h"
#include "shellext/common/TransferFailure.h"
#include "transfer/TransferJob.h"
#include "transfer/TransferUiThread.h"
#include "winframe/Dpi.h"

#include <windows.h>

#include <memory>

namespace {

// A job file is read the moment its process starts; one an hour old was never going to be.
constexpr unsigned long long kJobFileAbandonedAfterMs = 60ull * 60 * 1000;

bool StartProcess(const std::wstring& program, std::wstring commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // A surrogate may run inside a job that ends its processes with it: the transfer leaves the
    // job where the job allows, and starts inside it where it does not.
    DWORD flags[] = {CREATE_BREAKAWAY_FROM_JOB, 0};
    for (DWORD flag : flags) {
        if (CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, flag,
                           nullptr, nullptr, &startup, &process)) {
            // The transfer's dialogs may come to the front: the user just picked the command.
            AllowSetForegroundWindow(process.dwProcessId);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
            return true;
        }
        if (GetLastError() != ERROR_ACCESS_DENIED) return false;
    }
    return false;
}

// The user just picked the command in another process, which let this one take the
// foreground: the first window this thread shows (the progress dialog, or the message that it
// could not be made) comes to the front, where Windows allows. A thread timer, so that it runs
// once the transfer's message loop has shown the window.
void CALLBACK FirstWindowToFront(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND shown = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM found) {
        if (!IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&shown));
    if (shown == nullptr) return;
    KillTimer(nullptr, timer);
    SetForegroundWindow(shown);
}

}  // namespace

std::wstring SystemRundll32() {
    wchar_t folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return std::wstring(folder) + L"\\rundll32.exe";
}

std::wstring HandOffCommandLine(const std::wstring& rundll32, const std::wstring& library,
                                const std::wstring& jobFile) {
    return L"\"" + rundll32 + L"\" \"" + library + L"\",RunTransfer \"" + jobFile + L"\"";
}

std::wstring JobFileArgument(const wchar_t* commandLine) {
    if (commandLine == nullptr) return std::wstring();
    std::wstring argument = commandLine;
    size_t first = argument.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    size_t last = argument.find_last_not_of(L" \t");
    argument = argument.substr(first, last - first + 1);
    if (argument.size() >= 2 && argument.front() == L'"' && argument.back() == L'"') {
        argument = argument.substr(1, argument.size() - 2);
    }
    return argument;
}

bool HandOffTransfer(const std::vector<std::wstring>& files, const std::wstring& destination,
                     bool isCopy, const std::wstring& rundll32) {
    // Those of earlier hand-offs whose process was ended before it read them.
    RemoveAbandonedJobFiles(kJobFileAbandonedAfterMs);
    TransferJob job;
    job.files = files;
    job.destination = destination;
    job.isCopy = isCopy;
    std::wstring text;
    wchar_t library[MAX_PATH];
    std::wstring jobFile;
    if (rundll32.empty() || !FormatJob(job, text) || !ModulePath(library) ||
        !WriteJobFile(text, jobFile)) {
        return false;
    }
    if (!StartProcess(rundll32, HandOffCommandLine(rundll32, library, jobFile))) {
        DeleteFileW(jobFile.c_str());
        return false;
    }
    return true;
}

void RunHandedOffTransfer(const wchar_t* commandLine) {
    try {
        std::wstring path = JobFileArgument(commandLine);
        std::wstring text;
        auto job = std::make_unique<TransferJob>();
        if (path.empty() || !ReadJobFile(path, text) || !ParseJob(text, *job)) {
            ReportTransferNotStarted(nullptr);
            return;
        }
        DeleteFileW(path.c_str());
        // rundll32's own DPI awareness is none of ours to count on: an unaware process has its
        // dialogs drawn at 100% and stretched, blurred, on a scaled monitor.
        UsePerMonitorDpiAwareness();
        UINT_PTR front = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, FirstWindowToFront);
        // "Other folder...": the picker runs here, in the process that outlives the menu; its
        // Cancel transfers nothing.
        if (!JobAsksForDestination(*job) ||
            AskForDestination(nullptr, job->files, job->isCopy, job->destination)) {
            TransferUiThread(job.release());  // takes the job over and frees it
        }
        KillTimer(nullptr, front);
    } catch (...) {
        ReportTransferNotStarted(nullptr);
    }
}
