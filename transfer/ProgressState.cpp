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

ProgressState::ProgressState() { InitializeCriticalSection(&lock_); }

ProgressState::~ProgressState() { DeleteCriticalSection(&lock_); }

void ProgressState::Start(bool isCopy) {
    FiguresLock lock(lock_);
    figures_.started = true;
    figures_.isCopy = isCopy;
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
}

void ProgressState::ShowPercent(long long percent) {
    FiguresLock lock(lock_);
    figures_.currentPercent = percent;
    figures_.reportedByPlatform = true;
}

void ProgressState::SetBytesDone(long long bytes) {
    InterlockedExchange64(&bytesDone_, bytes);
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

void ProgressState::Cancel() { SetCancelFlag(&cancel_); }
