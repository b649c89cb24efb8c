#include "winframe/PathRules.h"

#include <cwctype>

namespace {

bool IsDriveLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// \\server\share after its prefix: up to the separator after the share name.
std::wstring ShareRoot(const std::wstring& path, size_t serverAt, const std::wstring& prefix) {
    size_t serverEnd = path.find_first_of(L"\\/", serverAt);
    if (serverEnd == std::wstring::npos || serverEnd == serverAt) return std::wstring();
    size_t shareEnd = path.find_first_of(L"\\/", serverEnd + 1);
    if (shareEnd == std::wstring::npos) shareEnd = path.size();
    if (shareEnd == serverEnd + 1) return std::wstring();
    return prefix + path.substr(serverAt, shareEnd - serverAt) + L'\\';
}

}  // namespace

bool IsPathSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsAbsoluteDirectory(const std::wstring& directory) {
    if (directory.size() >= 3 && IsDriveLetter(directory[0]) && directory[1] == L':' &&
        directory[2] == L'\\') {
        return true;
    }
    // \\server\share: both named.
    if (directory.compare(0, 2, L"\\\\") != 0) return false;
    size_t share = directory.find(L'\\', 2);
    return share != std::wstring::npos && share > 2 && share + 1 < directory.size() &&
           directory[share + 1] != L'\\';
}

std::wstring PathRoot(const std::wstring& path) {
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) return ShareRoot(path, 8, L"\\\\?\\UNC\\");
    std::wstring prefix = path.compare(0, 4, L"\\\\?\\") == 0 ? L"\\\\?\\" : L"";
    size_t at = prefix.size();
    if (prefix.empty() && path.size() > 2 && IsPathSeparator(path[0]) &&
        IsPathSeparator(path[1])) {
        return ShareRoot(path, 2, L"\\\\");
    }
    if (path.size() >= at + 2 && iswalpha(path[at]) && path[at + 1] == L':' &&
        (path.size() == at + 2 || IsPathSeparator(path[at + 2]))) {
        return prefix + path.substr(at, 2) + L'\\';
    }
    return std::wstring();
}

std::wstring FolderOf(const std::wstring& path) {
    const std::wstring root = PathRoot(path);
    size_t end = path.size();
    while (end > root.size() && IsPathSeparator(path[end - 1])) --end;
    if (end <= root.size()) return std::wstring();
    size_t separator = path.find_last_of(L"\\/", end - 1);
    if (separator == std::wstring::npos) return std::wstring();
    if (separator < root.size()) return root;
    return path.substr(0, separator);
}

std::wstring WithSeparator(const std::wstring& directory) {
    if (directory.empty() || IsPathSeparator(directory.back())) return directory;
    return directory + L'\\';
}

std::wstring FileNameOf(const std::wstring& path) {
    size_t separator = path.rfind(L'\\');
    if (separator == std::wstring::npos) separator = path.rfind(L'/');
    if (separator == std::wstring::npos) return std::wstring();
    return path.substr(separator + 1);
}

std::wstring JoinPath(const std::wstring& directory, const std::wstring& name) {
    return WithSeparator(directory.empty() ? std::wstring(L"\\") : directory) + name;
}

std::wstring PathExtension(const std::wstring& path) {
    size_t dot = path.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : path.substr(dot);
}

std::wstring SelectionExtension(const std::vector<std::wstring>& files) {
    return files.empty() ? std::wstring() : PathExtension(files.front());
}
