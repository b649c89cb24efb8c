// Transfers started the way the shell starts them: the built Wendrift.dll registered, the
// handler created through COM, handed the shell's data object for the selection (or, for
// paths the shell here cannot parse, a data object with the same CF_HDROP data), asked for its
// menu, and a directory item invoked. The library's own copy of the engine runs the transfer.
#include "ShellextKit.h"
#include "FolderPickerDriver.h"
#include "TransferTestKit.h"

#include "WendriftClassIds.h"
#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"
#include "tools/shellhost/MenuTree.h"
#include "tools/shellhost/ShellSelection.h"
#include "winframe/PathRules.h"
#include "transfer/TransferResources.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <thread>

namespace {

const wchar_t kExtension[] = L".wdshell";
const wchar_t kPickerKeyPath[] = L"Software\\Wendrift\\Picker";

class ShellInvokeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize(nullptr);
        HMODULE library = LoadLibraryW(shellkit::LibraryPath().c_str());
        ASSERT_TRUE(library) << GetLastError();
        auto registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(GetProcAddress(library, "DllRegisterServer")));
        ASSERT_TRUE(registerServer);
        ASSERT_EQ(registerServer(), S_OK);
        ASSERT_TRUE(RegisterExtension(kExtension, true));
    }
    static void TearDownTestSuite() {
        RegisterExtension(kExtension, false);
        RemoveExtension(kExtension);
        // Leave the prefix as other tests expect it: the server unregistered.
        HMODULE library = GetModuleHandleW(shellkit::LibraryPath().c_str());
        auto unregisterServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(GetProcAddress(library, "DllUnregisterServer")));
        if (unregisterServer) unregisterServer();
    }

    ShellInvokeTest() : root_(L"shell") {
        source_ = root_.Path() + L"\\from";
        destination_ = root_.Path() + L"\\to";
        CreateDirectoryW(source_.c_str(), nullptr);
        CreateDirectoryW(destination_.c_str(), nullptr);
        RemoveExtension(kExtension);
        AddExtension(kExtension);
        AssociateDirectory(kExtension, destination_);
        SHDeleteKeyW(HKEY_CURRENT_USER, kPickerKeyPath);  // a picker that remembers nothing
    }
    ~ShellInvokeTest() override { kit::EndLeftoverTransfers(before_); }

    std::vector<std::wstring> Sources(const std::vector<std::wstring>& names) {
        std::vector<std::wstring> paths;
        unsigned seed = 7;
        for (const std::wstring& name : names) {
            paths.push_back(source_ + L"\\" + name);
            contents_.push_back(kit::Payload(5000, seed++));
            EXPECT_TRUE(kit::WriteBytes(paths.back(), contents_.back()));
        }
        return paths;
    }

    // Right-click on the files, then the item `itemPath` ("Cop&y To/&1."), with `owner` as the
    // shell's window.
    void Invoke(const std::vector<std::wstring>& files, const std::wstring& itemPath,
                HWND owner = nullptr) {
        ShellSelection selection;
        ASSERT_TRUE(selection.Create(files)) << selection.Problem();
        Invoke(selection.FolderId(), selection.DataObject(), itemPath, owner);
    }
    void Invoke(PCIDLIST_ABSOLUTE folder, IDataObject* data, const std::wstring& itemPath,
                HWND owner = nullptr) {
        IShellExtInit* init = nullptr;
        ASSERT_EQ(CoCreateInstance(kShellCallbackClassId, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellExtInit, reinterpret_cast<void**>(&init)),
                  S_OK);
        ASSERT_EQ(init->Initialize(folder, data, nullptr), S_OK);
        IContextMenu* menu = nullptr;
        ASSERT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
        HMENU popup = CreatePopupMenu();
        ASSERT_TRUE(SUCCEEDED(menu->QueryContextMenu(popup, 0, 100, 0x7FFF, CMF_NORMAL)));
        menu_ = DescribeMenu(ReadMenu(popup));
        const MenuNode* item = FindMenuItem(ReadMenu(popup), itemPath);
        ASSERT_TRUE(item) << menu_;
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof(info);
        info.hwnd = owner;
        info.lpVerb = MAKEINTRESOURCEA(item->id - 100);
        info.nShow = SW_SHOWNORMAL;
        before_ = kit::Threads();
        ASSERT_EQ(menu->InvokeCommand(&info), S_OK);
        menu->Release();
        init->Release();
        DestroyMenu(popup);
    }

    kit::Scratch root_;
    std::wstring source_;
    std::wstring destination_;
    std::vector<std::string> contents_;
    std::vector<DWORD> before_;
    std::wstring menu_;  // the last menu, as DescribeMenu shows it
};

