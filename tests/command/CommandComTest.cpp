// The built library's Windows 11 commands as a surrogate creates them: registered the classic
// way (Wine finds no class registered for the user only), created in-process, handed shell item
// arrays of real files and folders, read back (titles, flags, icon, states, flyouts) against the
// store, and invoked until files arrive; and the classic handler in another process, which
// stays away only for what the commands were just asked about.
#include "CommandKit.h"

#include "FolderPickerDriver.h"
#include "NextRunUndo.h"
#include "ShellextKit.h"
#include "UiDriver.h"
#include "WendriftClassIds.h"
#include "store/AssociationStore.h"
#include "store/RegKey.h"
#include "store/ShellRegistrar.h"
#include "transfer/TransferResources.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

const wchar_t kTwo[] = L".wdcmd";       // two folders
const wchar_t kNone[] = L".wdcmdnone";  // stored without folders
const wchar_t kUnknown[] = L".wdcmdx";  // not stored

// Writes (or deletes) HKCR\CLSID\{...}\InprocServer32 of both commands.
bool RegisterCommandClasses(bool registering) {
    bool ok = true;
    for (const CLSID& classId : {kCopyCommandClassId, kMoveCommandClassId}) {
        wchar_t text[40] = {};
        StringFromGUID2(classId, text, 40);
        std::wstring key = std::wstring(L"CLSID\\") + text;
        RegKey server;
        if (!registering) {
            server.DeleteTree(HKEY_CLASSES_ROOT, key);
            continue;
        }
        ok = ok && server.Open(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", true) &&
             server.SetDefaultString(shellkit::LibraryPath()) &&
             server.SetString(L"ThreadingModel", L"Apartment");
    }
    return ok;
}

// "<missing>" until the whole file can be read (a transfer may still be writing it).
std::string Read(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return read == bytes.size() ? bytes : "<missing>";
}

// text is read after the call that fills it: hence the reference.
std::wstring Text(HRESULT hr, LPWSTR& text) {
    std::wstring copy = SUCCEEDED(hr) && text != nullptr ? text : L"<failed>";
    CoTaskMemFree(text);
    text = nullptr;
    return copy;
}

class Command : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize(nullptr);
        ASSERT_TRUE(RegisterCommandClasses(true));
        files_ = new shellkit::ScratchFolder(L"command \x00e9");
        // Job files go to a temporary folder of this run's own: the hand-off and the processes
        // it starts take it from TMP.
        SetEnvironmentVariableW(L"TMP", Folder(L"temp").c_str());
    }
    static void TearDownTestSuite() {
        RegisterCommandClasses(false);
        for (const wchar_t* extension : {kTwo, kNone, kUnknown}) RemoveExtension(extension);
        delete files_;
        CoUninitialize();
    }
    void SetUp() override {
        for (const wchar_t* extension : {kTwo, kNone, kUnknown}) RemoveExtension(extension);
        SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Wendrift\\Picker");
        AddExtension(kTwo);
        AssociateDirectory(kTwo, Folder(L"to one"));
        AssociateDirectory(kTwo, Folder(L"to two"));
        AddExtension(kNone);
        copy_ = commandkit::CreateCommand(kCopyCommandClassId);
        move_ = commandkit::CreateCommand(kMoveCommandClassId);
        ASSERT_TRUE(copy_ && move_);
    }
    void TearDown() override {
        if (copy_ != nullptr) copy_->Release();
        if (move_ != nullptr) move_->Release();
    }

    static std::wstring Folder(const std::wstring& name) { return files_->Folder(name); }
    static std::wstring File(const std::wstring& name, size_t bytes = 1) {
        return files_->File(name, bytes);
    }
    static EXPCMDSTATE State(IExplorerCommand* command, const std::vector<std::wstring>& paths) {
        IShellItemArray* items = paths.empty() ? nullptr : commandkit::ItemsFor(paths);
        EXPECT_TRUE(paths.empty() || items != nullptr);
        EXPCMDSTATE state = ECS_CHECKBOX;
        EXPECT_EQ(command->GetState(items, FALSE, &state), S_OK);
        if (items != nullptr) items->Release();
        return state;
    }
    static bool WaitFor(const std::function<bool()>& done) { return WaitUntil(done, 20000); }
    // Signalled once a file came or went in this run's temporary folder.
    static HANDLE WatchJobFiles() {
        return FindFirstChangeNotificationW(Folder(L"temp").c_str(), FALSE,
                                            FILE_NOTIFY_CHANGE_FILE_NAME);
    }
    static void ExpectJobFileCameAndWent(HANDLE watch) {
        EXPECT_EQ(WaitForSingleObject(watch, 0), WAIT_OBJECT_0) << "no job file was written there";
        EXPECT_EQ(commandkit::JobFilesInTemp(), 0) << "the transfer deletes its job file";
        FindCloseChangeNotification(watch);
    }

    static shellkit::ScratchFolder* files_;
    IExplorerCommand* copy_ = nullptr;
    IExplorerCommand* move_ = nullptr;
};

