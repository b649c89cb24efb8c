#include "transfer/NamedMutex.h"

bool NamedMutex::Create(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner,
                        const std::wstring& name) {
    Close();
    HANDLE handle = CreateMutexW(attributes, initialOwner, name.c_str());
    if (!handle) return false;
    handle_ = handle;
    name_ = name;
    return true;
}

bool NamedMutex::Release() {
    return handle_ && ReleaseMutex(handle_) == TRUE;
}

void NamedMutex::Close() {
    if (handle_) CloseHandle(handle_);
    handle_ = nullptr;
    name_.clear();
}
