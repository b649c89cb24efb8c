// The context-menu handler as the shell drives it: created through the registry by
// CoCreateInstance, handed the shell's own data object for files in a real folder, asked to
// fill a real popup menu that is read back with GetMenuItemInfoW, asked for help texts, and
// handed bad input.
#include "ShellextKit.h"

#include "UiDriver.h"
#include "WendriftClassIds.h"
#include "store/AssociationStore.h"
#include "store/RegKey.h"
#include "tools/shellhost/MenuTree.h"
#include "tools/shellhost/ShellSelection.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

const wchar_t kTwo[] = L".wdtest1";   // c:\music and d:\backup
const wchar_t kNone[] = L".wdtest2";  // stored without directories
const wchar_t kTen[] = L".wdtest3";   // ten directories

std::vector<std::wstring> StoreDirectories(const std::wstring& extension) {
    std::vector<std::wstring> directories;
    std::wstring directory;
    while (NextDirectory(extension, directory)) directories.push_back(directory);
    return directories;
}

// The shell's own first `items` (at most seven).
HMENU ShellMenu(int items) {
    const wchar_t* names[] = {L"&Open", L"Open wit&h", L"&Print", L"Cu&t", L"&Copy", L"&Delete",
                              L"P&roperties"};
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < items; ++i) AppendMenuW(menu, MF_STRING, 1 + i, names[i]);
    return menu;
}

class Handler : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize(nullptr);
        ASSERT_EQ(shellkit::Regsvr32(L"/s"), 0);
        AddExtension(kTwo);
        AssociateDirectory(kTwo, L"c:\\music");
        AssociateDirectory(kTwo, L"d:\\backup");
        // Written by other software: a default value, which is no directory and gets no item.
        RegKey key;
        if (key.Open(HKEY_CURRENT_USER, std::wstring(kStoreBaseKey) + L"\\" + kTwo, false)) {
            key.SetDefaultString(L"c:\\not a directory");
        }
        AddExtension(kNone);
        AddExtension(kTen);
        for (int i = 1; i <= 10; ++i) AssociateDirectory(kTen, L"c:\\target " + std::to_wstring(i));
        files_ = new shellkit::ScratchFolder(L"handler");
    }
    static void TearDownTestSuite() {
        for (const wchar_t* extension : {kTwo, kNone, kTen}) RemoveExtension(extension);
        delete files_;
        CoUninitialize();
    }

    void SetUp() override {
        ASSERT_EQ(CoCreateInstance(kShellCallbackClassId, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellExtInit, reinterpret_cast<void**>(&init_)),
                  S_OK);
        ASSERT_EQ(init_->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu_)), S_OK);
    }
    void TearDown() override {
        if (menu_ != nullptr) menu_->Release();
        if (init_ != nullptr) init_->Release();
    }

    static std::wstring File(const std::wstring& name) { return files_->File(name); }

    // The selection as the shell hands it over: its own data object for the files.
    HRESULT Select(const std::vector<std::wstring>& names) {
        std::vector<std::wstring> paths;
        for (const std::wstring& name : names) paths.push_back(File(name));
        ShellSelection selection;
        EXPECT_TRUE(selection.Create(paths)) << selection.Problem();
        return init_->Initialize(selection.FolderId(), selection.DataObject(), nullptr);
    }

    HRESULT HelpTextW(UINT offset, UINT type, std::wstring& text, UINT cchMax = 64) {
        wchar_t buffer[64] = {};
        HRESULT hr = menu_->GetCommandString(offset, type, nullptr, reinterpret_cast<char*>(buffer), cchMax);
        text = buffer;
        return hr;
    }

    static shellkit::ScratchFolder* files_;
    IShellExtInit* init_ = nullptr;
    IContextMenu* menu_ = nullptr;
};

shellkit::ScratchFolder* Handler::files_ = nullptr;

