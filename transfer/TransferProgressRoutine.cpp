#include "transfer/TransferProgressRoutine.h"

#include "transfer/NamedMutex.h"
#include "transfer/ProgressContext.h"
#include "transfer/ProgressState.h"

DWORD CALLBACK TransferProgressRoutine(LARGE_INTEGER totalFileSize,
                                       LARGE_INTEGER totalBytesTransferred,
                                       LARGE_INTEGER streamSize,
                                       LARGE_INTEGER streamBytesTransferred, DWORD, DWORD, HANDLE,
                                       HANDLE, LPVOID data) {
    auto* context = static_cast<ProgressContext*>(data);
    if (!context) return PROGRESS_CONTINUE;
    // Called once per chunk, so no kernel call here: the flag only ever goes from 0 to 1 and is
    // written with an interlocked store, so an interlocked read sees the click at once.
    if (context->cancelFlag && ReadCancelFlag(context->cancelFlag) == 1) return PROGRESS_CANCEL;
    // Paused: the copy call waits in here, mid-file, writing nothing, until Resume or Cancel.
    if (context->progress && context->progress->Paused()) {
        context->progress->WaitWhilePaused();
        if (context->cancelFlag && ReadCancelFlag(context->cancelFlag) == 1) {
            return PROGRESS_CANCEL;
        }
    }

    // An empty file, or an empty stream, is complete from the first call on.
    long long percent = 100;
    if (totalFileSize.QuadPart > 0 && streamSize.QuadPart != 0) {
        percent = streamBytesTransferred.QuadPart * 100 / streamSize.QuadPart;
    }
    context->fileBytes = totalFileSize.QuadPart;
    // Published, never shown from here: the dialog's own thread paints on its timer.
    if (ProgressState* progress = context->progress) {
        if (percent != context->lastPercent) {
            context->lastPercent = percent;
            progress->ShowPercent(percent);
        }
        progress->SetBytesDone(context->bytesBefore + totalBytesTransferred.QuadPart);
    }
    return PROGRESS_CONTINUE;
}
