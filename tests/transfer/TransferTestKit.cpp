#include "TransferTestKit.h"

#include "transfer/TransferPlatform.h"
#include "winframe/LibraryContext.h"

#include <commctrl.h>
#include "tools/shellhost/ProcessThreads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

namespace kit {

namespace {

// The test executable carries the library's dialogs and icon: it stands in for the library.
struct LibraryStandIn {
    LibraryStandIn() {
        INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                         ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        SetLibraryModule(GetModuleHandleW(nullptr));
    }
} gLibraryStandIn;

const wchar_t kScratchRoot[] = L"C:\\wdtest";

}  // namespace

std::wstring Scratch::PathFor(const std::wstring& name) {
    return std::wstring(kScratchRoot) + L"\\" + name;
}

Scratch::Scratch(const std::wstring& name) : path_(PathFor(name)) {
    CreateDirectoryW(kScratchRoot, nullptr);
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
}

Scratch::~Scratch() {
    RemoveTree(path_);
}

void RemoveTree(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // The link itself, never what it leads to (Wine deletes no link to a folder).
        RunUnix(L"rm -f '" + UnixPathOf(path) + L"'");
        return;
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    for (const std::wstring& name : Listing(path)) RemoveTree(path + L"\\" + name);
    RemoveDirectoryW(path.c_str());
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                         &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return true;
}

std::string Bytes(const std::wstring& path) {
    std::string bytes;
    return ReadBytes(path, bytes) ? bytes : std::string("<missing>");
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> Listing(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Payload(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 1;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 16);
    }
    return bytes;
}

std::wstring UnixPathOf(const std::wstring& windowsPath) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(windowsPath.c_str()) : nullptr;
    if (!name) return std::wstring();
    std::wstring path;
    int units = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
    if (units > 1) {
        path.resize(units - 1);
        MultiByteToWideChar(CP_UTF8, 0, name, -1, &path[0], units);
    }
    HeapFree(GetProcessHeap(), 0, name);
    return path;
}

// Wine starts Linux programs but gives no waitable handle or exit code for them, so the
// command leaves its output behind when it succeeded: in a file of this process and call alone,
// renamed into place once whole.
bool RunUnix(const std::wstring& command, std::string* output) {
    static LONG calls = 0;
    std::wstring marker = std::wstring(kScratchRoot) + L"\\unix-" +
                          std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(InterlockedIncrement(&calls)) + L".out";
    CreateDirectoryW(kScratchRoot, nullptr);
    const std::wstring unixMarker = L"'" + UnixPathOf(marker) + L"'";
    const std::wstring part = L"'" + UnixPathOf(marker) + L".part'";
    std::wstring line = L"/bin/sh -c \"{ " + command + L"; } > " + part + L" && mv " + part +
                        L" " + unixMarker + L" || rm -f " + part + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(L"Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    bool done = WaitUntil([&] { return Exists(marker); }, 5000);
    if (done && output != nullptr) ReadBytes(marker, *output);
    DeleteFileW(marker.c_str());
    return done;
}

bool IsRoot() {
    static std::string uid;
    static const bool asked = RunUnix(L"id -u", &uid);
    EXPECT_TRUE(asked) << "the Linux side did not say who runs the tests";
    return uid == "0\n";
}

bool LacksRoot() {
    if (IsRoot()) return false;
    EXPECT_EQ(GetEnvironmentVariableW(L"WENDRIFT_REQUIRE_ROOT", nullptr, 0), 0u)
        << "this run must run the tests that need root, but the Linux side is not root";
    return true;
}

std::vector<DWORD> Threads() { return ThreadsOfThisProcess(); }

std::string NewThreadsLeft(const std::vector<DWORD>& before) {
    using QueryThread = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryThread>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
    std::string text;
    for (DWORD id : Threads()) {
        if (std::find(before.begin(), before.end(), id) != before.end()) continue;
        void* start = nullptr;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, id);
        if (thread != nullptr && query != nullptr) {
            query(thread, 9 /* ThreadQuerySetWin32StartAddress */, &start, sizeof(start), nullptr);
        }
        if (thread != nullptr) CloseHandle(thread);
        char module[MAX_PATH] = "?";
        HMODULE owner = nullptr;
        if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                   GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               static_cast<const char*>(start), &owner)) {
            GetModuleFileNameA(owner, module, MAX_PATH);
        }
        text += " thread " + std::to_string(id) + " from " + module + ";";
    }
    return text;
}

bool WaitForNewThreadsToEnd(const std::vector<DWORD>& before, DWORD timeoutMs) {
    int quiet = 0;
    return ::WaitUntil(
        [&] {
            bool any = false;
            for (DWORD id : Threads()) {
                if (std::find(before.begin(), before.end(), id) == before.end()) any = true;
            }
            quiet = any ? 0 : quiet + 1;
            return quiet >= 2;
        },
        timeoutMs);
}

namespace {

BOOL CALLBACK AnswerLeftover(HWND window, LPARAM) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (process != GetCurrentProcessId() || std::wstring(className) != L"#32770") return TRUE;
    if (GetDlgItem(window, 1007)) PostCommand(window, 1007);                  // progress: Cancel
    if (GetDlgItem(window, IDNO)) PostCommand(window, IDNO);                  // continue? No
    if (GetDlgItem(window, IDOK)) PostCommand(window, IDOK);                  // notices
    if (GetDlgItem(window, 1011)) PostCommand(window, IDCANCEL);              // replace: Cancel
    return TRUE;
}

}  // namespace

void EndLeftoverTransfers(const std::vector<DWORD>& before) {
    if (before.empty()) return;  // the test started no transfer
    for (int round = 0; round < 50 && !WaitForNewThreadsToEnd(before, 100); ++round) {
        EnumWindows(AnswerLeftover, 0);
    }
}

