#include "shellext/handoff/JobFile.h"

#include "transfer/FileHandle.h"
#include "winframe/PathRules.h"

#include <cwctype>
#include <vector>

namespace {

const wchar_t kCopyLine[] = L"copy";
const wchar_t kMoveLine[] = L"move";
constexpr wchar_t kByteOrderMark = 0xFEFF;
// Far above any selection (100,000 paths of 260 units are 52 MB), far below what would hurt.
constexpr LONGLONG kMaxJobBytes = 256LL * 1024 * 1024;

bool HasLineBreak(const std::wstring& text) {
    return text.find_first_of(L"\r\n") != std::wstring::npos;
}

bool UsableLine(const std::wstring& line) { return !line.empty() && !HasLineBreak(line); }

}  // namespace

bool JobAsksForDestination(const TransferJob& job) { return job.destination.empty(); }

bool JobPathsAreAbsolute(const TransferJob& job) {
    if (!JobAsksForDestination(job) && !IsAbsoluteDirectory(job.destination)) return false;
    for (const std::wstring& file : job.files) {
        if (!IsAbsoluteDirectory(file)) return false;
    }
    return true;
}

bool FormatJob(const TransferJob& job, std::wstring& text) {
    text.clear();
    if (job.files.empty() || !JobPathsAreAbsolute(job)) return false;
    if (!UsableLine(job.destination) && !JobAsksForDestination(job)) return false;
    text += kByteOrderMark;
    text += job.isCopy ? kCopyLine : kMoveLine;
    text += L'\n';
    text += job.destination;
    text += L'\n';
    for (const std::wstring& file : job.files) {
        if (!UsableLine(file)) {
            text.clear();
            return false;
        }
        text += file;
        text += L'\n';
    }
    return true;
}

bool ParseJob(const std::wstring& text, TransferJob& job) {
    if (text.empty() || text[0] != kByteOrderMark || text.back() != L'\n') return false;
    std::vector<std::wstring> lines;
    size_t start = 1;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (lines.size() < 3) return false;
    job.destination = lines[1];
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!UsableLine(lines[i]) && !(i == 1 && JobAsksForDestination(job))) return false;
    }
    if (lines[0] != kCopyLine && lines[0] != kMoveLine) return false;
    job.isCopy = lines[0] == kCopyLine;
    job.files.assign(lines.begin() + 2, lines.end());
    return JobPathsAreAbsolute(job);
}

namespace {

const wchar_t kJobPrefix[] = L"wdj";

// GetTempFileNameW's names: the prefix, one to four hex digits, ".tmp".
bool IsJobFileName(const std::wstring& name) {
    if (name.size() < 8 || name.size() > 11) return false;
    size_t digits = name.size() - 7;
    if (_wcsnicmp(name.c_str(), kJobPrefix, 3) != 0 ||
        _wcsicmp(name.c_str() + 3 + digits, L".tmp") != 0) {
        return false;
    }
    for (size_t i = 3; i < 3 + digits; ++i) {
        if (!iswxdigit(name[i])) return false;
    }
    return true;
}

// The file's first line is a job's.
bool StartsAsAJob(HANDLE file) {
    wchar_t head[6] = {};
    DWORD read = 0;
    if (!ReadFile(file, head, sizeof(head), &read, nullptr) || read != sizeof(head)) return false;
    std::wstring line(head + 1, 5);
    return head[0] == kByteOrderMark &&
           (line == std::wstring(kCopyLine) + L'\n' || line == std::wstring(kMoveLine) + L'\n');
}

// Since the file was created or last written, whichever came later.
unsigned long long UntouchedMs(const WIN32_FIND_DATAW& found, const FILETIME& now) {
    const FILETIME& touched = CompareFileTime(&found.ftLastWriteTime, &found.ftCreationTime) > 0
                                  ? found.ftLastWriteTime
                                  : found.ftCreationTime;
    ULARGE_INTEGER then = {{touched.dwLowDateTime, touched.dwHighDateTime}};
    ULARGE_INTEGER current = {{now.dwLowDateTime, now.dwHighDateTime}};
    return current.QuadPart > then.QuadPart ? (current.QuadPart - then.QuadPart) / 10000 : 0;
}

}  // namespace

bool WriteJobFile(const std::wstring& text, std::wstring& path) {
    wchar_t folder[MAX_PATH] = {};
    wchar_t name[MAX_PATH] = {};
    DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH || GetTempFileNameW(folder, kJobPrefix, 0, name) == 0) {
        return false;
    }
    path = name;
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    bool ok;
    {
        FileHandle file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_TEMPORARY, nullptr));
        ok = file.Valid() &&
             WriteFile(file.Get(), text.data(), bytes, &written, nullptr) && written == bytes;
    }
    if (!ok) DeleteFileW(name);
    return ok;
}

bool ReadJobFile(const std::wstring& path, std::wstring& text) {
    text.clear();
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size) ||
        size.QuadPart < static_cast<LONGLONG>(sizeof(wchar_t)) || size.QuadPart > kMaxJobBytes ||
        size.QuadPart % sizeof(wchar_t) != 0) {
        return false;
    }
    std::wstring content(static_cast<size_t>(size.QuadPart) / sizeof(wchar_t), L'\0');
    DWORD bytes = static_cast<DWORD>(size.QuadPart);
    DWORD read = 0;
    if (!ReadFile(file.Get(), &content[0], bytes, &read, nullptr) || read != bytes ||
        content[0] != kByteOrderMark) {
        return false;
    }
    text.swap(content);
    return true;
}

size_t RemoveAbandonedJobFiles(unsigned long long unusedMs) {
    wchar_t folder[MAX_PATH] = {};
    DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return 0;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((std::wstring(folder) + kJobPrefix + L"*.tmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    std::vector<std::wstring> abandoned;
    const DWORD notAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    do {
        if (!(found.dwFileAttributes & notAFile) && IsJobFileName(found.cFileName) &&
            UntouchedMs(found, now) >= unusedMs) {
            abandoned.push_back(std::wstring(folder) + found.cFileName);
        }
    } while (FindNextFileW(find, &found));
    FindClose(find);
    size_t removed = 0;
    for (const std::wstring& path : abandoned) {
        bool ours;
        {
            // Without sharing: a process reading it right now keeps it.
            FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
            ours = file.Valid() && StartsAsAJob(file.Get());
        }
        if (ours && DeleteFileW(path.c_str())) ++removed;
    }
    return removed;
}
