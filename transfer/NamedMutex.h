// One kernel mutex by name. Transfers that run at the same time open the same object "Wendrift";
// it guards only each transfer's cancel flag. Users lock with WaitForSingleObject on Handle()
// and unlock with Release().
#pragma once

#include <windows.h>

#include <string>

class NamedMutex {
public:
    NamedMutex() = default;
    ~NamedMutex() { Close(); }
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Closes a held handle first; on failure the handle stays null.
    bool Create(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, const std::wstring& name);
    bool Release();
    void Close();

    HANDLE Handle() const { return handle_; }
    const std::wstring& Name() const { return name_; }

private:
    std::wstring name_;
    HANDLE handle_ = nullptr;
};

// Holds the mutex for one read or write of a cancel flag.
class MutexLock {
public:
    explicit MutexLock(NamedMutex* mutex) : mutex_(mutex) {
        if (mutex_ && mutex_->Handle()) WaitForSingleObject(mutex_->Handle(), INFINITE);
    }
    ~MutexLock() {
        if (mutex_ && mutex_->Handle()) mutex_->Release();
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    NamedMutex* mutex_;
};

// A transfer's cancel flag is written only under the mutex, and only from 0 to 1; these make the
// write and a lock-free read of it atomic, so the per-chunk progress routine can look at the flag
// without the mutex while every other reader and writer still takes it.
inline BOOL ReadCancelFlag(BOOL* flag) {
    static_assert(sizeof(BOOL) == sizeof(LONG), "the flag is read as a LONG");
    return InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(flag), 0, 0);
}
inline void SetCancelFlag(BOOL* flag) {
    InterlockedExchange(reinterpret_cast<volatile LONG*>(flag), 1);
}