shellkit::ScratchFolder* Command::files_ = nullptr;

TEST_F(Command, EntriesAreCopyToAndMoveToWithAFlyoutAndTheProductIcon) {
    LPWSTR text = nullptr;
    EXPECT_EQ(Text(copy_->GetTitle(nullptr, &text), text), L"Copy To");
    EXPECT_EQ(Text(move_->GetTitle(nullptr, &text), text), L"Move To");
    EXPECT_EQ(Text(copy_->GetIcon(nullptr, &text), text), shellkit::LibraryPath() + L",-5");
    EXPCMDFLAGS flags = 0;
    EXPECT_EQ(move_->GetFlags(&flags), S_OK);
    EXPECT_EQ(flags, static_cast<EXPCMDFLAGS>(ECF_HASSUBCOMMANDS));
    GUID name = GUID_NULL;
    EXPECT_EQ(move_->GetCanonicalName(&name), S_OK);
    EXPECT_TRUE(IsEqualGUID(name, kMoveCommandClassId));
}

TEST_F(Command, ShowsOnlyForFilesOfOneStoredExtension) {
    std::wstring a = File(L"a.wdcmd"), b = File(L"B.WDCMD"), none = File(L"n.wdcmdnone");
    Folder(L"sub folder");
    std::wstring elsewhere = File(L"sub folder\\c.wdcmd");
    struct Case {
        std::vector<std::wstring> paths;
        EXPCMDSTATE state;
    } cases[] = {
        {{a, b}, ECS_ENABLED},
        {{none}, ECS_ENABLED},  // the flyout then says "<no directories>"
        {{}, ECS_HIDDEN},
        {{File(L"x.wdcmdx")}, ECS_HIDDEN},
        {{a, none}, ECS_HIDDEN},
        {{a, Folder(L"folder.wdcmd")}, ECS_HIDDEN},
        {{Folder(L"folder.wdcmd")}, ECS_HIDDEN},
        {{L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"}, ECS_HIDDEN},  // My Computer
        {{elsewhere}, ECS_ENABLED},  // another folder than the last
        {{a}, ECS_ENABLED},          // and back
    };
    for (const Case& c : cases) {
        EXPECT_EQ(State(copy_, c.paths), c.state) << (c.paths.empty() ? L"" : c.paths.back());
        EXPECT_EQ(State(move_, c.paths), c.state);
    }
}

TEST_F(Command, FlyoutListsTheStoreFoldersInTheClassicMenuOrderThenOtherFolder) {
    std::vector<std::wstring> stored;
    std::wstring directory;
    while (NextDirectory(kTwo, directory)) stored.push_back(directory);
    ASSERT_EQ(stored.size(), 2u);
    for (IExplorerCommand* command : {copy_, move_}) {
        ASSERT_EQ(State(command, {File(L"a.wdcmd")}), ECS_ENABLED);
        std::vector<IExplorerCommand*> flyout = commandkit::Flyout(command);
        ASSERT_EQ(flyout.size(), 3u);
        for (size_t i = 0; i < flyout.size(); ++i) {
            LPWSTR text = nullptr;
            EXPECT_EQ(Text(flyout[i]->GetTitle(nullptr, &text), text),
                      i < 2 ? L"&" + std::to_wstring(i + 1) + L".\t" + stored[i]
                            : L"&Other folder...");
            EXPECT_EQ(State(flyout[i], {}), ECS_ENABLED);
            EXPCMDFLAGS flags = ECF_HASSUBCOMMANDS;
            EXPECT_EQ(flyout[i]->GetFlags(&flags), S_OK);
            EXPECT_EQ(flags, static_cast<EXPCMDFLAGS>(i < 2 ? ECF_DEFAULT : ECF_SEPARATORBEFORE));
        }
        commandkit::ReleaseAll(flyout);

        ASSERT_EQ(State(command, {File(L"n.wdcmdnone")}), ECS_ENABLED);
        flyout = commandkit::Flyout(command);
        ASSERT_EQ(flyout.size(), 2u);
        LPWSTR text = nullptr;
        EXPECT_EQ(Text(flyout[0]->GetTitle(nullptr, &text), text), L"<no directories>");
        EXPECT_EQ(State(flyout[0], {}), ECS_DISABLED);
        EXPECT_EQ(Text(flyout[1]->GetTitle(nullptr, &text), text), L"&Other folder...");
        EXPECT_EQ(State(flyout[1], {}), ECS_ENABLED);
        commandkit::ReleaseAll(flyout);
    }
}

// "&Other folder..." hands the job over without a destination: the picker shows in the
// transfer's own process (rundll32), and the files go where the user points it.
TEST_F(Command, OtherFolderAsksInTheTransfersProcessAndRemembersThere) {
    Watchdog guard(60, "a picker nobody answered");
    std::vector<std::wstring> files = {File(L"o 1.wdcmd", 30), File(L"o 2.wdcmd", 40)};
    const std::wstring chosen = Folder(L"Other Chosen");
    IShellItemArray* items = commandkit::ItemsFor(files);
    ASSERT_TRUE(items);
    ASSERT_EQ(State(copy_, files), ECS_ENABLED);
    std::vector<IExplorerCommand*> flyout = commandkit::Flyout(copy_);
    ASSERT_EQ(flyout.size(), 3u);
    HANDLE jobs = WatchJobFiles();
    EXPECT_EQ(flyout[2]->Invoke(items, nullptr), S_OK);
    commandkit::ReleaseAll(flyout);
    items->Release();

    HWND picker = WaitForFolderDialog(L"Copy 2 files to", 20000);
    ASSERT_NE(picker, nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(picker, &process);
    EXPECT_NE(process, GetCurrentProcessId());
    HWND box = FolderDialogCheckBox(picker);
    EXPECT_EQ(WindowText(box), L"Remember this folder for .wdcmd files");
    PostMessageW(box, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));
    ChooseInFolderDialog(picker, chosen);
    EXPECT_TRUE(WaitFor([&] {
        return Read(chosen + L"\\o 1.wdcmd") == std::string(30, 'w') &&
               Read(chosen + L"\\o 2.wdcmd") == std::string(40, 'w');
    }));
    ExpectJobFileCameAndWent(jobs);
    std::wstring lower = chosen;
    CharLowerW(&lower[0]);
    std::vector<std::wstring> stored;
    ListDirectories(kTwo, stored);
    EXPECT_EQ(std::count(stored.begin(), stored.end(), lower), 1) << "remembered";
    EXPECT_EQ(stored.size(), 3u);
}

TEST_F(Command, ClassicMenuInAnotherProcessStaysAwayOnlyWhenBothEntriesJustShowedTheseFiles) {
    ASSERT_EQ(shellkit::Regsvr32(L"/s"), 0);
    ASSERT_TRUE(RegisterExtension(kTwo, true));
    std::wstring shown = File(L"shown.wdcmd"), folder = Folder(L"folder.wdcmd");
    Folder(L"twin");
    std::wstring twin = File(L"twin\\shown.wdcmd");
    auto classicMenu = [](const std::wstring& file) {
        std::string output;
        shellkit::Run(L"\"" + shellkit::ShellHostPath() + L"\" \"" + file + L"\"", 60000, &output);
        return output.find("\"Cop&y To\"") != std::string::npos;
    };
    ASSERT_EQ(State(copy_, {shown}), ECS_ENABLED);
    EXPECT_TRUE(classicMenu(shown)) << "Move To did not show (its package may be missing)";
    ASSERT_EQ(State(move_, {shown}), ECS_ENABLED);
    EXPECT_FALSE(classicMenu(shown)) << "the first menu shows Copy To and Move To";
    EXPECT_TRUE(classicMenu(twin)) << "the same name in another folder";
    // The entries hide for a folder, which the classic menu serves: asking is no sighting.
    ASSERT_EQ(State(copy_, {folder}), ECS_HIDDEN);
    ASSERT_EQ(State(move_, {folder}), ECS_HIDDEN);
    EXPECT_TRUE(classicMenu(folder));
    // The user restored the classic menu: Explorer then shows no packaged command.
    const wchar_t override[] =
        L"Software\\Classes\\CLSID\\{86ca1aa0-34aa-4e8b-a509-50c905bae2a2}";
    NextRunUndo undo(L"classic-menu-restored", L"wine reg delete 'HKCU\\" +
                                                   std::wstring(override) + L"' /f");
    RegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, std::wstring(override) + L"\\InprocServer32", true) &&
                key.SetDefaultString(L""));
    key.Close();
    EXPECT_TRUE(classicMenu(shown));
    key.DeleteTree(HKEY_CURRENT_USER, override);
    RegisterExtension(kTwo, false);
    SHDeleteKeyW(HKEY_CLASSES_ROOT, kTwo);
}

