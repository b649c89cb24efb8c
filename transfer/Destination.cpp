#include "transfer/Destination.h"

#include "transfer/TransferDecisions.h"

bool DestinationReachable(const std::wstring& path) {
    std::wstring root = DestinationRoot(path);
    return root.empty() || GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD CreateDirectoryTree(const std::wstring& path) {
    std::wstring folder = path;
    size_t rootLength = DestinationRoot(folder).size();
    while (folder.size() > rootLength && (folder.back() == L'\\' || folder.back() == L'/')) {
        folder.pop_back();
    }
    if (CreateDirectoryW(folder.c_str(), nullptr)) return ERROR_SUCCESS;
    DWORD error = GetLastError();
    size_t separator = folder.find_last_of(L"\\/");
    if (error != ERROR_PATH_NOT_FOUND || separator == std::wstring::npos ||
        separator < rootLength) {
        return error;
    }
    DWORD parentError = CreateDirectoryTree(folder.substr(0, separator));
    if (parentError != ERROR_SUCCESS && parentError != ERROR_ALREADY_EXISTS) return parentError;
    return CreateDirectoryW(folder.c_str(), nullptr) ? ERROR_SUCCESS : GetLastError();
}
