#include "transfer/TransferProgressRoutine.h"

#include "transfer/NamedMutex.h"
#include "transfer/ProgressContext.h"
#include "transfer/ProgressDlg.h"
#include "transfer/TransferPlatform.h"
#include "winframe/TextHelpers.h"

DWORD CALLBACK TransferProgressRoutine(LARGE_INTEGER totalFileSize, LARGE_INTEGER,
                                       LARGE_INTEGER streamSize,
                                       LARGE_INTEGER streamBytesTransferred, DWORD, DWORD, HANDLE,
                                       HANDLE, LPVOID data) {
    auto* context = static_cast<ProgressContext*>(data);
    if (!context) return PROGRESS_CONTINUE;
    // Called once per chunk, so no kernel call here: the flag only ever goes from 0 to 1, and is
    // written under the mutex with an interlocked store, so an interlocked read sees the click
    // as soon as the mutex would. Waiting for the named mutex cost two server round trips a call.
    if (context->cancelFlag && ReadCancelFlag(context->cancelFlag) == 1) return PROGRESS_CANCEL;

    // An empty file, or an empty stream, is complete from the first call on.
    long long percent = 100;
    if (totalFileSize.QuadPart > 0 && streamSize.QuadPart != 0) {
        percent = streamBytesTransferred.QuadPart * 100 / streamSize.QuadPart;
    }
    ProgressDlg* dialog = context->dialog;
    if (percent != context->lastPercent) {
        context->lastPercent = percent;
        if (dialog) {
            std::wstring text;
            FormatString(text, L"Current file: '%s' : %I64d%%",
                         context->label ? context->label : L"", percent);
            dialog->ShowCurrent(static_cast<int>(percent), text);
        }
    }

    // Unsigned sums wrap with the tick counter, as the figures do.
    DWORD now = Platform().tickCount();
    if (now >= context->lastElapsedTick + 1000) {
        context->lastElapsedTick = now;
        if (dialog) dialog->ShowElapsed(now - context->startTick);
    }
    if (now >= context->lastRateTick + 1000) {
        double value =
            static_cast<double>(streamBytesTransferred.QuadPart - context->lastRateBytes) *
            0.0009765625;
        const wchar_t* unit = L"KB";
        if (value > 1024.0) {
            value *= 0.0009765625;
            unit = L"MB";
        }
        if (dialog) {
            std::wstring text;
            FormatString(text, L"Transfer Rate: %.02f %s/sec", value, unit);
            dialog->ShowRate(text);
        }
        context->lastRateTick = now;
        context->lastRateBytes = streamBytesTransferred.QuadPart;
    }
    return PROGRESS_CONTINUE;
}
