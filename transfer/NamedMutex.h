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
