// Transfers started the way the shell starts them: the built Wendrift.dll registered, the
// handler created through COM, handed the shell's data object for the selection (or, for
// paths the shell here cannot parse, a data object with the same CF_HDROP data), asked for its
// menu, and a directory item invoked. The library's own copy of the engine runs the transfer.
#include "ShellextKit.h"
#include "TransferTestKit.h"

#include "shellext/entry/ClassId.h"
#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"
#include "tools/shellhost/MenuTree.h"
#include "tools/shellhost/ShellSelection.h"
#include "transfer/PathText.h"
#include "transfer/TransferResources.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>

namespace {

const wchar_t kExtension[] = L".wdshell";

std::wstring LibraryPath() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + L"\\..\\..\\shellext\\Wendrift.dll";
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

class ShellInvokeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize(nullptr);
        HMODULE library = LoadLibraryW(LibraryPath().c_str());
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
        HMODULE library = GetModuleHandleW(LibraryPath().c_str());
        auto unregisterServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(GetProcAddress(library, "DllUnregisterServer")));
        if (unregisterServer) unregisterServer();
    }

    ShellInvokeTest() : root_(L"shell") {
        source_ = root_.Path() + L"\\from";
        destination_ = root_.Path() + L"\\to";
        CreateDirectoryW(source_.c_str(), nullptr);
        CreateDirectoryW(destination_.c_str(), nullptr);
        AddExtension(kExtension);
        AssociateDirectory(kExtension, destination_);
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

    // Right-click on the files, then the item "submenu/&1." (the only directory).
    void Invoke(const std::vector<std::wstring>& files, const std::wstring& submenu) {
        ShellSelection selection;
        ASSERT_TRUE(selection.Create(files)) << selection.Problem();
        Invoke(selection.FolderId(), selection.DataObject(), submenu);
    }
    void Invoke(PCIDLIST_ABSOLUTE folder, IDataObject* data, const std::wstring& submenu) {
        IShellExtInit* init = nullptr;
        ASSERT_EQ(CoCreateInstance(kShellCallbackClassId, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellExtInit, reinterpret_cast<void**>(&init)),
                  S_OK);
        ASSERT_EQ(init->Initialize(folder, data, nullptr), S_OK);
        IContextMenu* menu = nullptr;
        ASSERT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
        HMENU popup = CreatePopupMenu();
        ASSERT_TRUE(SUCCEEDED(menu->QueryContextMenu(popup, 0, 100, 0x7FFF, CMF_NORMAL)));
        const MenuNode* item = FindMenuItem(ReadMenu(popup), submenu + L"/&1.");
        ASSERT_TRUE(item) << DescribeMenu(ReadMenu(popup));
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof(info);
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
};

TEST_F(ShellInvokeTest, CopyToCopiesTheWholeSelectionShowingEachFile) {
    auto files = Sources({L"a.wdshell", L"b.wdshell", L"c.wdshell"});
    for (auto& file : files) kit::WriteBytes(destination_ + L"\\" + FileNameOf(file), "old");
    Invoke(files, L"Cop&y To");
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
    Invoke(files, L"&Move To");
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
            Invoke(nullptr, &data, L"&Move To");
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

}  // namespace
