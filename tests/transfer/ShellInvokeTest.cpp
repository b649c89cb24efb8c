// Transfers started the way the shell starts them: the built Wendrift.dll registered, the
// handler created through COM, handed the shell's data object for the selection, asked for its
// menu, and a directory item invoked. The library's own copy of the engine runs the transfer.
#include "TransferTestKit.h"

#include "shellext/ClassId.h"
#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"
#include "tools/shellhost/MenuTree.h"
#include "tools/shellhost/ShellSelection.h"
#include "transfer/PathText.h"
#include "transfer/TransferResources.h"

#include <gtest/gtest.h>
#include <shlobj.h>

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
        IShellExtInit* init = nullptr;
        ASSERT_EQ(CoCreateInstance(kShellCallbackClassId, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellExtInit, reinterpret_cast<void**>(&init)),
                  S_OK);
        ASSERT_EQ(init->Initialize(selection.FolderId(), selection.DataObject(), nullptr), S_OK);
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
        EXPECT_EQ(WindowText(progress), L"Copying ...");
        EXPECT_EQ(ControlText(progress, IDC_OVERALL_TEXT), text);
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
    EXPECT_EQ(WindowText(progress), L"Moving ...");
    EXPECT_EQ(ControlText(progress, IDC_OVERALL_TEXT), L"Overall Progress (file 3 of 3) : 100%");
    PostCommand(question, IDC_REPLACE_YES);
    EXPECT_TRUE(WaitForWindowGone(progress, 5000));
    ASSERT_TRUE(kit::WaitForNewThreadsToEnd(before_));
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(kit::Bytes(destination_ + L"\\" + FileNameOf(files[i])), contents_[i]);
        EXPECT_FALSE(kit::Exists(files[i]));
    }
}

}  // namespace
