#include "transfer/StartTransfer.h"

#include "transfer/TransferJob.h"
#include "transfer/TransferUiThread.h"

#include <process.h>

#include <memory>

bool StartTransfer(HWND owner, const std::vector<std::wstring>& files,
                   const std::wstring& destination, bool isCopy) {
    try {
        auto job = std::make_unique<TransferJob>();
        job->files = files;
        job->destination = destination;
        job->owner = owner;
        job->isCopy = isCopy;
        uintptr_t thread = _beginthreadex(nullptr, 0, TransferUiThread, job.get(), 0, nullptr);
        if (!thread) return false;
        job.release();  // the UI thread owns it now
        CloseHandle(reinterpret_cast<HANDLE>(thread));
        return true;
    } catch (...) {
        return false;
    }
}
