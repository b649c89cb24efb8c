#include "transfer/StartTransfer.h"

#include "transfer/TransferJob.h"
#include "transfer/TransferUiThread.h"
#include "winframe/Languages.h"

#include <process.h>
#include <shlobj.h>

#include <memory>

bool StartTransfer(HWND owner, const std::vector<std::wstring>& files,
                   const std::wstring& destination, bool isCopy) {
    IUnknown* host = nullptr;
    if (FAILED(SHGetInstanceExplorer(&host))) host = nullptr;  // AddRef'd when there is one
    try {
        auto job = std::make_unique<TransferJob>();
        job->files = files;
        job->destination = destination;
        job->owner = owner;
        job->isCopy = isCopy;
        job->language = ChosenLanguage();
        job->hostReference = host;
        uintptr_t thread = _beginthreadex(nullptr, 0, TransferUiThread, job.get(), 0, nullptr);
        if (thread) {
            job.release();  // the UI thread owns it now, and the host reference with it
            CloseHandle(reinterpret_cast<HANDLE>(thread));
            return true;
        }
    } catch (...) {
    }
    if (host) host->Release();
    return false;
}