TEST_F(ShellInvokeTest, CopyToCopiesTheWholeSelectionShowingEachFile) {
    auto files = Sources({L"a.wdshell", L"b.wdshell", L"c.wdshell"});
    for (auto& file : files) kit::WriteBytes(destination_ + L"\\" + FileNameOf(file), "old");
    Invoke(files, L"Cop&y To/&1.");
    // Each file has a target already: the questions hold the transfer at each file in turn.
    const wchar_t* overall[] = {L"Overall Progress (file 1 of 3) : 33%",
                                L"Overall Progress (file 2 of 3) : 66%",
                                L"Overall Progress (file 3 of 3) : 100%"};
    HWND progress = nullptr;
    for (const wchar_t* text : overall) {
        HWND question = kit::WaitForDialog(L"Confirm File Replace");
        ASSERT_TRUE(question);
        progress = GetWindow(question, GW_OWNER);
        EXPECT_TRUE(WaitUntil([&] {
            return WindowText(progress) == L"Copying ..." &&
                   ControlText(progress, IDC_OVERALL_TEXT) == text;
        }, 2000)) << ControlText(progress, IDC_OVERALL_TEXT);
        PostCommand(question, IDC_REPLACE_YES);
        ASSERT_TRUE(WaitForWindowGone(question, 5000));
    }
    EXPECT_TRUE(WaitForWindowGone(progress, 5000)) << "the dialog goes away by itself";
    ASSERT_TRUE(kit::WaitForNewThreadsToEnd(before_));
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(kit::Bytes(destination_ + L"\\" + FileNameOf(files[i])), contents_[i]);
        EXPECT_EQ(kit::Bytes(files[i]), contents_[i]);
    }
}

TEST_F(ShellInvokeTest, MoveToMovesTheWholeSelection) {
    auto files = Sources({L"a.wdshell", L"b.wdshell", L"c.wdshell"});
    kit::WriteBytes(destination_ + L"\\c.wdshell", "old");
    Invoke(files, L"&Move To/&1.");
    HWND question = kit::WaitForDialog(L"Confirm File Replace");
    ASSERT_TRUE(question);
    HWND progress = GetWindow(question, GW_OWNER);
    EXPECT_TRUE(WaitUntil([&] {
        return WindowText(progress) == L"Moving ..." &&
               ControlText(progress, IDC_OVERALL_TEXT) == L"Overall Progress (file 3 of 3) : 100%";
    }, 2000)) << ControlText(progress, IDC_OVERALL_TEXT);
    PostCommand(question, IDC_REPLACE_YES);
    EXPECT_TRUE(WaitForWindowGone(progress, 5000));
    ASSERT_TRUE(kit::WaitForNewThreadsToEnd(before_));
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(kit::Bytes(destination_ + L"\\" + FileNameOf(files[i])), contents_[i]);
        EXPECT_FALSE(kit::Exists(files[i]));
    }
}

// The extension of a path as the handler takes it: from the last dot anywhere to the end.
std::wstring ExtensionOf(const std::wstring& path) {
    size_t dot = path.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : path.substr(dot);
}

