// wendrift-command-bench <Wendrift.dll>: what the Windows 11 "Copy To" command's GetState costs
// on a right-click, next to one RegOpenKeyExW + RegCloseKey of the extension's store key, timed
// in the same run, interleaved. The command is made as a surrogate makes it (the library's
// DllGetClassObject), the selection as Explorer makes it (an IShellItemArray from the shell's
// data object). One "name value" line per figure, in microseconds:
//
//   getstate_1_us               one file of an associated extension, in the folder of the
//                               last right-click
//   getstate_newfolder_us       the same, each call in another folder than the last
//   getstate_unassociated_us    one file of an extension not in the store
//   getstate_100_us             100 files of an associated extension
//   registry_open_us            RegOpenKeyExW + RegCloseKey of the extension's store key
//   bind_folder_us              binding the shell folder a file lies in, alone: what a
//                               right-click in another folder pays the shell
//   sighting_first_use_us       mapping the shared sighting slot, once per process (one call)
//   sighting_write_us           recording a sighting of one file, as every GetState does
//   sighting_read_other_us      the classic handler's question when the last sighting is of
//                               another selection: the menu shows
//   sighting_read_same_us       the same when it is of this selection: the classic-menu
//                               override is read from the registry, and the menu stays away
#include "WendriftClassIds.h"
#include "shellext/win11/PackagedCommand.h"
#include "shellext/win11/SightingSlot.h"
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

IShellItemArray* Selection(const std::wstring& extension, int count,
                           const wchar_t* name = L"wendrift command bench") {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name;
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
    IShellItemArray* elsewhere = Selection(kAssociated, 1, L"wendrift command bench 2");
    if (one == nullptr || other == nullptr || hundred == nullptr || elsewhere == nullptr) {
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
    PIDLIST_ABSOLUTE id = nullptr;
    SHGetIDListFromObject(item, &id);
    // The slots this process shares with the library's copy of the same code.
    double firstUse = NowMs();
    SightingSlots();
    firstUse = (NowMs() - firstUse) * 1000.0;
    const std::vector<std::wstring> seenPath = {L"c:\\some folder\\file 0" + std::wstring(kAssociated)};
    const std::vector<std::wstring> otherPath = {L"c:\\some folder\\file 1" + std::wstring(kAssociated)};
    // Move To showed these too; Copy To's sighting is timed below.
    RecordPackagedMenuSighting(PackagedEntry::Move, seenPath);
    bool flip = false;
    std::vector<double> getState, newFolder, unassociated, many, registry, bind;
    std::vector<double> sightingWrite, sightingOther, sightingSame;
    for (int round = 0; round <= kRounds; ++round) {  // round 0 warms up
        Time([&] { command->GetState(one, FALSE, &state); }, getState);
        Time([&] {
            HKEY handle = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS) {
                RegCloseKey(handle);
            }
        }, registry);
        Time([&] {
            IShellFolder* folder = nullptr;
            if (SUCCEEDED(SHBindToParent(id, IID_IShellFolder, reinterpret_cast<void**>(&folder),
                                         nullptr))) {
                folder->Release();
            }
        }, bind);
        Time([&] {
            flip = !flip;
            command->GetState(flip ? elsewhere : one, FALSE, &state);
        }, newFolder);
        Time([&] { command->GetState(other, FALSE, &state); }, unassociated);
        Time([&] { command->GetState(hundred, FALSE, &state); }, many, kBatch / 50);
        Time([&] { RecordPackagedMenuSighting(PackagedEntry::Copy, seenPath); }, sightingWrite);
        Time([&] { PackagedCommandsShowing(otherPath); }, sightingOther);
        Time([&] { PackagedCommandsShowing(seenPath); }, sightingSame);
    }
    if (!PackagedCommandsShowing(seenPath) || PackagedCommandsShowing(otherPath)) {
        fprintf(stderr, "the sighting does not keep the classic menu away as it should\n");
        return 1;
    }
    for (auto* samples : {&getState, &newFolder, &unassociated, &many, &registry, &bind,
                          &sightingWrite, &sightingOther, &sightingSame}) {
        samples->erase(samples->begin());
    }
    printf("getstate_1_us %.3f\n", Median(getState));
    printf("getstate_newfolder_us %.3f\n", Median(newFolder));
    printf("getstate_unassociated_us %.3f\n", Median(unassociated));
    printf("getstate_100_us %.3f\n", Median(many));
    printf("registry_open_us %.3f\n", Median(registry));
    printf("bind_folder_us %.3f\n", Median(bind));
    printf("sighting_first_use_us %.3f\n", firstUse);
    printf("sighting_write_us %.3f\n", Median(sightingWrite));
    printf("sighting_read_other_us %.3f\n", Median(sightingOther));
    printf("sighting_read_same_us %.3f\n", Median(sightingSame));
    RemoveExtension(kAssociated);
    item->Release();
    one->Release();
    other->Release();
    hundred->Release();
    elsewhere->Release();
    CoTaskMemFree(id);
    command->Release();
    CoUninitialize();
    return 0;
}
