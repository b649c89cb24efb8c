#include "transfer/FileTransfer.h"

#include "transfer/ProgressContext.h"
#include "transfer/TransferPlatform.h"
#include "transfer/TransferProgressRoutine.h"
#include "winframe/TextHelpers.h"

namespace {

constexpr DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED |
                             MOVEFILE_WRITE_THROUGH;
constexpr DWORD kReplaceFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

LONG gStagingCounter = 0;

std::wstring DirectoryOf(const std::wstring& target) {
    size_t separator = target.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : target.substr(0, separator + 1);
}

// A fresh hidden folder next to the target. CreateDirectoryW fails on any existing name, so the
// folder is ours alone; a taken name just means trying the next one.
bool CreateStagingFolder(const std::wstring& directory, std::wstring& folder) {
    for (int attempt = 0; attempt < 64; ++attempt) {
        unsigned int value = static_cast<unsigned int>(InterlockedIncrement(&gStagingCounter)) *
                                 2654435761u ^
                             GetCurrentThreadId() * 40503u ^ GetTickCount();
        FormatString(folder, L"%s~wd%08X.tmp", directory.c_str(), value);
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
            return true;
        }
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

// Copies source into a staging folder, then renames the copy over target in one step. On any
// failure the staged copy and its folder go, and the last error is the failure's.
bool CopyOverExisting(const std::wstring& source, const std::wstring& target,
                      ProgressContext& context, BOOL* cancelFlag) {
    std::wstring folder;
    if (!CreateStagingFolder(DirectoryOf(target), folder)) return false;
    std::wstring staged = folder + L"\\f";
    bool done = Platform().copyFile(source.c_str(), staged.c_str(), TransferProgressRoutine,
                                    &context, cancelFlag, 0) != FALSE &&
                MoveFileExW(staged.c_str(), target.c_str(), kReplaceFlags) != FALSE;
    DWORD error = done ? ERROR_SUCCESS : GetLastError();
    if (!done) {
        SetFileAttributesW(staged.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(staged.c_str());
    }
    RemoveDirectoryW(folder.c_str());
    SetLastError(error);
    return done;
}

bool MoveOverExisting(const std::wstring& source, const std::wstring& target,
                      ProgressContext& context, BOOL* cancelFlag) {
    // Within one volume a rename replaces the target in one step, or fails leaving both.
    if (Platform().moveFile(source.c_str(), target.c_str(), TransferProgressRoutine, &context,
                            kReplaceFlags)) {
        return true;
    }
    if (GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
    // Across volumes: copy aside, swap in, and only then give up the source.
    if (!CopyOverExisting(source, target, context, cancelFlag)) return false;
    return DeleteFileW(source.c_str()) != FALSE;
}

}  // namespace

bool TransferFile(const std::wstring& source, const std::wstring& target, bool isCopy,
                  ProgressContext& context, BOOL* cancelFlag, TargetState known) {
    const TransferPlatform& platform = Platform();
    bool targetExists = known == TargetState::Unknown
                            ? GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES
                            : known == TargetState::Exists;
    if (isCopy) {
        if (targetExists) return CopyOverExisting(source, target, context, cancelFlag);
        return platform.copyFile(source.c_str(), target.c_str(), TransferProgressRoutine, &context,
                                 cancelFlag, 0) != FALSE;
    }
    if (targetExists) return MoveOverExisting(source, target, context, cancelFlag);
    return platform.moveFile(source.c_str(), target.c_str(), TransferProgressRoutine, &context,
                             kMoveFlags) != FALSE;
}
