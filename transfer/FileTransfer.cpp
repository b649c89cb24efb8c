#include "transfer/FileTransfer.h"

#include "transfer/FileIdentity.h"
#include "transfer/ProgressContext.h"
#include "transfer/StagingFolder.h"
#include "transfer/TransferPlatform.h"
#include "transfer/TransferProgressRoutine.h"
#include "winframe/PathRules.h"

namespace {

constexpr DWORD kNewMoveFlags = MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;
constexpr DWORD kReplaceFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// Copies source into a staging folder, then renames the copy over target in one step. On any
// failure the staged copy and its folder go, and the last error is the failure's.
bool CopyOverExisting(const std::wstring& source, const std::wstring& target,
                      ProgressContext& context, BOOL* cancelFlag) {
    StagingFolder staging;
    if (!staging.Create(WithSeparator(FolderOf(target)))) return false;
    const std::wstring& staged = staging.FilePath();
    return Platform().copyFile(source.c_str(), staged.c_str(), TransferProgressRoutine,
                               &context, cancelFlag, 0) != FALSE &&
           MoveFileExW(staged.c_str(), target.c_str(), kReplaceFlags) != FALSE;
}

bool MoveOverExisting(const std::wstring& source, const std::wstring& target,
                      ProgressContext& context, BOOL* cancelFlag) {
    // Within one volume a rename replaces the target in one step, or fails leaving both.
    if (Platform().moveFile(source.c_str(), target.c_str(), TransferProgressRoutine, &context,
                            kReplaceFlags)) {
        return true;
    }
    if (GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
    // Across volumes: copy aside, swap in, and only then give up the source - unless the two
    // names now show one file (the source's own folder under another name): deleting the
    // source would then delete what was just put in place.
    if (!CopyOverExisting(source, target, context, cancelFlag)) return false;
    if (IsSameFile(source, target)) return true;
    return DeleteFileW(source.c_str()) != FALSE;
}

}  // namespace

NewFileResult TransferToNewFile(const std::wstring& source, const std::wstring& target,
                                bool isCopy, ProgressContext& context, BOOL* cancelFlag) {
    const TransferPlatform& platform = Platform();
    BOOL done = isCopy ? platform.copyFile(source.c_str(), target.c_str(),
                                           TransferProgressRoutine, &context, cancelFlag,
                                           COPY_FILE_FAIL_IF_EXISTS)
                       : platform.moveFile(source.c_str(), target.c_str(),
                                           TransferProgressRoutine, &context, kNewMoveFlags);
    if (done) return NewFileResult::Done;
    DWORD error = GetLastError();
    // A copy answers ERROR_FILE_EXISTS, a move ERROR_ALREADY_EXISTS, for a file or a folder.
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
        return NewFileResult::TargetExists;
    }
    return NewFileResult::Failed;
}

bool ReplaceExistingFile(const std::wstring& source, const std::wstring& target, bool isCopy,
                         ProgressContext& context, BOOL* cancelFlag) {
    if (isCopy) return CopyOverExisting(source, target, context, cancelFlag);
    return MoveOverExisting(source, target, context, cancelFlag);
}
