// What the transfer tests share besides tests/support/UiDriver.h: scratch folders and files,
// the threads a transfer starts, and the stand-in for the platform's copy and move calls
// (Wine's CopyFileExW ignores its progress routine and cancel flag).
#pragma once

#include "UiDriver.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kit {

// A fresh empty folder C:\wdtest\<name>, removed again by the destructor. Its path has the
// same length wherever the build folder lies, so paths built on it have the lengths a test
// chose.
class Scratch {
public:
    explicit Scratch(const std::wstring& name);
    static std::wstring PathFor(const std::wstring& name);
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Removes a folder with everything in it; a link is removed, not followed.
void RemoveTree(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
// Empty and false when the file cannot be read.
bool ReadBytes(const std::wstring& path, std::string& bytes);
std::string Bytes(const std::wstring& path);  // "<missing>" when unreadable
bool Exists(const std::wstring& path);
// The names in a folder (without . and ..), sorted.
std::vector<std::wstring> Listing(const std::wstring& folder);
// A pseudo-random payload of `size` bytes, different for each seed.
std::string Payload(size_t size, unsigned seed);

// The Linux side of a Windows path; empty when Wine cannot say.
std::wstring UnixPathOf(const std::wstring& windowsPath);
// Runs a shell command line on the Linux side to its end: false when it failed or took over
// 5 s. `output` receives what it printed.
bool RunUnix(const std::wstring& command, std::string* output = nullptr);
// The Linux side runs the tests as root (mounts can be made). A failure when it cannot be asked.
bool IsRoot();
// For a test that needs root: false as root. Otherwise true for the test to skip, and a failure
// too where the run must run every such test (WENDRIFT_REQUIRE_ROOT, which
// tools/build-and-test.sh sets as root).
bool LacksRoot();

// Threads of this process; a transfer has ended when none started since `before` is left.
std::vector<DWORD> Threads();
bool WaitForNewThreadsToEnd(const std::vector<DWORD>& before, DWORD timeoutMs = 15000);
// For a failure message: each thread started since `before` that is still there, with the module
// its start routine lies in.
std::string NewThreadsLeft(const std::vector<DWORD>& before);
// After a failed test: answers whatever the transfers started since `before` still show
// (No, Cancel) until their threads are gone, so the next test starts on a clean screen.
void EndLeftoverTransfers(const std::vector<DWORD>& before);

// A visible dialog (#32770) with this caption, or null after 5 s.
HWND WaitForDialog(const std::wstring& caption);
// The progress dialog of this process that shows `fileName` as its current file, or null after
// 5 s. The dialog paints what the worker publishes a little later, on its own timer.
HWND WaitForProgressDialog(const std::wstring& fileName);

// The stand-in for CopyFileExW / MoveFileWithProgressW, as Windows documents them: the routine
// is called when the stream starts and after each chunk with the real figures; PROGRESS_CANCEL
// or a set cancel flag stop it with ERROR_REQUEST_ABORTED and the partial target deleted. It
// can also slow down per chunk and fail with a read error part way through a file.
struct StandIn {
    DWORD chunkBytes = 64 * 1024;
    DWORD delayPerChunkMs = 0;
    long long failAfterBytes = -1;  // fail once this many bytes were written
    DWORD failError = ERROR_CRC;
    bool crossVolume = false;  // a rename fails with ERROR_NOT_SAME_DEVICE

    struct Call {
        std::wstring source;
        std::wstring target;
        bool isCopy = true;
        DWORD flags = 0;
        DWORD targetFolderAttributes = INVALID_FILE_ATTRIBUTES;  // of the folder written into
        // CoInitializeEx(apartment-threaded) on the calling thread: S_FALSE when the thread
        // already had an apartment.
        HRESULT apartment = E_FAIL;
    };
    std::vector<Call> Calls();
};

// Installs the stand-in (fresh settings, no calls) for the current test; Restore puts the
// platform's own functions and clock back.
StandIn& InstallStandIn();
// The same, copying 4 KiB at a time with a pause after each chunk: a transfer slow enough to
// watch and to act on while it runs.
StandIn& InstallSlowStandIn(DWORD delayPerChunkMs);
void RestorePlatform();

}  // namespace kit
