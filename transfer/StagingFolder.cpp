#include "transfer/StagingFolder.h"

#include "winframe/PathRules.h"
#include "winframe/TextHelpers.h"

#include <cwctype>
#include <vector>

namespace {

LONG gStagingCounter = 0;

const wchar_t kStagedName[] = L"\\f";

constexpr DWORD kNotOurs = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY;

// Only a plain file: through a link the delete would reach a file somewhere else.
void DeleteStagedFile(const std::wstring& file) {
    DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotOurs)) return;
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
}

// Opened for deletion without sharing, which fails while any transfer holds the folder; once
// open so, no transfer can take it up, and nobody can put a link in its place. A junction or
// link of our name is never ours: it is left alone, and so is what it leads to.
bool RemoveIfStale(const std::wstring& folder) {
    HANDLE claim = CreateFileW(folder.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                               nullptr);
    if (claim == INVALID_HANDLE_VALUE) return false;
    // Asked again under the claim: the name can no longer change what it names.
    DWORD attributes = GetFileAttributesW(folder.c_str());
    bool real = attributes != INVALID_FILE_ATTRIBUTES &&
                !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (real) DeleteStagedFile(folder + kStagedName);
    CloseHandle(claim);
    return real && RemoveDirectoryW(folder.c_str()) != FALSE;
}

}  // namespace

bool StagingFolder::Create(const std::wstring& directory) {
    for (int attempt = 0; attempt < 64; ++attempt) {
        unsigned int value = static_cast<unsigned int>(InterlockedIncrement(&gStagingCounter)) *
                                 2654435761u ^
                             GetCurrentThreadId() * 40503u ^ GetTickCount();
        std::wstring folder;
        FormatString(folder, L"%s~wd%08X.tmp", directory.c_str(), value);
        // CreateDirectoryW fails on any existing name, so the folder is ours alone; a taken
        // name just means trying the next one.
        if (!CreateDirectoryW(folder.c_str(), nullptr)) {
            DWORD error = GetLastError();
            if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return false;
            continue;
        }
        // Held before it is hidden: a sweep looks at hidden folders only, so it never sees
        // one of ours unheld. The hold reads (a handle that only reads attributes would not
        // stand in the way of the sweep's exclusive open).
        HANDLE hold = CreateFileW(folder.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (hold == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            RemoveDirectoryW(folder.c_str());
            SetLastError(error);
            return false;
        }
        SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
        folder_ = folder;
        file_ = folder + kStagedName;
        hold_ = hold;
        return true;
    }
    return false;
}

StagingFolder::~StagingFolder() {
    if (hold_ == INVALID_HANDLE_VALUE) return;
    DWORD error = GetLastError();
    DeleteStagedFile(file_);
    CloseHandle(hold_);
    RemoveDirectoryW(folder_.c_str());
    SetLastError(error);
}

bool IsStagingFolderName(const std::wstring& name) {
    if (name.size() != 15 || _wcsnicmp(name.c_str(), L"~wd", 3) != 0 ||
        _wcsicmp(name.c_str() + 11, L".tmp") != 0) {
        return false;
    }
    for (size_t i = 3; i < 11; ++i) {
        if (!iswxdigit(name[i])) return false;
    }
    return true;
}

size_t RemoveStaleStagingFolders(const std::wstring& directory) {
    std::wstring prefix = WithSeparator(directory);
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((prefix + L"~wd*.tmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    std::vector<std::wstring> candidates;
    const DWORD ours = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN;
    do {
        if ((found.dwFileAttributes & ours) == ours &&
            !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
            IsStagingFolderName(found.cFileName)) {
            candidates.push_back(prefix + found.cFileName);
        }
    } while (FindNextFileW(find, &found));
    FindClose(find);
    size_t removed = 0;
    for (const std::wstring& folder : candidates) {
        if (RemoveIfStale(folder)) ++removed;
    }
    return removed;
}
