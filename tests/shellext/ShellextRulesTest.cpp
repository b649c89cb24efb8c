// The plain decisions of the handler: which selections get menus, what the submenus list, and
// how a help text is handed to the caller's buffer.
#include "shellext/classic/CommandString.h"
#include "shellext/common/ExtensionRule.h"
#include "shellext/common/MenuPlan.h"
#include "shellext/common/PickerPlan.h"
#include "shellext/classic/SelectionState.h"

#include "winframe/Languages.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(ExtensionRule, MenusOnlyForSelectionsSharingOneExtensionIgnoringCase) {
    struct {
        const char* name;
        std::vector<std::wstring> paths;
        bool same;
    } cases[] = {
        {"empty selection", {}, false},
        {"one file", {L"c:\\a\\x.mp3"}, true},
        {"mp3 with MP3", {L"c:\\a\\x.MP3", L"c:\\b\\y.mp3", L"c:\\c.mp3"}, true},
        {"mp3 with wav", {L"c:\\a.mp3", L"c:\\d.wav"}, false},
        {"mp3 with a path without dot", {L"c:\\a\\x.mp3", L"c:\\a\\readme"}, false},
        {"two paths without dot", {L"c:\\a\\readme", L"c:\\b\\license"}, true},
        {"only A to Z fold", {L"c:\\a.\u00c9x", L"c:\\b.\u00e9x"}, false},
        {"difference after the first path", {L"c:\\a.txt", L"c:\\b.txt", L"c:\\c.doc"}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(AllSameExtension(c.paths), c.same) << c.name;
}

TEST(SelectionStateRecords, ResetEmptiesAndCommandsAreReplacedByIdentifier) {
    SelectionState state;
    state.commandBase = 40;
    state.AddFile(L"c:\\a\\x.MP3");
    state.AddFile(L"c:\\b\\y.mp3");
    EXPECT_EQ(state.FirstFileExtension(), L".MP3");
    state.AddCommand(MenuCommand{L"c:\\one", 41, kOperationCopy});
    state.AddCommand(MenuCommand{L"c:\\two", 41, kOperationMove});
    ASSERT_NE(state.FindCommand(41), nullptr);
    EXPECT_EQ(state.FindCommand(41)->directory, L"c:\\two");
    EXPECT_EQ(state.FindCommand(41)->operation, kOperationMove);
    EXPECT_EQ(state.FindCommand(42), nullptr);
    state.Reset();
    EXPECT_EQ(state.commandBase, 0u);
    EXPECT_TRUE(state.selectedFiles.empty());
    EXPECT_EQ(state.FindCommand(41), nullptr);
    EXPECT_EQ(state.FirstFileExtension(), L"");
    MenuCommand fresh;
    EXPECT_TRUE(fresh.directory.empty());
    EXPECT_EQ(fresh.commandId, 0u);
    EXPECT_EQ(fresh.operation, kOperationNone);
}

TEST(MenuPlan, NumbersEveryDirectoryOrShowsTheGreyedPlaceholder) {
    std::vector<PlannedItem> none = PlanSubmenu({}, kEnglish);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].label, L"<no directories>");
    EXPECT_TRUE(none[0].greyed);
    EXPECT_TRUE(none[0].directory.empty());

    std::vector<std::wstring> ten;
    for (int i = 1; i <= 10; ++i) ten.push_back(L"c:\\dir" + std::to_wstring(i));
    std::vector<PlannedItem> items = PlanSubmenu(ten, kEnglish);
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items[0].label, L"&1.\tc:\\dir1");
    EXPECT_EQ(items[9].label, L"&10.\tc:\\dir10");
    EXPECT_EQ(items[9].directory, L"c:\\dir10");
    EXPECT_FALSE(items[9].greyed);
    // Labels are not shortened, and a percent sign in a path is text, not a format.
    std::wstring deep = L"c:\\100% sure\\" + std::wstring(600, L'd');
    EXPECT_EQ(DirectoryLabel(3, deep), L"&3.\t" + deep);
}

// What the menu shows for each stored name, and what picking it would reach.
TEST(MenuPlan, AmpersandsShowAsTheyAreAndOnlyAbsoluteDirectoriesAreCommands) {
    const std::vector<std::wstring> stored = {L"c:\\r&d", L"d:\\tom & jerry&&co", L"\\\\pc\\share",
                                              L"relative dst", L"dest", L"\\dest", L"c:dest",
                                              L"\\\\pc"};
    const wchar_t* labels[] = {L"&1.\tc:\\r&&d", L"&2.\td:\\tom && jerry&&&&co", L"&3.\t\\\\pc\\share",
                               L"&4.\trelative dst", L"&5.\tdest", L"&6.\t\\dest", L"&7.\tc:dest",
                               L"&8.\t\\\\pc"};
    std::vector<PlannedItem> items = PlanSubmenu(stored, kEnglish);
    ASSERT_EQ(items.size(), stored.size());
    for (size_t i = 0; i < items.size(); ++i) {
        bool command = i < 3;
        EXPECT_EQ(items[i].label, labels[i]);
        EXPECT_EQ(items[i].greyed, !command) << i;
        EXPECT_EQ(items[i].directory, command ? stored[i] : L"") << i;
    }
}