TEST_F(Handler, HasOneIdentityAndKeepsNoCount) {
    IUnknown* fromInit = nullptr;
    IUnknown* fromMenu = nullptr;
    ASSERT_EQ(init_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromInit)), S_OK);
    ASSERT_EQ(menu_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromMenu)), S_OK);
    EXPECT_EQ(fromInit, static_cast<IUnknown*>(init_));
    EXPECT_EQ(fromMenu, fromInit);
    IShellExtInit* initAgain = nullptr;
    ASSERT_EQ(menu_->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&initAgain)), S_OK);
    EXPECT_EQ(initAgain, init_);

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(init_->QueryInterface(IID_IContextMenu2, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    other = reinterpret_cast<void*>(1);
    EXPECT_EQ(menu_->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(init_->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(init_->AddRef(), 2u);
        EXPECT_EQ(menu_->AddRef(), 2u);
        EXPECT_EQ(init_->Release(), 1u);
        EXPECT_EQ(menu_->Release(), 1u);
        EXPECT_EQ(menu_->Release(), 1u);
    }
    // Still alive and usable after all those releases.
    EXPECT_EQ(Select({L"song one.wdtest1"}), S_OK);

    void* wrong = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(kShellCallbackClassId, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IContextMenu2, &wrong),
              E_NOINTERFACE);
    EXPECT_EQ(wrong, nullptr);
}

TEST_F(Handler, TwoDirectoriesAtIdCmdFirst100AndIndexMenu5) {
    ASSERT_EQ(Select({L"song one.wdtest1", L"Ünïcødé ✓.wdtest1", L"third song.wdtest1"}), S_OK);
    HMENU menu = ShellMenu(7);
    HRESULT hr = menu_->QueryContextMenu(menu, 5, 100, 0x7FFF, CMF_NORMAL);
    ASSERT_TRUE(SUCCEEDED(hr));
    EXPECT_EQ(HRESULT_CODE(hr), 8) << "the largest offset taken plus one";

    std::vector<MenuNode> top = ReadMenu(menu);
    ASSERT_EQ(top.size(), 9u);
    EXPECT_EQ(top[4].label, L"&Copy");
    EXPECT_EQ(top[7].label, L"&Delete") << "the shell's own items move down";
    std::vector<std::wstring> directories = StoreDirectories(kTwo);
    ASSERT_EQ(directories, (std::vector<std::wstring>{L"c:\\music", L"d:\\backup"}));
    // "&Other folder..." ends each submenu after a separator; its identifiers follow all the
    // others, so every item keeps the offset it had before it existed.
    struct {
        size_t position;
        const wchar_t* label;
        UINT id, otherId;
    } submenus[] = {{5, L"Cop&y To", 100, 106}, {6, L"&Move To", 103, 107}};
    for (const auto& expected : submenus) {
        const MenuNode& node = top[expected.position];
        EXPECT_EQ(node.label, expected.label);
        EXPECT_EQ(node.id, expected.id);
        EXPECT_TRUE(node.hasSubmenu);
        EXPECT_EQ(node.state & MFS_GRAYED, 0u);
        ASSERT_EQ(node.children.size(), 4u);
        EXPECT_EQ(node.children[0].label, L"&1.\tc:\\music");
        EXPECT_EQ(node.children[0].id, expected.id + 1);
        EXPECT_EQ(node.children[1].label, L"&2.\td:\\backup");
        EXPECT_EQ(node.children[1].id, expected.id + 2);
        EXPECT_TRUE(node.children[2].separator);
        EXPECT_EQ(node.children[3].label, L"&Other folder...");
        EXPECT_EQ(node.children[3].id, expected.otherId);
        for (const MenuNode& item : node.children) {
            EXPECT_EQ(item.state & MFS_GRAYED, 0u);
            EXPECT_FALSE(item.hasSubmenu);
        }
    }

    std::wstring text;
    EXPECT_EQ(HelpTextW(2, GCS_HELPTEXTW, text), S_OK);
    EXPECT_EQ(text, L"Copy here with Wendrift");
    EXPECT_EQ(HelpTextW(4, GCS_VERBW, text), S_OK);
    EXPECT_EQ(text, L"Move here with Wendrift");
    char narrow[64] = {};
    EXPECT_EQ(menu_->GetCommandString(5, GCS_HELPTEXTA, nullptr, narrow, 64), S_OK);
    EXPECT_STREQ(narrow, "Move here with Wendrift");
    EXPECT_EQ(menu_->GetCommandString(1, GCS_VERBA, nullptr, narrow, 64), S_OK);
    EXPECT_STREQ(narrow, "Copy here with Wendrift");
    EXPECT_EQ(HelpTextW(6, GCS_HELPTEXTW, text), S_OK);
    EXPECT_EQ(text, L"Choose a folder and copy there with Wendrift");
    EXPECT_EQ(menu_->GetCommandString(7, GCS_HELPTEXTA, nullptr, narrow, 64), S_OK);
    EXPECT_STREQ(narrow, "Choose a folder and move there with Wendrift");

    // Validation: entries exist for the four directory items and the two "&Other folder...".
    for (UINT offset = 0; offset < 9; ++offset) {
        bool entry = offset != 0 && offset != 3 && offset != 8;
        EXPECT_EQ(menu_->GetCommandString(offset, GCS_VALIDATEW, nullptr, nullptr, 0), entry ? S_OK : S_FALSE) << offset;
        EXPECT_EQ(menu_->GetCommandString(offset, GCS_VALIDATEA, nullptr, nullptr, 0), entry ? S_OK : S_FALSE) << offset;
        if (!entry) {
            EXPECT_EQ(HelpTextW(offset, GCS_HELPTEXTW, text), E_FAIL) << offset;
        }
    }
    // On screen as the file manager shows it, "Cop&y To" opened from the keyboard: the
    // README's screenshot.
    EXPECT_EQ(shellkit::ShowWithSubmenuOpen(menu, L'y', BuildDir() + L"\\menu.png"),
              (std::vector<std::wstring>{L"&1.\tc:\\music", L"&2.\td:\\backup", L"----",
                                         L"&Other folder..."}));
    DestroyMenu(menu);
}

TEST_F(Handler, AShortBufferGetsACutTerminatedTextAndNothingBeyondIt) {
    ASSERT_EQ(Select({L"song one.wdtest1"}), S_OK);
    HMENU menu = ShellMenu(0);
    ASSERT_TRUE(SUCCEEDED(menu_->QueryContextMenu(menu, 0, 100, 0x7FFF, CMF_NORMAL)));
    wchar_t wide[16];
    std::fill(std::begin(wide), std::end(wide), L'#');
    EXPECT_EQ(menu_->GetCommandString(1, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 5), S_OK);
    EXPECT_EQ(std::wstring(wide), L"Copy");
    EXPECT_TRUE(std::all_of(wide + 5, std::end(wide), [](wchar_t c) { return c == L'#'; }));
    char narrow[16];
    std::fill(std::begin(narrow), std::end(narrow), '#');
    EXPECT_EQ(menu_->GetCommandString(4, GCS_HELPTEXTA, nullptr, narrow, 8), S_OK);
    EXPECT_EQ(std::string(narrow), "Move he");
    EXPECT_TRUE(std::all_of(narrow + 8, std::end(narrow), [](char c) { return c == '#'; }));
    DestroyMenu(menu);
}

TEST_F(Handler, NoDirectoriesShowsGreyedPlaceholdersThenOtherFolderAndAnswers6) {
    ASSERT_EQ(Select({L"clip.wdtest2"}), S_OK);
    HMENU menu = ShellMenu(0);
    HRESULT hr = menu_->QueryContextMenu(menu, 0, 40, 0x7FFF, CMF_NORMAL);
    EXPECT_EQ(HRESULT_CODE(hr), 6);
    std::vector<MenuNode> top = ReadMenu(menu);
    ASSERT_EQ(top.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(top[i].id, 40 + 2 * i);
        ASSERT_EQ(top[i].children.size(), 3u);
        EXPECT_EQ(top[i].children[0].label, L"<no directories>");
        EXPECT_EQ(top[i].children[0].id, 41 + 2 * i);
        EXPECT_NE(top[i].children[0].state & MFS_GRAYED, 0u);
        EXPECT_EQ(top[i].children[2].label, L"&Other folder...");
        EXPECT_EQ(top[i].children[2].id, 44 + i);
        EXPECT_EQ(top[i].children[2].state & MFS_GRAYED, 0u);
    }
    EXPECT_EQ(menu_->GetCommandString(1, GCS_VALIDATEW, nullptr, nullptr, 0), S_FALSE);
    EXPECT_EQ(menu_->GetCommandString(3, GCS_VALIDATEA, nullptr, nullptr, 0), S_FALSE);
    EXPECT_EQ(menu_->GetCommandString(4, GCS_VALIDATEA, nullptr, nullptr, 0), S_OK);
    DestroyMenu(menu);
}

TEST_F(Handler, TenDirectoriesAreAllListedAndNumbered) {
    ASSERT_EQ(Select({L"ten.wdtest3"}), S_OK);
    HMENU menu = ShellMenu(0);
    HRESULT hr = menu_->QueryContextMenu(menu, 0, 1, 0x7FFF, CMF_NORMAL);
    EXPECT_EQ(HRESULT_CODE(hr), 24);
    std::vector<MenuNode> top = ReadMenu(menu);
    ASSERT_EQ(top.size(), 2u);
    std::vector<std::wstring> directories = StoreDirectories(kTen);
    ASSERT_EQ(directories.size(), 10u);
    for (const MenuNode& submenu : top) {
        ASSERT_EQ(submenu.children.size(), 12u);
        for (size_t i = 0; i < 10; ++i) {
            EXPECT_EQ(submenu.children[i].label, L"&" + std::to_wstring(i + 1) + L".\t" + directories[i]);
            EXPECT_EQ(submenu.children[i].id, submenu.id + 1 + i);
        }
    }
    EXPECT_EQ(top[1].id, 12u);
    DestroyMenu(menu);
}

TEST_F(Handler, SelectionsWithoutOneSharedExtensionLeaveTheMenuUntouched) {
    struct {
        const char* name;
        std::vector<std::wstring> files;
    } cases[] = {
        {"mixed extensions", {L"song one.wdtest1", L"clip.wdtest2"}},
        {"a file without extension among others", {L"song one.wdtest1", L"readme"}},
        {"a single file without extension", {L"readme"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Select(c.files), S_OK) << "the selection itself is taken";
        HMENU menu = ShellMenu(3);
        std::wstring before = DescribeMenu(ReadMenu(menu));
        EXPECT_EQ(menu_->QueryContextMenu(menu, 1, 100, 0x7FFF, CMF_NORMAL), E_FAIL);
        EXPECT_EQ(DescribeMenu(ReadMenu(menu)), before);
        DestroyMenu(menu);
    }
}

TEST_F(Handler, ExtensionsDifferingOnlyInCaseShareTheFirstFilesDirectories) {
    ASSERT_EQ(Select({L"LOUD.WDTEST1", L"song one.wdtest1", L"Third.WdTest1"}), S_OK);
    HMENU menu = ShellMenu(0);
    EXPECT_EQ(HRESULT_CODE(menu_->QueryContextMenu(menu, 0, 100, 0x7FFF, CMF_NORMAL)), 8);
    std::vector<MenuNode> top = ReadMenu(menu);
    ASSERT_EQ(top.size(), 2u);
    ASSERT_EQ(top[0].children.size(), 4u);
    EXPECT_EQ(top[0].children[0].label, L"&1.\tc:\\music");
    DestroyMenu(menu);
}

TEST_F(Handler, ASecondInitializeReplacesTheSelectionAndItsCommands) {
    ASSERT_EQ(Select({L"song one.wdtest1", L"third song.wdtest1"}), S_OK);
    HMENU first = ShellMenu(0);
    ASSERT_EQ(HRESULT_CODE(menu_->QueryContextMenu(first, 0, 100, 0x7FFF, CMF_NORMAL)), 8);
    ASSERT_EQ(menu_->GetCommandString(1, GCS_VALIDATEW, nullptr, nullptr, 0), S_OK);

    ASSERT_EQ(Select({L"clip.wdtest2"}), S_OK);
    EXPECT_EQ(menu_->GetCommandString(1, GCS_VALIDATEW, nullptr, nullptr, 0), S_FALSE)
        << "the first menu's entries went with its selection";
    HMENU second = ShellMenu(0);
    EXPECT_EQ(HRESULT_CODE(menu_->QueryContextMenu(second, 0, 100, 0x7FFF, CMF_NORMAL)), 6);

    // A failed Initialize leaves an empty selection: no menu at all.
    EXPECT_EQ(init_->Initialize(nullptr, nullptr, nullptr), E_FAIL);
    HMENU third = ShellMenu(0);
    EXPECT_EQ(menu_->QueryContextMenu(third, 0, 100, 0x7FFF, CMF_NORMAL), E_FAIL);
    EXPECT_EQ(GetMenuItemCount(third), 0);
    for (HMENU menu : {first, second, third}) DestroyMenu(menu);
}

TEST_F(Handler, OffsetsCountFromTheLastQueryContextMenu) {
    ASSERT_EQ(Select({L"song one.wdtest1"}), S_OK);
    HMENU first = ShellMenu(0), second = ShellMenu(0);
    ASSERT_TRUE(SUCCEEDED(menu_->QueryContextMenu(first, 0, 100, 0x7FFF, CMF_NORMAL)));
    ASSERT_TRUE(SUCCEEDED(menu_->QueryContextMenu(second, 0, 300, 0x7FFF, CMF_NORMAL)));
    EXPECT_EQ(menu_->GetCommandString(1, GCS_VALIDATEW, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(menu_->GetCommandString(201, GCS_VALIDATEW, nullptr, nullptr, 0), S_FALSE)
        << "301 would be found from the old base 100";
    DestroyMenu(first);
    DestroyMenu(second);
}

// Identifiers idCmdFirst (100) to idCmdLast are the handler's: what does not fit is left out
// of both submenus alike ("&Other folder..." first, then the last directories), and the answer
// counts exactly the identifiers taken. A double-click asks for the default verb only, which
// these menus never hold.
TEST_F(Handler, IdentifiersStayWithinIdCmdLastAndTheDefaultVerbQueryAddsNothing) {
    struct {
        const wchar_t* file;
        UINT last, flags;
        size_t shown;  // items per submenu; 0: nothing added
        bool other;    // "&Other folder..." after them
    } cases[] = {
        {L"song one.wdtest1", 107, CMF_NORMAL, 2, true},
        {L"song one.wdtest1", 106, CMF_NORMAL, 2, false},
        {L"song one.wdtest1", 104, CMF_NORMAL, 1, false},
        {L"ten.wdtest3", 103, CMF_NORMAL, 1, false},
        {L"ten.wdtest3", 110, CMF_NORMAL, 4, false},
        {L"song one.wdtest1", 102, CMF_NORMAL, 0, false},
        {L"song one.wdtest1", 99, CMF_NORMAL, 0, false},
        {L"clip.wdtest2", 105, CMF_NORMAL, 1, true},
        {L"clip.wdtest2", 103, CMF_NORMAL, 1, false},
        {L"clip.wdtest2", 102, CMF_NORMAL, 0, false},
        {L"song one.wdtest1", 0x7FFF, CMF_DEFAULTONLY, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << ", idCmdLast " << c.last << ", flags " << c.flags);
        ASSERT_EQ(Select({c.file}), S_OK);
        HMENU earlier = ShellMenu(0), menu = ShellMenu(2);
        ASSERT_TRUE(SUCCEEDED(menu_->QueryContextMenu(earlier, 0, 100, 0x7FFF, CMF_NORMAL)));
        const UINT taken =
            c.shown == 0 ? 0 : 2 + 2 * static_cast<UINT>(c.shown) + (c.other ? 2 : 0);
        EXPECT_EQ(menu_->QueryContextMenu(menu, 1, 100, c.last, c.flags), MAKE_HRESULT(0, 0, taken));
        std::vector<MenuNode> top = ReadMenu(menu);
        ASSERT_EQ(top.size(), c.shown == 0 ? 2u : 4u);
        for (size_t s = 1; s < top.size() - 1; ++s) {
            EXPECT_LE(top[s].id, c.last);
            ASSERT_EQ(top[s].children.size(), c.shown + (c.other ? 2 : 0));
            for (size_t i = 0; i < top[s].children.size(); ++i) {
                EXPECT_LE(top[s].children[i].id, c.last);
                EXPECT_EQ(top[s].children[i].label, top[1].children[i].label);
            }
        }
        // The earlier, wider menu's entries went with it: no help text for "&Move To".
        if (c.shown != 0) {
            EXPECT_EQ(menu_->GetCommandString(1 + c.shown, GCS_VALIDATEW, nullptr, nullptr, 0), S_FALSE);
            EXPECT_EQ(menu_->GetCommandString(taken, GCS_VALIDATEW, nullptr, nullptr, 0), S_FALSE);
        }
        DestroyMenu(earlier);
        DestroyMenu(menu);
    }
}

TEST_F(Handler, BadSelectionsAreRefusedAndTheDataObjectIsGivenBack) {
    EXPECT_EQ(init_->Initialize(nullptr, nullptr, nullptr), E_FAIL);

    const wchar_t text[] = L"C:\\not\\a\\drop.wdtest1";
    std::vector<BYTE> textBlock(reinterpret_cast<const BYTE*>(text),
                                reinterpret_cast<const BYTE*>(text) + sizeof(text));
    struct {
        const char* name;
        CLIPFORMAT format;
        std::vector<BYTE> block;
        HRESULT expected;
        bool asStream;
    } cases[] = {
        {"text only, no CF_HDROP", CF_UNICODETEXT, textBlock, E_FAIL, false},
        {"an empty drop list", CF_HDROP, shellkit::WideDropBlock({}), E_FAIL, false},
        {"a block too short for its header", CF_HDROP, std::vector<BYTE>(8, 0), E_FAIL, false},
        {"drop data in a stream instead of memory", CF_HDROP,
         shellkit::WideDropBlock({L"C:\\a.wdtest1"}), E_FAIL, true},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        shellkit::BlockDataObject data(c.format, c.block, c.asStream);
        EXPECT_EQ(init_->Initialize(nullptr, &data, nullptr), c.expected);
        EXPECT_EQ(data.References(), 1) << "every reference taken is given back";
        HMENU menu = ShellMenu(0);
        EXPECT_EQ(menu_->QueryContextMenu(menu, 0, 1, 0x7FFF, CMF_NORMAL), E_FAIL);
        DestroyMenu(menu);
    }
}

TEST_F(Handler, InvokingAnythingButAnItemStartsNothing) {
    ASSERT_EQ(Select({L"song one.wdtest1"}), S_OK);
    HMENU menu = ShellMenu(0);
    ASSERT_TRUE(SUCCEEDED(menu_->QueryContextMenu(menu, 0, 100, 0x7FFF, CMF_NORMAL)));
    std::vector<DWORD> before = shellkit::Threads();

    EXPECT_EQ(menu_->InvokeCommand(nullptr), S_OK);
    const char* verbs[] = {"copy", "open", "Cop&y To"};
    for (const char* verb : verbs) {
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof(info);
        info.lpVerb = verb;
        EXPECT_EQ(menu_->InvokeCommand(&info), S_OK) << verb;
    }
    for (UINT offset : {0u, 3u, 8u, 99u, 0xFFFFu}) {
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof(info);
        info.lpVerb = MAKEINTRESOURCEA(offset);
        EXPECT_EQ(menu_->InvokeCommand(&info), S_OK) << offset;
    }
    // A transfer's thread would be there before InvokeCommand returned.
    EXPECT_EQ(shellkit::Threads().size(), before.size()) << "no transfer thread was started";
    EXPECT_EQ(FindWindowW(L"#32770", L"Wendrift : FATAL ERROR"), nullptr);
    DestroyMenu(menu);
}

TEST(ClassObject, AnswersTheCodesCallersCheck) {
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(shellkit::Export("DllGetClassObject")));
    ASSERT_NE(get, nullptr);

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(get(IID_IUnknown, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(get(kShellCallbackClassId, IID_IClassFactory, nullptr), E_POINTER);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(get(kShellCallbackClassId, IID_IShellExtInit, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    IClassFactory* factory = nullptr;
    ASSERT_EQ(get(kShellCallbackClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(factory));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(factory->AddRef(), 2u);
        EXPECT_EQ(factory->Release(), 1u);
        EXPECT_EQ(factory->Release(), 1u);
    }
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);

    int outer = 0;  // never called: aggregation is refused before the outer object is used
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(&outer), IID_IUnknown, &out),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    IContextMenu* menu = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    EXPECT_NE(menu, nullptr);

    // The same through COM's own lookup in the registry.
    IClassFactory* viaCom = nullptr;
    ASSERT_EQ(shellkit::Regsvr32(L"/s"), 0);
    CoInitialize(nullptr);
    EXPECT_EQ(CoGetClassObject(kShellCallbackClassId, CLSCTX_INPROC_SERVER, nullptr,
                               IID_IClassFactory, reinterpret_cast<void**>(&viaCom)),
              S_OK);
    EXPECT_NE(viaCom, nullptr);
    CoUninitialize();
}

}  // namespace