// A selected path is taken whole, never cut to the first 259 units: those name another file
// (the cut prefix), which lies beside it with its extension associated too, and stays put.
TEST_F(ShellInvokeTest, MoveToTakesLongPathsWholeAndNeverTheirCutPrefix) {
    // The scratch root's length is fixed wherever the build lies: every length below is the
    // one chosen.
    ASSERT_LT(source_.size(), 40u) << source_;
    struct Case {
        size_t length;  // of the selected path
        bool moved;     // false: its name makes the target one unit longer than 260
    };
    const Case cases[] = {{259, true}, {260, true}, {261, true}, {300, true}, {300, false}};
    for (const Case& c : cases) {
        size_t nameLength = c.moved ? 60 : 260 - destination_.size();
        for (bool prefixBeside : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.length << " / " << nameLength
                                            << (prefixBeside ? " beside its cut prefix" : ""));
            // A deep folder, then "qq...q.cut" up to the 259th unit, then "xx...x" to the end.
            std::wstring folder = source_;
            size_t folderLength = c.length - nameLength - 1;
            while (folder.size() + 52 < folderLength) {
                folder += L"\\" + std::wstring(50, L'd');
                CreateDirectoryW(folder.c_str(), nullptr);
            }
            folder += L"\\" + std::wstring(folderLength - folder.size() - 1, L'e');
            ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) ||
                        GetLastError() == ERROR_ALREADY_EXISTS);
            size_t prefixName = std::min<size_t>(259, c.length) - folderLength - 1;
            std::wstring name = std::wstring(prefixName - 4, L'q') + L".cut" +
                                std::wstring(c.length - prefixName - folderLength - 1, L'x');
            std::wstring path = folder + L"\\" + name;
            std::wstring prefix = path.substr(0, 259);
            ASSERT_EQ(path.size(), c.length);
            ASSERT_EQ(destination_.size() + 1 + name.size() > 260, !c.moved);
            for (const std::wstring& extension : {ExtensionOf(path), ExtensionOf(prefix)}) {
                AddExtension(extension);
                AssociateDirectory(extension, destination_);
            }
            ASSERT_TRUE(kit::WriteBytes(path, "the selected file"));
            bool besides = prefixBeside && prefix != path;
            if (besides) {
                ASSERT_TRUE(kit::WriteBytes(prefix, "the cut prefix"));
            }

            // Wine's shell cannot parse a path over MAX_PATH: the same CF_HDROP data, by hand.
            shellkit::BlockDataObject data(CF_HDROP, shellkit::WideDropBlock({path}));
            Invoke(nullptr, &data, L"&Move To/&1.");
            if (!c.moved) {
                HWND warning = kit::WaitForDialog(L"Wendrift : Can't copy file");
                ASSERT_TRUE(warning);
                PostCommand(warning, IDOK);
            }
            ASSERT_TRUE(kit::WaitForNewThreadsToEnd(before_));
            if (c.moved) {
                EXPECT_EQ(kit::Listing(destination_), std::vector<std::wstring>{name});
                EXPECT_EQ(kit::Bytes(destination_ + L"\\" + name), "the selected file");
                EXPECT_FALSE(kit::Exists(path));
            } else {
                EXPECT_TRUE(kit::Listing(destination_).empty());
                EXPECT_EQ(kit::Bytes(path), "the selected file");
            }
            if (besides) {
                EXPECT_EQ(kit::Bytes(prefix), "the cut prefix");
            }
            for (const std::wstring& left : kit::Listing(source_)) {
                kit::RemoveTree(source_ + L"\\" + left);
            }
            kit::RemoveTree(destination_ + L"\\" + name);
            RemoveExtension(ExtensionOf(path));
            RemoveExtension(ExtensionOf(prefix));
        }
    }
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = (c >= L'A' && c <= L'Z') ? c + 32 : c;
    return text;
}

// The extension's folders, sorted: Wine lists a key's values by name, not in the order they
// were added as Windows does.
std::vector<std::wstring> Directories() {
    std::vector<std::wstring> directories;
    ListDirectories(kExtension, directories);
    std::sort(directories.begin(), directories.end());
    return directories;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> folders) {
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::wstring StringValue(const std::wstring& key, const std::wstring& name) {
    wchar_t data[MAX_PATH] = {};
    DWORD bytes = sizeof(data) - sizeof(wchar_t);
    RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, data,
                 &bytes);
    return data;
}
// What the picker remembered: the folder last picked for the extension, the box's state.
std::wstring LastPicked() {
    return StringValue(L"Software\\Wendrift\\Picker\\Last folders", kExtension);
}
DWORD RememberValue() {
    DWORD value = 99, bytes = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, kPickerKeyPath, L"Remember", RRF_RT_REG_DWORD, nullptr, &value,
                 &bytes);
    return value;
}