HWND WaitForDialog(const std::wstring& caption) {
    return WaitForWindow(L"#32770", caption.c_str(), 5000);
}

namespace {

struct ProgressSearch {
    std::wstring name;
    HWND found = nullptr;
};

BOOL CALLBACK FindProgress(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<ProgressSearch*>(search);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
        !GetDlgItem(window, 1007)) {
        return TRUE;
    }
    if (ControlText(window, 1004).find(L"'" + wanted->name + L"'") == std::wstring::npos) {
        return TRUE;
    }
    wanted->found = window;
    return FALSE;
}

}  // namespace

HWND WaitForProgressDialog(const std::wstring& fileName) {
    ProgressSearch search{fileName};
    WaitUntil([&] {
        EnumWindows(FindProgress, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, 5000);
    return search.found;
}

// ---- the stand-in -------------------------------------------------------------------------

namespace {

std::mutex gLock;
StandIn gStandIn;
std::vector<StandIn::Call> gCalls;

void Record(LPCWSTR source, LPCWSTR target, bool isCopy, DWORD flags) {
    StandIn::Call call;
    call.source = source;
    call.target = target;
    call.isCopy = isCopy;
    call.flags = flags;
    std::wstring folder = call.target.substr(0, call.target.find_last_of(L'\\'));
    call.targetFolderAttributes = GetFileAttributesW(folder.c_str());
    call.apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(call.apartment)) CoUninitialize();
    std::lock_guard<std::mutex> lock(gLock);
    gCalls.push_back(call);
}

StandIn Settings() {
    std::lock_guard<std::mutex> lock(gLock);
    return gStandIn;
}

BOOL Abort(HANDLE target, LPCWSTR targetPath, DWORD error) {
    CloseHandle(target);
    DeleteFileW(targetPath);
    SetLastError(error);
    return FALSE;
}

BOOL WINAPI StandInCopy(LPCWSTR source, LPCWSTR target, LPPROGRESS_ROUTINE routine, LPVOID data,
                        LPBOOL cancel, DWORD flags) {
    Record(source, target, true, flags);
    StandIn settings = Settings();
    HANDLE in = CreateFileW(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
    if (in == INVALID_HANDLE_VALUE) return FALSE;
    DWORD disposition = (flags & COPY_FILE_FAIL_IF_EXISTS) ? CREATE_NEW : CREATE_ALWAYS;
    HANDLE out = CreateFileW(target, GENERIC_WRITE, 0, nullptr, disposition,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        CloseHandle(in);
        SetLastError(error);
        return FALSE;
    }
    LARGE_INTEGER size = {}, done = {};
    GetFileSizeEx(in, &size);
    auto report = [&](DWORD reason) -> DWORD {
        if (!routine) return PROGRESS_CONTINUE;
        return routine(size, done, size, done, 1, reason, in, out, data);
    };
    DWORD answer = report(CALLBACK_STREAM_SWITCH);
    std::string buffer(settings.chunkBytes, '\0');
    while (answer == PROGRESS_CONTINUE && !(cancel && *cancel)) {
        DWORD got = 0;
        if (!ReadFile(in, &buffer[0], settings.chunkBytes, &got, nullptr) || got == 0) break;
        DWORD written = 0;
        WriteFile(out, buffer.data(), got, &written, nullptr);
        done.QuadPart += got;
        if (settings.failAfterBytes >= 0 && done.QuadPart >= settings.failAfterBytes) {
            CloseHandle(in);
            return Abort(out, target, settings.failError);
        }
        if (settings.delayPerChunkMs) Sleep(settings.delayPerChunkMs);
        answer = report(CALLBACK_CHUNK_FINISHED);
    }
    CloseHandle(in);
    if (answer != PROGRESS_CONTINUE || (cancel && *cancel)) {
        return Abort(out, target, ERROR_REQUEST_ABORTED);
    }
    CloseHandle(out);
    return TRUE;
}

BOOL WINAPI StandInMove(LPCWSTR source, LPCWSTR target, LPPROGRESS_ROUTINE routine, LPVOID data,
                        DWORD flags) {
    StandIn settings = Settings();
    if (!settings.crossVolume) {
        Record(source, target, false, flags);
        return MoveFileExW(source, target, flags & ~MOVEFILE_COPY_ALLOWED);
    }
    if (!(flags & MOVEFILE_COPY_ALLOWED)) {
        Record(source, target, false, flags);
        SetLastError(ERROR_NOT_SAME_DEVICE);
        return FALSE;
    }
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && Exists(target)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    // Across volumes Windows copies, then deletes the source.
    if (!StandInCopy(source, target, routine, data, nullptr, 0)) return FALSE;
    {
        std::lock_guard<std::mutex> lock(gLock);
        gCalls.back().isCopy = false;
        gCalls.back().flags = flags;
    }
    return DeleteFileW(source);
}

}  // namespace

std::vector<StandIn::Call> StandIn::Calls() {
    std::lock_guard<std::mutex> lock(gLock);
    return gCalls;
}

StandIn& InstallStandIn() {
    {
        std::lock_guard<std::mutex> lock(gLock);
        gStandIn = StandIn();
        gCalls.clear();
    }
    Platform().copyFile = StandInCopy;
    Platform().moveFile = StandInMove;
    return gStandIn;
}

StandIn& InstallSlowStandIn(DWORD delayPerChunkMs) {
    StandIn& standIn = InstallStandIn();
    standIn.chunkBytes = 4096;
    standIn.delayPerChunkMs = delayPerChunkMs;
    return standIn;
}

void RestorePlatform() {
    Platform() = TransferPlatform();
}

}  // namespace kit
