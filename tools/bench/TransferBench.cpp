// wendrift-transfer-bench: one timed transfer, or the progress routine's per-call cost, for
// tools/benchmark.sh. Prints one "name value" line per figure.
//
//   invoke SOURCE_FOLDER DESTINATION WARMUP_SOURCE WARMUP_DESTINATION
//                                     every file of the folder copied through the registered
//                                     library as the shell starts it (selection, menu,
//                                     InvokeCommand "Cop&y To/&1."), with its progress dialog:
//                                     ms = from InvokeCommand until the transfer lets go of the
//                                     host's process reference, its last act; then checks every
//                                     file arrived whole. A transfer of the warm-up folder
//                                     comes first (warmup_ms), then the same again (fixed_ms:
//                                     the start and end of a transfer, with its one small file)
//                                     and its parts: a thread making, showing and destroying
//                                     the dialog (dialog_ms), one more thread (threads_ms).
//   copyloop SOURCE_FOLDER DESTINATION  the same files by a plain CopyFileExW loop (no routine).
//   copyloop-new SOURCE_FOLDER DESTINATION
//                                     the same loop with COPY_FILE_FAIL_IF_EXISTS, as the
//                                     transfer copies to a new name. Under Wine the plain loop
//                                     opens each target with truncation, after which ext4
//                                     writes the file back when it is closed; this one does not.
//   routine                           ns per TransferProgressRoutine call in the middle of a
//                                     file (same percentage: only the byte count is published).
//   identity FILE OTHER_FILE          us per identity check before a replace (are the two one
//                                     file under two names?), on two different files.
//
// The destination must exist and be empty; the library must be registered (regsvr32).
#include "WendriftClassIds.h"
#include "store/AssociationStore.h"
#include "tools/shellhost/MenuTree.h"
#include "tools/shellhost/ShellSelection.h"
#include "transfer/FileIdentity.h"
#include "transfer/ProgressContext.h"
#include "transfer/ProgressDlg.h"
#include "transfer/ProgressState.h"
#include "transfer/TransferProgressRoutine.h"
#include "transfer/TransferResources.h"
#include "winframe/LibraryContext.h"

#include "tools/bench/BenchClock.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// The extension the benchmark's files carry; the script names them so.
const wchar_t kExtension[] = L".wdtp";

struct FileEntry {
    std::wstring name;
    unsigned long long size;
};

std::vector<FileEntry> ListFiles(const std::wstring& folder) {
    std::vector<FileEntry> files;
    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return files;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        files.push_back({found.cFileName,
                         (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) |
                             found.nFileSizeLow});
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return files;
}

// Every source file is in the destination with its size.
bool AllArrived(const std::wstring& source, const std::wstring& destination) {
    std::vector<FileEntry> from = ListFiles(source), to = ListFiles(destination);
    auto byName = [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; };
    std::sort(from.begin(), from.end(), byName);
    std::sort(to.begin(), to.end(), byName);
    if (from.size() != to.size()) {
        fprintf(stderr, "%zu of %zu files arrived\n", to.size(), from.size());
        return false;
    }
    for (size_t i = 0; i < from.size(); ++i) {
        if (from[i].name != to[i].name || from[i].size != to[i].size) {
            fprintf(stderr, "%ls arrived incomplete\n", from[i].name.c_str());
            return false;
        }
    }
    return true;
}

// The host's process reference, as Explorer hands it to a handler (SHSetInstanceExplorer): a
// transfer holds it from its start and lets go as its UI thread's last act. Its event is set
// then, so the end is noticed at once, with no look at the process's threads (a snapshot costs
// milliseconds under Wine).
class HostReference : public IUnknown {
public:
    HostReference() : released_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~HostReference() { CloseHandle(released_); }
    HostReference(const HostReference&) = delete;
    HostReference& operator=(const HostReference&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = iid == IID_IUnknown ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&count_); }
    // The benchmark's own reference stays: back to it means the transfer let go.
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&count_);
        if (left == 1) SetEvent(released_);
        return static_cast<ULONG>(left);
    }
    bool WaitForRelease(DWORD timeoutMs) {
        return WaitForSingleObject(released_, timeoutMs) == WAIT_OBJECT_0;
    }

