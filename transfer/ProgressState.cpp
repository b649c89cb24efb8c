#include "transfer/ProgressState.h"

#include "transfer/NamedMutex.h"

namespace {

// Holds the figures' lock for one short read or write.
class FiguresLock {
public:
    explicit FiguresLock(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
    ~FiguresLock() { LeaveCriticalSection(&lock_); }
    FiguresLock(const FiguresLock&) = delete;
    FiguresLock& operator=(const FiguresLock&) = delete;

private:
    CRITICAL_SECTION& lock_;
};

}  // namespace

DWORD TickSpan(DWORD end, DWORD start) {
    DWORD span = end - start;
    return span > 0x7FFFFFFFu ? 0 : span;
}

DWORD ElapsedMs(const ProgressFigures& figures, DWORD now) {
    if (!figures.clockStarted) return 0;
    DWORD end = figures.paused ? figures.pausedTick : now;
    DWORD span = TickSpan(end, figures.startTick);
    return span > figures.pausedMs ? span - figures.pausedMs : 0;
}

ProgressState::ProgressState() : running_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {
    InitializeCriticalSection(&lock_);
}

ProgressState::~ProgressState() {
    if (running_) CloseHandle(running_);
    DeleteCriticalSection(&lock_);
}

void ProgressState::Start() {
    FiguresLock lock(lock_);
    figures_.started = true;
}

void ProgressState::BeginFile(unsigned int fileNumber, unsigned int fileCount,
                              const std::wstring& label) {
    FiguresLock lock(lock_);
    figures_.fileNumber = fileNumber;
    figures_.fileCount = fileCount;
    figures_.label = label;
    figures_.currentPercent = 0;
    figures_.reportedByPlatform = false;
}

void ProgressState::StartClock(DWORD tick) {
    FiguresLock lock(lock_);
    if (figures_.clockStarted) return;
    figures_.clockStarted = true;
    figures_.startTick = tick;
    // A pause that began before the clock counts from here.
    if (figures_.paused) figures_.pausedTick = tick;
}

void ProgressState::ShowPercent(long long percent) {
    FiguresLock lock(lock_);
    figures_.currentPercent = percent;
    figures_.reportedByPlatform = true;
}

void ProgressState::SetBytesDone(long long bytes) {
    InterlockedExchange64(&bytesDone_, bytes);
}

void ProgressState::ShowingError(bool shown) {
    FiguresLock lock(lock_);
    figures_.errorShown = shown;
}

void ProgressState::Pause(DWORD tick) {
    FiguresLock lock(lock_);
    if (figures_.paused) return;
    figures_.paused = true;
    figures_.pausedTick = tick;
    InterlockedExchange(&paused_, 1);
    if (running_) ResetEvent(running_);
}

void ProgressState::Resume(DWORD tick) {
    FiguresLock lock(lock_);
    if (!figures_.paused) return;
    figures_.paused = false;
    if (figures_.clockStarted) figures_.pausedMs += TickSpan(tick, figures_.pausedTick);
    InterlockedExchange(&paused_, 0);
    if (running_) SetEvent(running_);
}

bool ProgressState::Paused() const {
    return InterlockedCompareExchange(const_cast<volatile LONG*>(&paused_), 0, 0) != 0;
}

void ProgressState::WaitWhilePaused() const {
    // Without an event (none could be made) a pause cannot hold: better on than stuck.
    if (running_ && Paused()) WaitForSingleObject(running_, INFINITE);
}

void ProgressState::Finish() {
    FiguresLock lock(lock_);
    figures_.finished = true;
}

ProgressFigures ProgressState::Read() const {
    ProgressFigures figures;
    {
        FiguresLock lock(lock_);
        figures = figures_;
    }
    figures.bytesDone = InterlockedCompareExchange64(
        const_cast<volatile LONG64*>(&bytesDone_), 0, 0);
    return figures;
}

bool ProgressState::Cancelled() { return ReadCancelFlag(&cancel_) == 1; }

void ProgressState::Cancel() {
    SetCancelFlag(&cancel_);
    // The flag first: a held worker wakes to find it set.
    if (running_) SetEvent(running_);
}
