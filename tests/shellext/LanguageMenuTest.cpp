// The classic menu in the language the user chose, read afresh on every right-click by the
// same loaded library: titles, items, help texts, and screenshots of the menu in German and
// Japanese for the README.
#include "ShellextKit.h"

#include "LanguageValue.h"
#include "UiDriver.h"
#include "WendriftClassIds.h"
#include "store/AssociationStore.h"
#include "tools/shellhost/MenuTree.h"
#include "tools/shellhost/ShellSelection.h"

#include <gtest/gtest.h>


namespace {

const wchar_t kExtension[] = L".wdlang";

class LanguageMenu : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize(nullptr);
        ASSERT_EQ(shellkit::Regsvr32(L"/s"), 0);
        AddExtension(kExtension);
        AssociateDirectory(kExtension, L"c:\\music");
        files_ = new shellkit::ScratchFolder(L"language");
    }
    static void TearDownTestSuite() {
        RemoveExtension(kExtension);
        delete files_;
        CoUninitialize();
    }
    void SetUp() override {
        ASSERT_EQ(CoCreateInstance(kShellCallbackClassId, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IContextMenu, reinterpret_cast<void**>(&menu_)),
                  S_OK);
        IShellExtInit* init = nullptr;
        ASSERT_EQ(menu_->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
        ShellSelection selection;
        ASSERT_TRUE(selection.Create({files_->File(L"song.wdlang")})) << selection.Problem();
        ASSERT_EQ(init->Initialize(selection.FolderId(), selection.DataObject(), nullptr), S_OK);
        init->Release();
    }
    void TearDown() override {
        if (menu_ != nullptr) menu_->Release();
    }

    // The menu the handler adds to an empty one, from identifier 1.
    std::vector<MenuNode> Menu(HMENU menu) {
        EXPECT_TRUE(SUCCEEDED(menu_->QueryContextMenu(menu, 0, 1, 0x7FFF, CMF_NORMAL)));
        return ReadMenu(menu);
    }

    std::wstring HelpText(UINT offset) {
        wchar_t text[128] = {};
        menu_->GetCommandString(offset, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(text), 128);
        return text;
    }

    static shellkit::ScratchFolder* files_;
    IContextMenu* menu_ = nullptr;
};

shellkit::ScratchFolder* LanguageMenu::files_ = nullptr;

TEST_F(LanguageMenu, EveryRightClickSpeaksTheLanguageChosenThen) {
    struct Case {
        const wchar_t* setting;  // null: no value
        const wchar_t* copyTo;
        const wchar_t* moveTo;
        const wchar_t* otherFolder;
        const wchar_t* help;
    };
    const Case cases[] = {
        {L"de", L"&Kopieren nach", L"&Verschieben nach", L"&Anderer Ordner...",
         L"Mit Wendrift hierher kopieren"},
        {L"de-AT", L"&Kopieren nach", L"&Verschieben nach", L"&Anderer Ordner...",
         L"Mit Wendrift hierher kopieren"},
        {L"ja", L"\u30b3\u30d4\u30fc\u5148(&Y)", L"\u79fb\u52d5\u5148(&M)",
         L"\u305d\u306e\u4ed6\u306e\u30d5\u30a9\u30eb\u30c0\u30fc(&O)...",
         L"Wendrift \u3067\u3053\u3053\u306b\u30b3\u30d4\u30fc\u3057\u307e\u3059"},
        {L"xx-YY", L"Cop&y To", L"&Move To", L"&Other folder...", L"Copy here with Wendrift"},
        // No choice: the display language, English on the test's Windows.
        {nullptr, L"Cop&y To", L"&Move To", L"&Other folder...", L"Copy here with Wendrift"},
        {L"", L"Cop&y To", L"&Move To", L"&Other folder...", L"Copy here with Wendrift"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting != nullptr ? c.setting : L"(none)");
        LanguageValue language(c.setting);
        HMENU menu = CreatePopupMenu();
        std::vector<MenuNode> top = Menu(menu);
        ASSERT_EQ(top.size(), 2u);
        EXPECT_EQ(top[0].label, c.copyTo);
        EXPECT_EQ(top[1].label, c.moveTo);
        ASSERT_EQ(top[0].children.size(), 3u);
        EXPECT_EQ(top[0].children[0].label, L"&1.\tc:\\music");
        EXPECT_EQ(top[1].children[2].label, c.otherFolder);
        EXPECT_EQ(HelpText(1), c.help);
        DestroyMenu(menu);
    }
}

// "Copy To" opened from the keyboard with its access key, as in the README.
TEST_F(LanguageMenu, OnScreenInGermanAndJapanese) {
    const struct {
        const wchar_t* tag;
        wchar_t key;
        const wchar_t* otherFolder;
    } shots[] = {{L"de", L'k', L"&Anderer Ordner..."},
                 {L"ja", L'y', L"\u305d\u306e\u4ed6\u306e\u30d5\u30a9\u30eb\u30c0\u30fc(&O)..."}};
    for (const auto& shot : shots) {
        LanguageValue language(shot.tag);
        HMENU menu = CreatePopupMenu();
        for (const wchar_t* item : {L"&Open", L"&Print", L"&Copy", L"&Delete"}) {
            AppendMenuW(menu, MF_STRING, 0x7FF0, item);
        }
        ASSERT_TRUE(SUCCEEDED(menu_->QueryContextMenu(menu, 2, 1, 0x7FEF, CMF_NORMAL)));
        EXPECT_EQ(shellkit::ShowWithSubmenuOpen(menu, shot.key,
                                                BuildDir() + L"\\menu-" + shot.tag + L".png"),
                  (std::vector<std::wstring>{L"&1.\tc:\\music", L"----", shot.otherFolder}))
            << shot.tag << ": the submenu did not open with its key";
        DestroyMenu(menu);
    }
}

}  // namespace
