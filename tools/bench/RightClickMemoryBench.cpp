// wendrift-memory-bench: what right-clicks cost the shell's process in memory that it never gets
// back, for tools/benchmark.sh. One right-click as the shell makes it: the handler created
// through COM, Initialize with a selection of 10 files, QueryContextMenu into a popup menu
// (destroyed again), Release of both interfaces. Prints "name value" lines:
//
//   source           PrivateUsage, or committed_private where the platform reports none
//   rightclick_bytes   private bytes per right-click over 10,000 right-clicks after a warm-up
//   created_bytes      the same for handlers only created and released (the object alone)
//   selection_bytes    the same for Initialize only, on one handler, as a check that a new
//                      selection gives back the previous one's memory
//
//   wendrift-memory-bench FOLDER   (FOLDER holds the 10 files; the library must be registered)
#include "WendriftClassIds.h"
#include "store/AssociationStore.h"
#include "tools/shellhost/ShellSelection.h"

#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const wchar_t kExtension[] = L".wdmem";
const int kClicks = 10000;
const int kWarmUp = 200;

// The committed private pages of the process, counted region by region: what private bytes
// are, and what Wine 8 leaves at 0 in PROCESS_MEMORY_COUNTERS_EX::PrivateUsage.
SIZE_T CommittedPrivateBytes() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region = {};
    for (const char* address = nullptr;
         VirtualQuery(address, &region, sizeof(region)) == sizeof(region);
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    }
    return total;
}

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters)) &&
        counters.PrivateUsage != 0) {
        return counters.PrivateUsage;
    }
    return CommittedPrivateBytes();
}

// Bytes per step kept after kClicks steps, measured from a baseline taken after a warm-up.
bool PerStep(const std::function<bool()>& step, double& bytes) {
    for (int i = 0; i < kWarmUp; ++i) {
        if (!step()) return false;
    }
    SIZE_T baseline = PrivateBytes();
    for (int i = 0; i < kClicks; ++i) {
        if (!step()) return false;
    }
    bytes = (static_cast<double>(PrivateBytes()) - static_cast<double>(baseline)) / kClicks;
    return true;
}

bool Create(IShellExtInit*& init, IContextMenu*& menu) {
    return SUCCEEDED(CoCreateInstance(kShellCallbackClassId, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellExtInit, reinterpret_cast<void**>(&init))) &&
           SUCCEEDED(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)));
}

int Run(const std::wstring& folder) {
    std::vector<std::wstring> files;
    for (int i = 0; i < 10; ++i) {
        files.push_back(folder + L"\\selected file " + std::to_wstring(i) + kExtension);
        HANDLE file = CreateFileW(files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        CloseHandle(file);
    }
    // Two destinations: each right-click's menu holds two items per submenu.
    RemoveExtension(kExtension);
    AddExtension(kExtension);
    AssociateDirectory(kExtension, folder + L"\\first destination");
    AssociateDirectory(kExtension, folder + L"\\second destination");
    ShellSelection selection;
    if (!selection.Create(files)) {
        fprintf(stderr, "cannot build the selection: %ls\n", selection.Problem().c_str());
        return 1;
    }

    auto rightClick = [&] {
        IShellExtInit* init = nullptr;
        IContextMenu* menu = nullptr;
        if (!Create(init, menu)) return false;
        HMENU popup = CreatePopupMenu();
        bool ok = init->Initialize(selection.FolderId(), selection.DataObject(), nullptr) == S_OK &&
                  SUCCEEDED(menu->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_NORMAL));
        DestroyMenu(popup);
        menu->Release();
        init->Release();
        return ok;
    };
    auto createOnly = [&] {
        IShellExtInit* init = nullptr;
        IContextMenu* menu = nullptr;
        if (!Create(init, menu)) return false;
        menu->Release();
        init->Release();
        return true;
    };
    IShellExtInit* reused = nullptr;
    IContextMenu* reusedMenu = nullptr;
    auto initializeOnly = [&] {
        return reused->Initialize(selection.FolderId(), selection.DataObject(), nullptr) == S_OK;
    };

    double rightClickBytes = 0, createdBytes = 0, selectionBytes = 0;
    bool ok = PerStep(rightClick, rightClickBytes) && PerStep(createOnly, createdBytes) &&
              Create(reused, reusedMenu) && PerStep(initializeOnly, selectionBytes);
    RemoveExtension(kExtension);
    for (const std::wstring& file : files) DeleteFileW(file.c_str());
    if (!ok) {
        fprintf(stderr, "a right-click failed\n");
        return 1;
    }
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    printf("source %s\n", counters.PrivateUsage != 0 ? "PrivateUsage" : "committed_private");
    printf("rightclick_bytes %.1f\ncreated_bytes %.1f\nselection_bytes %.1f\n", rightClickBytes,
           createdBytes, selectionBytes);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: wendrift-memory-bench FOLDER\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = Run(argv[1]);
    CoUninitialize();
    return status;
}
