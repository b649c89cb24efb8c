#include "shellext/common/FolderProbe.h"

#include <shlwapi.h>

#include <memory>

namespace {

// Shared by the asking thread and the probes; the last one out frees it.
struct ProbeRound {
    explicit ProbeRound(size_t count) : answers(count, -1) {
        InitializeCriticalSection(&lock);
        answered = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }
    ~ProbeRound() {
        if (answered) CloseHandle(answered);
        DeleteCriticalSection(&lock);
    }
    ProbeRound(const ProbeRound&) = delete;
    ProbeRound& operator=(const ProbeRound&) = delete;

    CRITICAL_SECTION lock;
    HANDLE answered;           // set after each answer
    std::vector<int> answers;  // -1 not yet, 0 absent, 1 a folder
};

struct Probe {
    std::shared_ptr<ProbeRound> round;
    size_t index;
    std::wstring folder;
    FolderProbeFunction ask;
    HMODULE module;  // held while the probe runs: its code must stay loaded
};

DWORD WINAPI RunProbe(LPVOID argument) {
    std::unique_ptr<Probe> probe(static_cast<Probe*>(argument));
    int answer = probe->ask(probe->folder.c_str()) ? 1 : 0;
    {
        ProbeRound& round = *probe->round;
        EnterCriticalSection(&round.lock);
        round.answers[probe->index] = answer;
        LeaveCriticalSection(&round.lock);
        SetEvent(round.answered);
    }
    HMODULE module = probe->module;
    probe.reset();
    if (module) FreeLibraryAndExitThread(module, 0);
    return 0;
}

HMODULE HoldThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&RunProbe), &module);
    return module;
}

}  // namespace

FolderProbeFunction& FolderProbe() {
    static FolderProbeFunction probe = PathIsDirectoryW;
    return probe;
}

std::wstring FirstFolderPresent(const std::vector<std::wstring>& folders, DWORD budgetMs) {
    if (folders.empty()) return std::wstring();
    auto round = std::make_shared<ProbeRound>(folders.size());
    if (!round->answered) return std::wstring();
    size_t asked = 0;
    for (size_t i = 0; i < folders.size(); ++i) {
        auto* probe = new Probe{round, i, folders[i], FolderProbe(), HoldThisModule()};
        HANDLE thread = CreateThread(nullptr, 0, RunProbe, probe, 0, nullptr);
        if (!thread) {
            if (probe->module) FreeLibrary(probe->module);
            delete probe;
            round->answers[i] = 0;
            continue;
        }
        CloseHandle(thread);
        ++asked;
    }
    const ULONGLONG deadline = GetTickCount64() + budgetMs;
    for (;;) {
        // Decided once an answer is "a folder" and every earlier one "no"; after the deadline
        // the folders still silent count as absent.
        const ULONGLONG now = GetTickCount64();
        const bool late = now >= deadline;
        bool undecided = false;
        std::wstring first;
        EnterCriticalSection(&round->lock);
        for (size_t i = 0; i < folders.size() && first.empty() && !undecided; ++i) {
            if (round->answers[i] == 1) first = folders[i];
            if (round->answers[i] < 0 && !late) undecided = true;
        }
        LeaveCriticalSection(&round->lock);
        if (!undecided || asked == 0) return first;
        WaitForSingleObject(round->answered, static_cast<DWORD>(deadline - now));
    }
}