TEST_F(Command, MoveToMovesTheWholeSelectionInAProcessOfItsOwn) {
    std::vector<std::wstring> files = {File(L"m 1.wdcmd", 10), File(L"m \x00fc.wdcmd", 20)};
    IShellItemArray* items = commandkit::ItemsFor(files);
    ASSERT_TRUE(items);
    ASSERT_EQ(State(move_, files), ECS_ENABLED);
    std::vector<IExplorerCommand*> flyout = commandkit::Flyout(move_);
    ASSERT_EQ(flyout.size(), 3u);
    LPWSTR title = nullptr;
    std::wstring label = Text(flyout[1]->GetTitle(nullptr, &title), title);
    std::wstring target = label.substr(label.find(L'\t') + 1);
    EXPECT_EQ(flyout[1]->Invoke(items, nullptr), S_OK);
    commandkit::ReleaseAll(flyout);
    items->Release();
    EXPECT_TRUE(WaitFor([&] {
        return Read(target + L"\\m 1.wdcmd") == std::string(10, 'w') &&
               Read(target + L"\\m \x00fc.wdcmd") == std::string(20, 'w') &&
               GetFileAttributesW(files[0].c_str()) == INVALID_FILE_ATTRIBUTES &&
               GetFileAttributesW(files[1].c_str()) == INVALID_FILE_ATTRIBUTES;
    }));
}

