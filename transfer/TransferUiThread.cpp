#include "transfer/TransferUiThread.h"

#include "transfer/NamedMutex.h"
#include "transfer/ProgressDlg.h"
#include "transfer/TransferJob.h"
#include "transfer/TransferResources.h"
#include "transfer/TransferWorker.h"
#include "winframe/LibraryContext.h"

#include <process.h>

#include <memory>

namespace {

// The dialog's window goes before its object does.
class WindowGuard {
public:
    explicit WindowGuard(const ProgressDlg& dialog) : dialog_(dialog) {}
    ~WindowGuard() {
        if (IsWindow(dialog_.Handle())) DestroyWindow(dialog_.Handle());
    }
    WindowGuard(const WindowGuard&) = delete;
    WindowGuard& operator=(const WindowGuard&) = delete;

private:
    const ProgressDlg& dialog_;
};

unsigned int RunTransfer(TransferJob& job) {
    ProgressDlg dialog;
    WindowGuard window(dialog);
    if (!dialog.CreateModeless(LibraryModule(), MAKEINTRESOURCEW(IDD_PROGRESS), nullptr)) {
        MessageBoxW(job.owner, L"Failed to create dialog!", L"Wendrift : ERROR", MB_ICONERROR);
        return 1;
    }
    NamedMutex mutex;
    if (!mutex.Create(nullptr, FALSE, L"Wendrift")) {
        MessageBoxW(job.owner, L"A fatal internal error has occurred. Cannot continue.",
                    L"Wendrift : ERROR", MB_ICONERROR);
        return 1;
    }
    dialog.mutex = &mutex;
    ShowWindow(dialog.Handle(), SW_SHOW);
    job.mutex = &mutex;
    job.dialog = &dialog;

    uintptr_t worker = _beginthreadex(nullptr, 0, TransferWorker, &job, 0, nullptr);
    if (!worker) {
        MessageBoxW(job.owner, L"Failed to spawn worker thread!", L"Wendrift : ERROR",
                    MB_ICONERROR);
        return 1;
    }
    // Never joined: the worker's Finish ends this loop, and that is its last use of the job.
    CloseHandle(reinterpret_cast<HANDLE>(worker));

    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<unsigned int>(message.wParam);
}

}  // namespace

unsigned __stdcall TransferUiThread(void* argument) {
    try {
        TransferJob job;
        {
            std::unique_ptr<TransferJob> handed(static_cast<TransferJob*>(argument));
            job = *handed;
        }
        return RunTransfer(job);
    } catch (...) {
        return 1;
    }
}