// The picker may start in the last folder picked for the extension, its first usable folder
// and the selection's own folder, in that order; only folders with a full path.
TEST(PickerPlan, StartsInTheLastPickThenTheFirstFolderThenTheSelectionsOwn) {
    using List = std::vector<std::wstring>;
    struct {
        const wchar_t* last;
        List associated;
        const wchar_t* file;
        List candidates;
    } cases[] = {
        {L"c:\\last", {L"c:\\first"}, L"c:\\photos\\a.jpg",
         {L"c:\\last", L"c:\\first", L"c:\\photos"}},
        {L"relative", {L"relative", L"c:\\first", L"c:\\second"}, L"c:\\photos\\a.jpg",
         {L"c:\\first", L"c:\\photos"}},
        {L"", {}, L"c:\\a.jpg", {L"c:\\"}},
        {L"", {}, L"a.jpg", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartCandidates(c.last, c.associated, c.file), c.candidates) << c.last << c.file;
    }
}

// A buffer with a canary behind the cchMax units the handler may write.
template <typename Unit>
struct Guarded {
    Unit units[64];
    Guarded() { std::memset(units, 0x5A, sizeof(units)); }
    bool CanaryIntactFrom(UINT from) const {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(units);
        for (size_t i = from * sizeof(Unit); i < sizeof(units); ++i) {
            if (bytes[i] != 0x5A) return false;
        }
        return true;
    }
};

TEST(CommandString, HelpTextsInBothCharacterSetsAlwaysTerminatedWithinCchMax) {
    MenuCommand copy{L"c:\\music", 101, kOperationCopy};
    MenuCommand move{L"c:\\music", 104, kOperationMove};
    const std::string copyText = "Copy here with Wendrift";  // 23 characters
    const std::string moveText = "Move here with Wendrift";
    for (UINT cchMax : {1u, 2u, 5u, 23u, 24u, 25u, 40u}) {
        for (UINT type : {static_cast<UINT>(GCS_HELPTEXTA), static_cast<UINT>(GCS_VERBA)}) {
            Guarded<char> buffer;
            ASSERT_EQ(AnswerCommandString(&copy, type, buffer.units, cchMax, kEnglish), S_OK);
            size_t kept = std::min<size_t>(copyText.size(), cchMax - 1);
            EXPECT_EQ(std::string(buffer.units), copyText.substr(0, kept)) << cchMax;
            EXPECT_TRUE(buffer.CanaryIntactFrom(cchMax)) << "8-bit, cchMax " << cchMax;
        }
        for (UINT type : {static_cast<UINT>(GCS_HELPTEXTW), static_cast<UINT>(GCS_VERBW)}) {
            Guarded<wchar_t> buffer;
            ASSERT_EQ(AnswerCommandString(&move, type, reinterpret_cast<char*>(buffer.units), cchMax, kEnglish), S_OK);
            size_t kept = std::min<size_t>(moveText.size(), cchMax - 1);
            EXPECT_EQ(std::wstring(buffer.units), std::wstring(moveText.begin(), moveText.begin() + kept))
                << cchMax;
            EXPECT_TRUE(buffer.CanaryIntactFrom(cchMax)) << "UTF-16, cchMax " << cchMax;
        }
    }
}

TEST(CommandString, ValidationWritesNothingAndMissingEntriesFail) {
    MenuCommand copy{L"c:\\music", 101, kOperationCopy};
    Guarded<char> buffer;
    EXPECT_EQ(AnswerCommandString(&copy, GCS_VALIDATEA, buffer.units, 10, kEnglish), S_OK);
    EXPECT_EQ(AnswerCommandString(&copy, GCS_VALIDATEW, buffer.units, 10, kEnglish), S_OK);
    EXPECT_EQ(AnswerCommandString(nullptr, GCS_VALIDATEA, buffer.units, 10, kEnglish), S_FALSE);
    EXPECT_EQ(AnswerCommandString(nullptr, GCS_VALIDATEW, buffer.units, 10, kEnglish), S_FALSE);
    EXPECT_TRUE(buffer.CanaryIntactFrom(0));
    EXPECT_EQ(AnswerCommandString(nullptr, GCS_HELPTEXTW, buffer.units, 10, kEnglish), E_FAIL);
    EXPECT_EQ(AnswerCommandString(&copy, GCS_HELPTEXTW, buffer.units, 0, kEnglish), E_FAIL);
    EXPECT_EQ(AnswerCommandString(&copy, GCS_HELPTEXTW, nullptr, 10, kEnglish), E_POINTER);
    EXPECT_TRUE(buffer.CanaryIntactFrom(0));
}

}  // namespace
