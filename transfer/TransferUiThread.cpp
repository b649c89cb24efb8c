#include "transfer/TransferUiThread.h"

#include "transfer/NamedMutex.h"
#include "transfer/ProgressDlg.h"
#include "transfer/ProgressState.h"
#include "transfer/TransferJob.h"
#include "transfer/TransferResources.h"
#include "transfer/TransferWorker.h"
#include "texts/TextIds.h"
#include "winframe/ApartmentScope.h"
#include "winframe/LibraryContext.h"
#include "winframe/Texts.h"

#include <process.h>

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

// Until the worker has ended, this thread keeps answering its messages: after a quit that did
// not come from the dialog, the worker may still be asking a question that the dialog owns.
void WaitForWorker(HANDLE worker) {
    while (MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

unsigned int RunTransfer(TransferJob& job) {
    // The taskbar button's progress goes through COM.
    ApartmentScope apartment;
    ProgressState progress;
    ProgressDlg dialog;
    dialog.progress = &progress;
    dialog.isCopy = job.isCopy;
    dialog.SetLanguage(job.language);
    WindowGuard window(dialog);
    if (!dialog.CreateModeless(LibraryModule(), MAKEINTRESOURCEW(IDD_PROGRESS), nullptr)) {
        ShowTextMessage(job.owner, job.language, IDS_ERROR_CAPTION, MB_ICONERROR,
                        IDS_FAILED_TO_CREATE_DIALOG);
        return 1;
    }
    // Still created by name for the transfer's life, as other processes may look for it; it
    // guards the writes of the cancel flag.
    NamedMutex mutex;
    if (!mutex.Create(nullptr, FALSE, L"Wendrift")) {
        ShowTextMessage(job.owner, job.language, IDS_ERROR_CAPTION, MB_ICONERROR,
                        IDS_FATAL_INTERNAL_ERROR);
        return 1;
    }
    dialog.mutex = &mutex;
    job.mutex = &mutex;
    job.dialog = &dialog;

    uintptr_t worker = _beginthreadex(nullptr, 0, TransferWorker, &job, 0, nullptr);
    if (!worker) {
        ShowTextMessage(job.owner, job.language, IDS_ERROR_CAPTION, MB_ICONERROR,
                        IDS_FAILED_TO_START_WORKER);
        return 1;
    }
    // Shown while the worker starts: mapping the window takes milliseconds the copy need not
    // wait for, and the worker needs the window, not its being visible.
    ShowWindow(dialog.Handle(), SW_SHOW);
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The worker's last use of the job, the dialog and the state is its finished message.
    WaitForWorker(reinterpret_cast<HANDLE>(worker));
    CloseHandle(reinterpret_cast<HANDLE>(worker));
    return static_cast<unsigned int>(message.wParam);
}

}  // namespace

unsigned __stdcall TransferUiThread(void* argument) {
    auto* handed = static_cast<TransferJob*>(argument);
    IUnknown* host = handed->hostReference;
    unsigned int code = 1;
    try {
        TransferJob job = *handed;
        delete handed;
        handed = nullptr;
        code = RunTransfer(job);
    } catch (...) {
        delete handed;
    }
    // The transfer has ended: the host may let its process go.
    if (host) host->Release();
    return code;
}
