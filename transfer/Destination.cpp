#include "transfer/Destination.h"

#include "winframe/PathRules.h"

namespace {

bool IsNotFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

DestinationCheck CheckDestination(const std::wstring& path) {
    DestinationCheck check;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) check.state = DestinationState::Missing;
        return check;
    }
    DWORD error = GetLastError();
    const std::wstring root = PathRoot(path);
    std::wstring folder = path;
    while (IsNotFound(error)) {
        folder = FolderOf(folder);
        if (folder.empty()) break;  // not even the root is there
        if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
            check.state = DestinationState::Missing;
            return check;
        }
        error = GetLastError();
    }
    check.state = DestinationState::Unavailable;
    check.error = error;
    check.rootUnreachable =
        !root.empty() && GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES;
    return check;
}

DWORD CreateDirectoryTree(const std::wstring& path) {
    std::wstring folder = path;
    size_t rootLength = PathRoot(folder).size();
    while (folder.size() > rootLength && IsPathSeparator(folder.back())) folder.pop_back();
    if (CreateDirectoryW(folder.c_str(), nullptr)) return ERROR_SUCCESS;
    DWORD error = GetLastError();
    // Only a missing folder above, short of the root, is made first.
    std::wstring parent = FolderOf(folder);
    if (error != ERROR_PATH_NOT_FOUND || parent.size() <= rootLength) return error;
    DWORD parentError = CreateDirectoryTree(parent);
    if (parentError != ERROR_SUCCESS && parentError != ERROR_ALREADY_EXISTS) return parentError;
    return CreateDirectoryW(folder.c_str(), nullptr) ? ERROR_SUCCESS : GetLastError();
}