private:
    LONG count_ = 1;
    HANDLE released_;
};

// One "Cop&y To" of every file in source into destination; elapsedMs is from InvokeCommand
// until the transfer's threads are gone.
bool TimedTransfer(const std::wstring& source, const std::wstring& destination, double& elapsedMs) {
    RemoveExtension(kExtension);
    if (!AddExtension(kExtension) || !AssociateDirectory(kExtension, destination)) {
        fprintf(stderr, "cannot associate the destination with %ls\n", kExtension);
        return false;
    }
    bool done = false;
    ShellSelection selection;
    IShellExtInit* init = nullptr;
    IContextMenu* menu = nullptr;
    HMENU popup = CreatePopupMenu();
    const MenuNode* item = nullptr;
    std::vector<MenuNode> nodes;
    if (!selection.CreateFromFolder(source)) {
        fprintf(stderr, "cannot build the selection: %ls\n", selection.Problem().c_str());
    } else if (FAILED(CoCreateInstance(kShellCallbackClassId, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellExtInit, reinterpret_cast<void**>(&init))) ||
               FAILED(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)))) {
        fprintf(stderr, "the handler cannot be created through COM: is Wendrift.dll registered?\n");
    } else if (init->Initialize(selection.FolderId(), selection.DataObject(), nullptr) != S_OK ||
               FAILED(menu->QueryContextMenu(popup, 0, 100, 0x7FFF, CMF_NORMAL)) ||
               !(item = FindMenuItem(nodes = ReadMenu(popup), L"Cop&y To/&1."))) {
        fprintf(stderr, "the handler offers no \"Cop&y To/&1.\"\n");
    } else {
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof(info);
        info.lpVerb = MAKEINTRESOURCEA(item->id - 100);
        info.nShow = SW_SHOWNORMAL;
        HostReference host;
        SHSetInstanceExplorer(&host);
        double start = NowMs();
        HRESULT hr = menu->InvokeCommand(&info);
        bool ended = hr == S_OK && host.WaitForRelease(300000);
        elapsedMs = NowMs() - start;
        SHSetInstanceExplorer(nullptr);
        if (hr != S_OK || !ended) {
            fprintf(stderr, "the transfer did not end (InvokeCommand 0x%08lX)\n",
                    static_cast<unsigned long>(hr));
        } else {
            done = AllArrived(source, destination);
        }
    }
    if (menu) menu->Release();
    if (init) init->Release();
    DestroyMenu(popup);
    RemoveExtension(kExtension);
    return done;
}

// A thread started, running `work` and waited for, in milliseconds: the median of five, after
// one that sets up what this program's own copy of the code does once.
double ThreadMs(LPTHREAD_START_ROUTINE work) {
    std::vector<double> samples;
    for (int round = 0; round < 6; ++round) {
        double start = NowMs();
        HANDLE thread = CreateThread(nullptr, 0, work, nullptr, 0, nullptr);
        if (!thread) return -1;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        if (round > 0) samples.push_back(NowMs() - start);
    }
    return Median(samples);
}

// The transfer's UI thread alone: the progress dialog from the library's own template made,
// shown, its messages answered and destroyed.
DWORD WINAPI DialogAlone(LPVOID) {
    ProgressDlg dialog;
    if (dialog.CreateModeless(LibraryModule(), MAKEINTRESOURCEW(IDD_PROGRESS), nullptr)) {
        ShowWindow(dialog.Handle(), SW_SHOW);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        DestroyWindow(dialog.Handle());
    }
    return 0;
}

// The worker thread alone, doing nothing.
DWORD WINAPI NothingAlone(LPVOID) { return 0; }

