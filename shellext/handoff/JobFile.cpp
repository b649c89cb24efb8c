#include "shellext/handoff/JobFile.h"

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

// A handle closed whatever way the function leaves.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

bool JobAsksForDestination(const TransferJob& job) { return job.destination.empty(); }

bool FormatJob(const TransferJob& job, std::wstring& text) {
    text.clear();
    if (job.files.empty()) return false;
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
    return true;
}

bool WriteJobFile(const std::wstring& text, std::wstring& path) {
    wchar_t folder[MAX_PATH] = {};
    wchar_t name[MAX_PATH] = {};
    DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH || GetTempFileNameW(folder, L"wdj", 0, name) == 0) {
        return false;
    }
    path = name;
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    bool ok;
    {
        FileHandle file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_TEMPORARY, nullptr));
        ok = file.Get() != INVALID_HANDLE_VALUE &&
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
    if (file.Get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.Get(), &size) ||
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
