#include "transfer/StagingFolder.h"

#include "transfer/FileHandle.h"
#include "transfer/TransferPlatform.h"
#include "winframe/PathRules.h"
#include "winframe/TextHelpers.h"

#include <cwctype>
#include <vector>

namespace {

LONG gStagingCounter = 0;

const wchar_t kStagedName[] = L"\\f";

// What an open name is, itself (opened without following it): its attributes, and whether it
// leads somewhere else. Only a name surrogate (a junction, symbolic link or mount point) does;
// other reparse points (cloud placeholders, deduplicated or compressed files) are ordinary
// files and folders here. Not known when it cannot be told: then nothing is touched.
struct NameKind {
    bool known = false;
    DWORD attributes = 0;
    bool leadsElsewhere = false;
};

NameKind KindOf(HANDLE open, const std::wstring& path) {
    NameKind kind;
    FILE_ATTRIBUTE_TAG_INFO info = {};
    if (!Platform().fileInformation(open, FileAttributeTagInfo, &info, sizeof(info))) {
        return kind;
    }
    kind.known = true;
    kind.attributes = info.FileAttributes;
    // Wine answers a symbolic link's handle as its target's; its name still says what it is.
    DWORD named = GetFileAttributesW(path.c_str());
    if (named != INVALID_FILE_ATTRIBUTES) kind.attributes |= named & FILE_ATTRIBUTE_REPARSE_POINT;
    // A reparse point whose tag cannot be read may lead anywhere: it is taken for a link.
    kind.leadsElsewhere = (kind.attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                          (info.ReparseTag == 0 || IsReparseTagNameSurrogate(info.ReparseTag));
    return kind;
}

HANDLE OpenItself(const std::wstring& path, DWORD access, DWORD share) {
    return CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Only a file that leads nowhere else: through a link the delete would reach a file somewhere
// else.
void DeleteStagedFile(const std::wstring& file) {
    FileHandle open(OpenItself(file, FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
    if (!open.Valid()) return;
    NameKind kind = KindOf(open.Get(), file);
    open.Close();
    if (!kind.known || kind.leadsElsewhere || (kind.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return;
    }
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
}

// Opened for deletion without sharing, which fails while any transfer holds the folder; once
// open so, no transfer can take it up, and nobody can put a link in its place. A junction or
// link of our name is never ours: it is left alone, and so is what it leads to.
bool RemoveIfStale(const std::wstring& folder) {
    FileHandle claim(OpenItself(folder, DELETE | FILE_READ_ATTRIBUTES, 0));
    if (!claim.Valid()) return false;
    // Asked of the claim: the name can no longer change what it names.
    NameKind kind = KindOf(claim.Get(), folder);
    bool ours = kind.known && !kind.leadsElsewhere && (kind.attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (ours) DeleteStagedFile(folder + kStagedName);
    claim.Close();
    return ours && RemoveDirectoryW(folder.c_str()) != FALSE;
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
        // Whether a reparse point of our name leads elsewhere is judged under the claim.
        if ((found.dwFileAttributes & ours) == ours && IsStagingFolderName(found.cFileName)) {
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
