// wendrift-command-bench <Wendrift.dll>: what the Windows 11 "Copy To" command's GetState costs
// on a right-click, next to one RegOpenKeyExW + RegCloseKey of the extension's store key, timed
// in the same run, interleaved. The command is made as a surrogate makes it (the library's
// DllGetClassObject), the selection as Explorer makes it (an IShellItemArray from the shell's
// data object). One "name value" line per figure, in microseconds:
//
//   getstate_1_us               one file of an associated extension
//   getstate_unassociated_us    one file of an extension not in the store
//   getstate_100_us             100 files of an associated extension
//   registry_open_us            RegOpenKeyExW + RegCloseKey of the extension's store key
//   shell_answers_us            the shell's answers GetState needs about one file, alone: its
//                               path from its id list and its attributes
#include "shellext/CommandClassIds.h"
#include "store/AssociationStore.h"
#include "tools/shellhost/ShellSelection.h"

#include "tools/bench/BenchClock.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const wchar_t kAssociated[] = L".wdcmdbench";
const wchar_t kUnassociated[] = L".wdcmdbenchx";
constexpr int kBatch = 200;  // calls per timed batch; 4 for 100 files
constexpr int kRounds = 31;

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

IShellItemArray* Selection(const std::wstring& extension, int count) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"wendrift command bench";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i) {
        paths.push_back(folder + L"\\file " + std::to_wstring(i) + extension);
        CloseHandle(CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0,
                                nullptr));
    }
    ShellSelection selection;
    IShellItemArray* items = nullptr;
    if (!selection.Create(paths) ||
        FAILED(SHCreateShellItemArrayFromDataObject(selection.DataObject(), IID_IShellItemArray,
                                                    reinterpret_cast<void**>(&items)))) {
        return nullptr;
    }
    return items;
}

// One batch's mean per call, in microseconds, added to the rounds.
void Time(const std::function<void()>& call, std::vector<double>& rounds, int batch = kBatch) {
    double start = NowMs();
    for (int i = 0; i < batch; ++i) call();
    rounds.push_back((NowMs() - start) * 1000.0 / batch);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: wendrift-command-bench <Wendrift.dll>\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HMODULE library = LoadLibraryW(argv[1]);
    auto getClassObject = library == nullptr ? nullptr
        : reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    IClassFactory* factory = nullptr;
    IExplorerCommand* command = nullptr;
    if (getClassObject == nullptr ||
        FAILED(getClassObject(kCopyCommandClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory))) ||
        FAILED(factory->CreateInstance(nullptr, IID_IExplorerCommand, reinterpret_cast<void**>(&command)))) {
        fprintf(stderr, "cannot create the command from %ls\n", argv[1]);
        return 1;
    }
    RemoveExtension(kUnassociated);
    AddExtension(kAssociated);
    AssociateDirectory(kAssociated, L"c:\\bench destinations\\one");
    IShellItemArray* one = Selection(kAssociated, 1);
    IShellItemArray* other = Selection(kUnassociated, 1);
    IShellItemArray* hundred = Selection(kAssociated, 100);
    if (one == nullptr || other == nullptr || hundred == nullptr) {
        fprintf(stderr, "cannot build the selections\n");
        return 1;
    }
    EXPCMDSTATE state = ECS_HIDDEN;
    if (FAILED(command->GetState(one, TRUE, &state)) || state != ECS_ENABLED) {
        fprintf(stderr, "GetState does not show the command for the associated file\n");
        return 1;
    }
    std::wstring key = std::wstring(kStoreBaseKey) + L"\\" + kAssociated;
    IShellItem* item = nullptr;
    one->GetItemAt(0, &item);
    std::wstring path(32768, L'\0');
    std::vector<double> getState, unassociated, many, registry, shell;
    for (int round = 0; round <= kRounds; ++round) {  // round 0 warms up
        Time([&] { command->GetState(one, FALSE, &state); }, getState);
        Time([&] {
            HKEY handle = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS) {
                RegCloseKey(handle);
            }
        }, registry);
        Time([&] {
            PIDLIST_ABSOLUTE id = nullptr;
            SFGAOF attributes = 0;
            if (SUCCEEDED(SHGetIDListFromObject(item, &id))) {
                SHGetPathFromIDListEx(id, &path[0], 32768, GPFIDL_DEFAULT);
                CoTaskMemFree(id);
            }
            item->GetAttributes(SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_STREAM, &attributes);
        }, shell);
        Time([&] { command->GetState(other, FALSE, &state); }, unassociated);
        Time([&] { command->GetState(hundred, FALSE, &state); }, many, kBatch / 50);
    }
    for (auto* samples : {&getState, &unassociated, &many, &registry, &shell}) {
        samples->erase(samples->begin());
    }
    printf("getstate_1_us %.3f\n", Median(getState));
    printf("getstate_unassociated_us %.3f\n", Median(unassociated));
    printf("getstate_100_us %.3f\n", Median(many));
    printf("registry_open_us %.3f\n", Median(registry));
    printf("shell_answers_us %.3f\n", Median(shell));
    RemoveExtension(kAssociated);
    item->Release();
    one->Release();
    other->Release();
    hundred->Release();
    command->Release();
    CoUninitialize();
    return 0;
}