bool Lists(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The user's side of one "&Other folder..." question, answered from a thread of its own while
// InvokeCommand shows the picker on the test thread.
struct PickerVisit {
    PickerVisit(const std::wstring& title, const std::wstring& choose, int tick,
                const wchar_t* screenshot = nullptr)
        : title(title), choose(choose), tick(tick), screenshot(screenshot) {}
    std::wstring title;   // of the picker waited for
    std::wstring choose;  // typed in and confirmed; empty: Cancel
    int tick = -1;        // 1 ticks the box, 0 clears it, -1 leaves it
    const wchar_t* screenshot = nullptr;
    // What it saw.
    bool found = false;
    HWND owner = nullptr;
    std::vector<std::wstring> listing;  // the folder it started in
    std::wstring boxText;
    bool boxWasTicked = false;
};

// `threads` is set again just before the choice: the picker's own helper threads may outlive it,
// while the transfer's start only once it has closed.
void Visit(PickerVisit& visit, std::vector<DWORD>* threads = nullptr) {
    HWND picker = WaitForFolderDialog(visit.title);
    if (picker == nullptr) return;
    visit.found = true;
    visit.owner = GetWindow(picker, GW_OWNER);
    WaitUntil([&] {
        visit.listing = FolderDialogListing(picker);
        return !visit.listing.empty();
    }, 3000);
    HWND box = FolderDialogCheckBox(picker);
    visit.boxText = WindowText(box);
    auto ticked = [&] { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; };
    visit.boxWasTicked = ticked();
    if (box != nullptr && visit.tick != -1 && (visit.tick == 1) != visit.boxWasTicked) {
        PostMessageW(box, BM_CLICK, 0, 0);
        WaitUntil([&] { return ticked() == (visit.tick == 1); }, 2000);
    }
    if (visit.screenshot != nullptr) SaveWindowPng(picker, BuildDir() + L"\\" + visit.screenshot);
    if (threads != nullptr) *threads = kit::Threads();
    if (visit.choose.empty()) {
        PostCommand(picker, IDCANCEL);
    } else {
        ChooseInFolderDialog(picker, visit.choose);
    }
}

// A top-level window standing in for the file manager's.
class ShellWindow {
public:
    ShellWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"file manager", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr)) {}
    ~ShellWindow() { DestroyWindow(window_); }
    operator HWND() const { return window_; }

private:
    HWND window_;
};

TEST_F(ShellInvokeTest, OtherFolderAsksOverTheShellsWindowAndCopiesThereWithoutRemembering) {
    Watchdog guard(40, "a picker nobody answered");
    auto files = Sources({L"a.wdshell", L"b.wdshell"});
    CreateDirectoryW((destination_ + L"\\in the first folder").c_str(), nullptr);
    const std::wstring chosen = root_ / L"Chosen Folder";
    CreateDirectoryW(chosen.c_str(), nullptr);
    ShellWindow owner;
    PickerVisit visit{L"Copy 2 files to", chosen, -1, L"other-folder-picker.png"};
    std::thread user([&] { Visit(visit, &before_); });
    Invoke(files, L"Cop&y To/&Other folder...", owner);
    user.join();
    ASSERT_TRUE(visit.found) << "no picker titled \"Copy 2 files to\"";
    EXPECT_EQ(visit.owner, static_cast<HWND>(owner));
    EXPECT_TRUE(Lists(visit.listing, L"in the first folder")) << "starts in the first folder";
    EXPECT_EQ(visit.boxText, L"Remember this folder for .wdshell files");
    EXPECT_FALSE(visit.boxWasTicked);

    ASSERT_TRUE(kit::WaitForNewThreadsToEnd(before_));
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(kit::Bytes(chosen + L"\\" + FileNameOf(files[i])), contents_[i]);
        EXPECT_EQ(kit::Bytes(files[i]), contents_[i]);
    }
    EXPECT_EQ(Directories(), std::vector<std::wstring>{Lower(destination_)}) << "not remembered";
    EXPECT_EQ(LastPicked(), chosen);
    EXPECT_EQ(RememberValue(), 0u);
}

