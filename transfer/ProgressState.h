// What the progress dialog shows, as the worker publishes it: the worker writes the figures here
// and goes on at once; the UI thread reads them on its timer and paints at its own pace. Neither
// waits for the other beyond copying a few fields.
#pragma once

#include <windows.h>

#include <string>

// One reading of the published figures.
struct ProgressFigures {
    bool started = false;      // the destination is settled: the caption and the clock show
    unsigned int fileNumber = 0;  // the file being started, from 1; 0 before the first
    unsigned int fileCount = 0;
    std::wstring label;           // compacted name of that file
    long long currentPercent = 0;
    bool reportedByPlatform = false;  // the percentage came from the progress routine
    bool clockStarted = false;        // the job's first copy or move call has begun
    DWORD startTick = 0;
    long long bytesDone = 0;  // bytes of the whole job moved so far
    bool paused = false;
    DWORD pausedTick = 0;     // when the pause began (or the clock started within it)
    DWORD pausedMs = 0;       // the clock's time spent in pauses that have ended
    bool errorShown = false;  // the worker shows an error message now
    bool finished = false;    // the worker's last word: the dialog may close
};

// A span of the tick counter; an end read before the start on another thread counts as none.
DWORD TickSpan(DWORD end, DWORD start);

// The elapsed time at `now`: from the job's first copy call, without its pauses, standing
// still during one.
DWORD ElapsedMs(const ProgressFigures& figures, DWORD now);

class ProgressState {
public:
    ProgressState();
    ~ProgressState();
    ProgressState(const ProgressState&) = delete;
    ProgressState& operator=(const ProgressState&) = delete;

    // The worker's side.
    void Start();
    // A new file: its percentage starts at 0 in the worker's own wording.
    void BeginFile(unsigned int fileNumber, unsigned int fileCount, const std::wstring& label);
    // The elapsed time counts from the first call; later calls change nothing.
    void StartClock(DWORD tick);
    void ShowPercent(long long percent);
    void SetBytesDone(long long bytes);
    // Around an error message the worker shows: the taskbar button says so meanwhile.
    void ShowingError(bool shown);
    void Finish();

    // Pause holds the transfer at its next look (the progress routine's next chunk, or before
    // the next file) until Resume or Cancel; the clock stands still meanwhile. Any thread.
    void Pause(DWORD tick);
    void Resume(DWORD tick);
    bool Paused() const;
    // Returns at once unless paused; else when resumed or cancelled. The worker's side.
    void WaitWhilePaused() const;

    // The UI thread's side.
    ProgressFigures Read() const;

    // Set once, from 0 to 1; read by both threads and by the platform's copy call without
    // waiting. Writers hold the transfer's named mutex around the write.
    BOOL* CancelFlag() { return &cancel_; }
    bool Cancelled();
    // Also ends a pause, so that a held transfer can end.
    void Cancel();

private:
    mutable CRITICAL_SECTION lock_;
    ProgressFigures figures_;
    // Written per chunk by the progress routine: kept out of the lock.
    volatile LONG64 bytesDone_ = 0;
    BOOL cancel_ = 0;
    // Read per chunk without the lock; the event is set while not paused.
    volatile LONG paused_ = 0;
    HANDLE running_;
};
