// wendrift-bench: times the handler through the same COM path as the shell (CoCreateInstance
// through the registry, the shell's own data object, a real popup menu) and prints one
// "name value" line per figure, for tools/benchmark.sh to judge.
//
//   initialize_<n>_ms          median Initialize with n selected files
//   dragqueryfile_<n>_ms       the same selection read with DragQueryFileW per index (reference)
//   querycontextmenu_<n>_ms    median QueryContextMenu with n stored directories
//   listing_<n>_ms             median of one bare listing of those n values (the menu's floor)
//   defaultverb_<n>_ms         median QueryContextMenu for the default verb only (a double-click)
//
// The library must be registered (regsvr32) before it runs.
#include "WendriftClassIds.h"
#include "store/AssociationStore.h"
#include "tools/shellhost/ShellSelection.h"

#include "tools/bench/BenchClock.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const wchar_t kExtension[] = L".wdbench";

void Print(const char* name, size_t n, double value) {
    printf("%s_%zu_ms %.4f\n", name, n, value);
    fflush(stdout);
}

struct Handler {
    IShellExtInit* init = nullptr;
    IContextMenu* menu = nullptr;
    bool Create() {
        if (FAILED(CoCreateInstance(kShellCallbackClassId, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IShellExtInit, reinterpret_cast<void**>(&init)))) {
            return false;
        }
        return SUCCEEDED(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)));
    }
};

std::wstring BenchFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::vector<std::wstring> MakeFiles(const std::wstring& folder, size_t count) {
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < count; ++i) {
        std::wstring path = folder + L"\\selected file " + std::to_wstring(i) + kExtension;
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        }
        paths.push_back(path);
    }
    return paths;
}

bool BenchInitialize(Handler& handler, size_t count, int runs) {
    // A folder holding exactly the selection, so that "select all" selects it.
    std::wstring folder = BenchFolder((L"wendrift bench " + std::to_wstring(count)).c_str());
    MakeFiles(folder, count);
    ShellSelection selection;
    if (!selection.CreateFromFolder(folder)) {
        fprintf(stderr, "cannot build the selection: %ls\n", selection.Problem().c_str());
        return false;
    }
    IDataObject* data = selection.DataObject();
    if (handler.init->Initialize(selection.FolderId(), data, nullptr) != S_OK ||
        handler.init->Initialize(selection.FolderId(), data, nullptr) != S_OK) {
        fprintf(stderr, "Initialize refused the selection\n");
        return false;
    }
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        double start = NowMs();
        HRESULT hr = handler.init->Initialize(selection.FolderId(), data, nullptr);
        samples.push_back(NowMs() - start);
        if (hr != S_OK) {
            fprintf(stderr, "Initialize answered 0x%08lX\n", static_cast<unsigned long>(hr));
            return false;
        }
    }
    Print("initialize", count, Median(samples));

    // Of which the shell's data object: handing out CF_HDROP and taking it back.
    std::vector<double> getData;
    for (int i = 0; i < runs; ++i) {
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        double start = NowMs();
        if (SUCCEEDED(data->GetData(&format, &medium))) ReleaseStgMedium(&medium);
        getData.push_back(NowMs() - start);
    }
    Print("getdata", count, Median(getData));

    // What reading the same data object per index costs, for comparison (one run is plenty).
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (SUCCEEDED(data->GetData(&format, &medium))) {
        double start = NowMs();
        HDROP drop = static_cast<HDROP>(medium.hGlobal);
        UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        std::vector<std::wstring> read;
        for (UINT i = 0; i < n; ++i) {
            wchar_t buffer[MAX_PATH] = {};
            DragQueryFileW(drop, i, buffer, MAX_PATH);
            read.emplace_back(buffer);
        }
        Print("dragqueryfile", count, NowMs() - start);
        ReleaseStgMedium(&medium);
    }
    return true;
}

// What the menu cannot go below: one open of the extension's key, one enumeration step per
// value, one close.
void BareListing(size_t directories) {
    std::wstring key = std::wstring(kStoreBaseKey) + L"\\" + kExtension;
    static wchar_t name[16384];
    HKEY handle = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, &handle);
    for (DWORD i = 0; i < directories; ++i) {
        DWORD length = 16384;
        RegEnumValueW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    }
    RegCloseKey(handle);
}

// The query a double-click makes: nothing may be added, nothing read.
bool BenchDefaultVerb(Handler& handler, size_t directories, int runs) {
    std::vector<double> samples;
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i <= runs; ++i) {  // run 0 warms up
        double start = NowMs();
        HRESULT hr = handler.menu->QueryContextMenu(menu, 0, 1, 0x7FFF, CMF_DEFAULTONLY);
        double elapsed = NowMs() - start;
        if (hr != S_OK || GetMenuItemCount(menu) != 0) {
            fprintf(stderr, "the default-verb query answered 0x%08lX and added %d items\n",
                    static_cast<unsigned long>(hr), GetMenuItemCount(menu));
            DestroyMenu(menu);
            return false;
        }
        if (i > 0) samples.push_back(elapsed);
    }
    DestroyMenu(menu);
    Print("defaultverb", directories, Median(samples));
    return true;
}

bool BenchQueryContextMenu(Handler& handler, size_t directories, int runs, bool withFloor) {
    RemoveExtension(kExtension);
    AddExtension(kExtension);
    for (size_t i = 0; i < directories; ++i) {
        AssociateDirectory(kExtension, L"c:\\bench destinations\\folder " + std::to_wstring(i));
    }
    std::vector<std::wstring> one = MakeFiles(BenchFolder(L"wendrift bench menu"), 1);
    ShellSelection selection;
    if (!selection.Create(one) || handler.init->Initialize(selection.FolderId(), selection.DataObject(), nullptr) != S_OK) {
        fprintf(stderr, "cannot hand the handler its selection\n");
        return false;
    }
    std::vector<double> menuSamples, listingSamples;
    for (int i = 0; i <= runs; ++i) {  // run 0 warms up
        HMENU menu = CreatePopupMenu();
        double start = NowMs();
        HRESULT hr = handler.menu->QueryContextMenu(menu, 0, 1, 0x7FFF, CMF_NORMAL);
        double elapsed = NowMs() - start;
        DestroyMenu(menu);
        // Two submenus, their directories and their "&Other folder..." items.
        if (HRESULT_CODE(hr) != static_cast<int>(2 * directories + 4)) {
            fprintf(stderr, "QueryContextMenu answered 0x%08lX\n", static_cast<unsigned long>(hr));
            return false;
        }
        if (withFloor) {  // interleaved, so both see the same conditions
            start = NowMs();
            BareListing(directories);
            if (i > 0) listingSamples.push_back(NowMs() - start);
        }
        if (i > 0) menuSamples.push_back(elapsed);
    }
    Print("querycontextmenu", directories, Median(menuSamples));
    bool ok = true;
    if (withFloor) {
        Print("listing", directories, Median(listingSamples));
        ok = BenchDefaultVerb(handler, directories, 201);
    }
    RemoveExtension(kExtension);
    return ok;
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Handler handler;
    if (!handler.Create()) {
        fprintf(stderr, "the handler cannot be created through COM: is Wendrift.dll registered?\n");
        return 1;
    }
    bool ok = BenchInitialize(handler, 1000, 21) && BenchInitialize(handler, 10000, 11) &&
              BenchQueryContextMenu(handler, 10, 51, false) &&
              BenchQueryContextMenu(handler, 100, 21, true) &&
              BenchQueryContextMenu(handler, 1000, 5, false);
    CoUninitialize();
    return ok ? 0 : 1;
}