TEST_F(ShellInvokeTest, OtherFolderRemembersOnlyAChosenTickedFolderOnceAndStartsWhereItLeftOff) {
    Watchdog guard(60, "a picker nobody answered");
    auto first = Sources({L"a.wdshell"});
    // Cancel transfers and remembers nothing, the box ticked or not.
    PickerVisit cancelled{L"Move a.wdshell to", L"", 1};
    std::thread user([&] { Visit(cancelled, &before_); });
    Invoke(first, L"&Move To/&Other folder...");
    user.join();
    ASSERT_TRUE(cancelled.found);
    EXPECT_TRUE(kit::WaitForNewThreadsToEnd(before_));
    EXPECT_EQ(kit::Bytes(first[0]), contents_[0]);
    EXPECT_TRUE(LastPicked().empty());
    EXPECT_EQ(RememberValue(), 99u) << "nothing written";

    const std::wstring kept = root_ / L"Kept Folder";
    CreateDirectoryW(kept.c_str(), nullptr);
    CreateDirectoryW((kept + L"\\in the kept folder").c_str(), nullptr);
    PickerVisit ticking{L"Move a.wdshell to", kept, 1};
    user = std::thread([&] { Visit(ticking, &before_); });
    Invoke(first, L"&Move To/&Other folder...");
    user.join();
    ASSERT_TRUE(ticking.found);
    EXPECT_FALSE(ticking.boxWasTicked);
    ASSERT_TRUE(kit::WaitForNewThreadsToEnd(before_));
    EXPECT_EQ(kit::Bytes(kept + L"\\a.wdshell"), contents_[0]);
    EXPECT_FALSE(kit::Exists(first[0]));
    EXPECT_EQ(Directories(), Sorted({Lower(destination_), Lower(kept)}));
    EXPECT_EQ(RememberValue(), 1u);

    // The next menu numbers it; the box comes ticked, the picker starts in the kept folder, and a
    // folder the extension already lists is not written again (the data of its value stays).
    const std::wstring key = std::wstring(kStoreBaseKey) + L"\\" + kExtension;
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), Lower(destination_).c_str(), REG_SZ, L"x", 4);
    auto second = Sources({L"b.wdshell"});
    PickerVisit again{L"Copy b.wdshell to", destination_, -1};
    user = std::thread([&] { Visit(again, &before_); });
    Invoke(second, L"Cop&y To/&Other folder...");
    user.join();
    EXPECT_NE(menu_.find(L".\\t" + Lower(kept) + L"\"  id 10"), std::wstring::npos) << menu_;
    ASSERT_TRUE(again.found);
    EXPECT_TRUE(again.boxWasTicked);
    EXPECT_TRUE(Lists(again.listing, L"in the kept folder"));
    ASSERT_TRUE(kit::WaitForNewThreadsToEnd(before_));
    EXPECT_EQ(kit::Bytes(destination_ + L"\\b.wdshell"), contents_[1]);
    EXPECT_EQ(Directories(), Sorted({Lower(destination_), Lower(kept)}));
    EXPECT_EQ(StringValue(key, Lower(destination_)), L"x");
}

// Where only the folder browser exists (the modern dialog hidden here), a virtual folder picked
// in its tree is refused and the browser comes back; remembering is asked once a folder is
// chosen, as the browser has no room for the box.
TEST_F(ShellInvokeTest, OtherFolderInTheBrowserRefusesAVirtualFolderAndAsksToRemember) {
    Watchdog guard(40, "a picker nobody answered");
    WithoutModernFolderDialog browserOnly;
    auto files = Sources({L"a.wdshell"});
    const std::wstring chosen = root_ / L"Browsed";
    CreateDirectoryW(chosen.c_str(), nullptr);
    std::wstring refusal, question;
    std::thread user([&] {
        HWND browser = kit::WaitForDialog(L"Browse for Folder");
        if (browser == nullptr || !ChooseShellFolderInBrowser(browser, CSIDL_DRIVES)) return;
        refusal = AnswerMessageBox(L"Wendrift : Can't add directory", IDOK, 5000);
        browser = kit::WaitForDialog(L"Browse for Folder");
        if (browser == nullptr || !ChooseFolderInBrowser(browser, chosen)) return;
        question = AnswerMessageBox(L"Wendrift : Remember", IDYES, 5000);
    });
    Invoke(files, L"Cop&y To/&Other folder...");
    user.join();
    EXPECT_EQ(refusal, L"The directory you chose:\n\n" + ShellFolderName(CSIDL_DRIVES) +
                           L"\n\nis not a valid directory. Please choose another.");
    EXPECT_EQ(question, L"Remember this folder for .wdshell files?");
    ASSERT_TRUE(kit::WaitForNewThreadsToEnd(before_));
    EXPECT_EQ(kit::Bytes(chosen + L"\\a.wdshell"), contents_[0]);
    EXPECT_EQ(Directories(), Sorted({Lower(destination_), Lower(chosen)}));
}

}  // namespace