// The shell's process has shown windows of the common controls long before a transfer starts;
// this one has not. A first transfer of one small file loads and sets up what a process does
// once (its time is printed as warmup_ms); the same again is the fixed cost of a transfer
// (fixed_ms), with its parts; then the timed one runs.
int Invoke(const std::wstring& source, const std::wstring& destination,
           const std::wstring& warmUpSource, const std::wstring& warmUpDestination) {
    double warmUpMs = 0, fixedMs = 0, ms = 0;
    if (!TimedTransfer(warmUpSource, warmUpDestination, warmUpMs)) return 1;
    for (const FileEntry& file : ListFiles(warmUpDestination)) {
        DeleteFileW((warmUpDestination + L"\\" + file.name).c_str());
    }
    if (!TimedTransfer(warmUpSource, warmUpDestination, fixedMs)) return 1;
    SetLibraryModule(GetModuleHandleW(L"Wendrift.dll"));
    double dialogMs = ThreadMs(DialogAlone), threadsMs = ThreadMs(NothingAlone);
    if (!TimedTransfer(source, destination, ms)) return 1;
    printf("warmup_ms %.3f\nfixed_ms %.3f\ndialog_ms %.3f\nthreads_ms %.3f\nms %.3f\n", warmUpMs,
           fixedMs, dialogMs, threadsMs, ms);
    return 0;
}

int CopyLoop(const std::wstring& source, const std::wstring& destination, DWORD flags = 0) {
    std::vector<FileEntry> files = ListFiles(source);
    std::vector<std::wstring> from, to;
    for (const FileEntry& file : files) {
        from.push_back(source + L"\\" + file.name);
        to.push_back(destination + L"\\" + file.name);
    }
    double start = NowMs();
    for (size_t i = 0; i < from.size(); ++i) {
        if (!CopyFileExW(from[i].c_str(), to[i].c_str(), nullptr, nullptr, nullptr, flags)) {
            fprintf(stderr, "CopyFileExW failed for %ls: %lu\n", from[i].c_str(), GetLastError());
            return 1;
        }
    }
    double elapsed = NowMs() - start;
    if (!AllArrived(source, destination)) return 1;
    printf("ms %.3f\n", elapsed);
    return 0;
}

// The routine as the platform calls it in the middle of a large file: the same percentage as
// last published, so it checks the cancel flag and publishes the byte count only.
int Routine() {
    ProgressState progress;
    ProgressContext context;
    context.progress = &progress;
    context.cancelFlag = progress.CancelFlag();
    LARGE_INTEGER total, done;
    total.QuadPart = 128LL << 20;
    done.QuadPart = 64LL << 20;
    context.lastPercent = 50;
    const int kCalls = 2000;
    std::vector<double> samples;
    for (int batch = 0; batch <= 30; ++batch) {  // batch 0 warms up
        double start = NowMs();
        for (int i = 0; i < kCalls; ++i) {
            if (TransferProgressRoutine(total, done, total, done, 1, CALLBACK_CHUNK_FINISHED,
                                        nullptr, nullptr, &context) != PROGRESS_CONTINUE) {
                return 1;
            }
        }
        double elapsed = NowMs() - start;
        if (batch > 0) samples.push_back(elapsed * 1e6 / kCalls);
    }
    printf("routine_ns %.1f\n", Median(samples));
    return 0;
}

// The check the worker makes when a target exists, before it asks to replace it.
int Identity(const std::wstring& file, const std::wstring& other) {
    const int kCalls = 200;
    std::vector<double> samples;
    for (int batch = 0; batch <= 15; ++batch) {  // batch 0 warms up
        double start = NowMs();
        for (int i = 0; i < kCalls; ++i) {
            if (IsSameFile(file, other)) return 1;
        }
        double elapsed = NowMs() - start;
        if (batch > 0) samples.push_back(elapsed * 1000 / kCalls);
    }
    printf("identity_us %.2f\n", Median(samples));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"routine") return Routine();
    if (mode == L"identity" && argc == 4) return Identity(argv[2], argv[3]);
    if (mode == L"copyloop" && argc == 4) return CopyLoop(argv[2], argv[3]);
    if (mode == L"copyloop-new" && argc == 4) {
        return CopyLoop(argv[2], argv[3], COPY_FILE_FAIL_IF_EXISTS);
    }
    if (mode != L"invoke" || argc != 6) {
        fprintf(stderr, "usage: wendrift-transfer-bench invoke SOURCE DESTINATION WARMUP_SOURCE "
                        "WARMUP_DESTINATION | copyloop[-new] SOURCE DESTINATION | routine | "
                        "identity FILE OTHER_FILE\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = Invoke(argv[2], argv[3], argv[4], argv[5]);
    CoUninitialize();
    return status;
}
