#include "transfer/FileTransfer.h"

#include "transfer/ProgressContext.h"
#include "transfer/TransferPlatform.h"
#include "transfer/TransferProgressRoutine.h"

bool TransferFile(const std::wstring& source, const std::wstring& target, bool isCopy,
                  ProgressContext& context, BOOL* cancelFlag) {
    const TransferPlatform& platform = Platform();
    if (isCopy) {
        // No flags: an existing target is overwritten.
        return platform.copyFile(source.c_str(), target.c_str(), TransferProgressRoutine, &context,
                                 cancelFlag, 0) != FALSE;
    }
    return platform.moveFile(source.c_str(), target.c_str(), TransferProgressRoutine, &context,
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED |
                                 MOVEFILE_WRITE_THROUGH) != FALSE;
}