// Per-monitor aware (DPI_AWARENESS_PER_MONITOR_AWARE), as the configuration program's windows.
bool PerMonitorAware(HWND window) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto context = reinterpret_cast<HANDLE(WINAPI*)(HWND)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    auto awareness = reinterpret_cast<int(WINAPI*)(HANDLE)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    return context != nullptr && awareness != nullptr && awareness(context(window)) == 2;
}

TEST_F(Command, CopyFinishesAfterTheCallerExitedInSharpDialogsInFront) {
    std::vector<std::wstring> files;
    std::wstring line = UnixToWindowsPath(WENDRIFT_INVOKE_HELPER);
    line = L"\"" + line + L"\"";
    for (int i = 0; i < 3; ++i) {
        files.push_back(File(L"c " + std::to_wstring(i) + L".wdcmd", 200000 + i));
        line += L" \"" + files.back() + L"\"";
    }
    std::wstring target;
    NextDirectory(kTwo, target);
    RegKey::ResetValueCursor();
    // One file there already: its question holds the dialogs open.
    CloseHandle(CreateFileW((target + L"\\c 1.wdcmd").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr));
    HANDLE jobs = WatchJobFiles();
    // Processes started now are DPI unaware unless they say otherwise, as rundll32 is on
    // Windows (Wine would make them all per-monitor aware).
    const DWORD scaling = 0x1000;
    NextRunUndo undo(L"dpi-scaling",
                     L"wine reg delete 'HKCU\\Control Panel\\Desktop' /v DpiScalingVer /f");
    ASSERT_EQ(SHSetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"DpiScalingVer",
                          REG_DWORD, &scaling, sizeof(scaling)), ERROR_SUCCESS);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process);
    HWND question = started ? WaitForWindow(L"#32770", L"Confirm File Replace", 20000) : nullptr;
    SHDeleteValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"DpiScalingVer");
    ASSERT_TRUE(started);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(code, 0u);
    ASSERT_TRUE(question);
    HWND progress = GetWindow(question, GW_OWNER);
    EXPECT_TRUE(PerMonitorAware(progress) && PerMonitorAware(question));
    DWORD transfer = 0, front = 1;
    GetWindowThreadProcessId(progress, &transfer);
    GetWindowThreadProcessId(GetForegroundWindow(), &front);
    EXPECT_EQ(front, transfer);
    ClickButton(question, IDC_REPLACE_YES);
    EXPECT_TRUE(WaitFor([&] {
        for (int i = 0; i < 3; ++i) {
            std::wstring name = L"c " + std::to_wstring(i) + L".wdcmd";
            if (Read(target + L"\\" + name) != std::string(200000 + i, 'w')) return false;
        }
        return true;
    }));
    for (const std::wstring& file : files) EXPECT_NE(Read(file), "<missing>");
    ExpectJobFileCameAndWent(jobs);
}

}  // namespace
