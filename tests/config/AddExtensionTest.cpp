// Adding an extension through the main dialog's Add button: what the edit dialog shows while
// the user types, the folder browser, and what reaches the store and the class registrations.
#include "ConfigFixture.h"

#include "config/ConfigResources.h"
#include "config/ExtensionModifyDlg.h"
#include "winframe/FolderPicker.h"
#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"

#include <shlobj.h>

#include <atomic>

namespace {

std::wstring MarkerKey(const std::wstring& extension) {
    return extension + L"\\CLSID\\" + kClassIdText;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

struct ChildSearch {
    const wchar_t* text;
    bool found;
};

BOOL CALLBACK MatchChildText(HWND child, LPARAM data) {
    ChildSearch* search = reinterpret_cast<ChildSearch*>(data);
    if (WindowText(child) == search->text) search->found = true;
    return !search->found;
}

bool HasChildWithText(HWND window, const wchar_t* text) {
    ChildSearch search = {text, false};
    EnumChildWindows(window, MatchChildText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

using AddExtensionTest = ConfigFixture;

TEST_F(AddExtensionTest, CaptionGroupAndIconFollowTheTypedExtension) {
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);

    // A new dialog starts with "new" typed and selected, so typing replaces it.
    EXPECT_EQ(ItemText(add, IDC_EXTENSION_EDIT), L"new");
    DWORD start = 0, end = 0;
    SendMessageW(GetDlgItem(add, IDC_EXTENSION_EDIT), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);

    Type(add, IDC_EXTENSION_EDIT, L"wdcfgdoc");
    EXPECT_EQ(WindowText(add), L"Wendrift: [.wdcfgdoc]");
    EXPECT_EQ(ItemText(add, IDC_FILE_TYPE_GROUP), L"File Type: Wendrift Test Document");
    EXPECT_NE(SendMessageW(GetDlgItem(add, IDC_FILE_TYPE_ICON), STM_GETICON, 0, 0), 0);

    Type(add, IDC_EXTENSION_EDIT, L".wdcfga");
    EXPECT_EQ(WindowText(add), L"Wendrift: [.wdcfga]");
    EXPECT_EQ(ItemText(add, IDC_EXTENSION_EDIT), L".wdcfga");

    Type(add, IDC_EXTENSION_EDIT, L"");
    EXPECT_EQ(WindowText(add), L"Wendrift: [<none>]");
    EXPECT_EQ(ItemText(add, IDC_FILE_TYPE_GROUP), L"File Type: <none>");
    EXPECT_EQ(reinterpret_cast<HICON>(
                  SendMessageW(GetDlgItem(add, IDC_FILE_TYPE_ICON), STM_GETICON, 0, 0)),
              LoadIconW(nullptr, IDI_QUESTION));

    // Nothing changed: Escape closes at once and nothing is stored.
    PressEscape(add);
    EXPECT_TRUE(WaitUntilGone(add));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_FALSE(ExtensionExists(L".new"));
    EXPECT_TRUE(CloseMain());
}

TEST_F(AddExtensionTest, OkWithoutDirectoriesAsksThenSavesRegistersAndShowsTheSortedRow) {
    StoreExtension(L".wdcfga", {});
    StoreExtension(L".wdcfgc", {});
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);
    Type(add, IDC_EXTENSION_EDIT, L"wdcfgb");
    Click(add, IDOK);
    MessageBoxSeen question = AnswerBox(L"Wendrift : No directories associated", IDYES);
    ASSERT_TRUE(question.found);
    EXPECT_EQ(question.text,
              L"You have not associated any directories with the extension [.wdcfgb]. Would you "
              L"like to add it anyway?");
    EXPECT_EQ(question.owner, add);
    ASSERT_TRUE(WaitUntilGone(add));
    Settle(main_);  // the main dialog takes up the outcome

    EXPECT_TRUE(ExtensionExists(L".wdcfgb"));
    EXPECT_EQ(CountDirectories(L".wdcfgb"), 0);
    // The shell never saw the extension: it gets the program's own ProgID as its file type.
    EXPECT_TRUE(EndsWith(ClassValue(MarkerKey(L".wdcfgb"), L"InprocServer32"), L"\\Wendrift.dll"));
    EXPECT_EQ(ClassValue(MarkerKey(L".wdcfgb"), L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(ClassValue(L".wdcfgb", L""), L"Wendrift.ShellCallback.1");

    HWND list = MainList();
    int a = FindListRow(list, L".wdcfga"), b = FindListRow(list, L".wdcfgb"),
        c = FindListRow(list, L".wdcfgc");
    ASSERT_NE(b, -1);
    EXPECT_EQ(a + 1, b);
    EXPECT_EQ(b + 1, c);
    EXPECT_EQ(ListCell(list, b, 2), L"0");
    EXPECT_TRUE(CloseMain());
}

TEST_F(AddExtensionTest, OkWithoutDirectoriesAnsweredNoClosesWithoutSaving) {
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);
    Type(add, IDC_EXTENSION_EDIT, L"wdcfgb");
    Click(add, IDOK);
    ASSERT_TRUE(AnswerBox(L"Wendrift : No directories associated", IDNO).found);
    EXPECT_TRUE(WaitUntilGone(add));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_FALSE(ExtensionExists(L".wdcfgb"));
    EXPECT_FALSE(ClassKeyExists(L".wdcfgb"));
    EXPECT_EQ(FindListRow(MainList(), L".wdcfgb"), -1);
    EXPECT_TRUE(CloseMain());
}

TEST_F(AddExtensionTest, DirectoriesAreShownInPickOrderAndSavedOnOk) {
    const std::wstring one = Folder(L"DirOne"), two = Folder(L"DirTwo");
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);
    Type(add, IDC_EXTENSION_EDIT, L"wdcfgdoc");
    PickFolder(add, two);
    PickFolder(add, one);
    HWND lines = GetDlgItem(add, IDC_DIRECTORY_LIST);
    ASSERT_EQ(ListBoxCount(lines), 2);
    std::wstring lowerOne = one, lowerTwo = two;
    for (auto* text : {&lowerOne, &lowerTwo}) {
        for (wchar_t& ch : *text) ch = (ch >= L'A' && ch <= L'Z') ? ch + 32 : ch;
    }
    EXPECT_EQ(ListBoxLine(lines, 0), lowerTwo);
    EXPECT_EQ(ListBoxLine(lines, 1), lowerOne);
    // Nothing is written before the extension is saved.
    EXPECT_FALSE(ExtensionExists(L".wdcfgdoc"));

    // The same folder again, in other letter case, counts as already chosen.
    std::wstring upperOne = one;
    for (wchar_t& ch : upperOne) ch = (ch >= L'a' && ch <= L'z') ? ch - 32 : ch;
    PickFolder(add, upperOne);
    MessageBoxSeen duplicate = AnswerBox(kInfoCaption, IDOK);
    ASSERT_TRUE(duplicate.found);
    EXPECT_EQ(duplicate.text, L"The directory:\n\n" + lowerOne +
                                  L"\n\nis already associated with the file type [.wdcfgdoc].");
    EXPECT_EQ(ListBoxCount(lines), 2);

    Click(add, IDOK);
    ASSERT_TRUE(WaitUntilGone(add));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_EQ(StoredDirectories(L".wdcfgdoc"), (std::vector<std::wstring>{lowerOne, lowerTwo}));
    // A known file type gets the handler under its type, and keeps its own name.
    EXPECT_EQ(ClassValue(L"wdcfgdocfile\\shellex\\ContextMenuHandlers\\Wendrift", L""),
              kClassIdText);
    EXPECT_EQ(ClassValue(L".wdcfgdoc", L""), L"wdcfgdocfile");

    int row = FindListRow(MainList(), L".wdcfgdoc");
    ASSERT_NE(row, -1);
    EXPECT_EQ(ListCell(MainList(), row, 1), L"Wendrift Test Document");
    EXPECT_EQ(ListCell(MainList(), row, 2), L"2");
    EXPECT_TRUE(CloseMain());
}

// Two long folders whose shortened texts read alike are two lines and two directories: both
// are saved, and removing a line removes its own folder.
TEST_F(AddExtensionTest, LongFoldersThatShortenAlikeAreAllKept) {
    const std::wstring deep = std::wstring(60, L'x');
    Folder(deep);
    std::wstring lower[2];
    for (int i = 0; i < 2; ++i) {
        Folder(deep + (i == 0 ? L"\\One" : L"\\Two"));
        lower[i] = Folder(deep + (i == 0 ? L"\\One\\media" : L"\\Two\\media"));
        for (wchar_t& ch : lower[i]) ch = (ch >= L'A' && ch <= L'Z') ? ch + 32 : ch;
    }
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);
    Type(add, IDC_EXTENSION_EDIT, L"wdcfge");
    PickFolder(add, lower[0]);
    PickFolder(add, lower[1]);
    HWND lines = GetDlgItem(add, IDC_DIRECTORY_LIST);
    ASSERT_EQ(ListBoxCount(lines), 2);
    EXPECT_EQ(ListBoxLine(lines, 0), ListBoxLine(lines, 1));
    Click(add, IDOK);
    ASSERT_TRUE(WaitUntilGone(add));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_EQ(StoredDirectories(L".wdcfge"), (std::vector<std::wstring>{lower[0], lower[1]}));

    SelectListRow(MainList(), FindListRow(MainList(), L".wdcfge"));
    Click(main_, IDC_EDIT_EXTENSION);
    HWND edit = WaitForDialog(L"Wendrift: [.wdcfge]");
    ASSERT_NE(edit, nullptr);
    lines = GetDlgItem(edit, IDC_DIRECTORY_LIST);
    ASSERT_EQ(ListBoxCount(lines), 2);  // in store order
    SelectListBoxLine(lines, 0);
    ClickAndWait(edit, IDC_REMOVE_DIRECTORY);
    EXPECT_EQ(StoredDirectories(L".wdcfge"), std::vector<std::wstring>{lower[1]});
    Click(edit, IDOK);
    ASSERT_TRUE(WaitUntilGone(edit));
    Settle(main_);
    EXPECT_TRUE(CloseMain());
}

TEST_F(AddExtensionTest, AnExtensionAlreadyStoredInAnyCaseKeepsTheDialogOpen) {
    StoreExtension(L".wdcfga", {});
    const std::wstring one = Folder(L"DirOne");
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);
    Type(add, IDC_EXTENSION_EDIT, L"WDCFGA");
    PickFolder(add, one);
    Click(add, IDOK);
    MessageBoxSeen held = AnswerBox(kInfoCaption, IDOK);
    ASSERT_TRUE(held.found);
    EXPECT_EQ(held.text, L"The extension [.WDCFGA] is already associated with Wendrift.");
    EXPECT_TRUE(StaysOpen(add));
    EXPECT_EQ(CountDirectories(L".wdcfga"), 0);
    EXPECT_FALSE(ClassKeyExists(MarkerKey(L".wdcfga")));

    // A different name can still be saved from the same dialog.
    Type(add, IDC_EXTENSION_EDIT, L"wdcfgc");
    Click(add, IDOK);
    ASSERT_TRUE(WaitUntilGone(add));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_EQ(CountDirectories(L".wdcfgc"), 1);
    EXPECT_TRUE(CloseMain());
}

TEST_F(AddExtensionTest, EscapeAfterChangesAsksAndNoKeepsTheDialogOpen) {
    const std::wstring one = Folder(L"DirOne");
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);
    Type(add, IDC_EXTENSION_EDIT, L"wdcfge");
    PickFolder(add, one);

    PressEscape(add);
    MessageBoxSeen question = AnswerBox(L"Wendrift : Save changes?", IDNO);
    ASSERT_TRUE(question.found);
    EXPECT_EQ(question.text,
              L"You have made modifications to the extension [.wdcfge]. Would you like to save?");
    EXPECT_TRUE(StaysOpen(add));
    EXPECT_FALSE(ExtensionExists(L".wdcfge"));

    PressEscape(add);
    ASSERT_TRUE(AnswerBox(L"Wendrift : Save changes?", IDYES).found);
    ASSERT_TRUE(WaitUntilGone(add));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_EQ(CountDirectories(L".wdcfge"), 1);
    EXPECT_NE(FindListRow(MainList(), L".wdcfge"), -1);
    EXPECT_TRUE(CloseMain());
}

TEST_F(AddExtensionTest, RemovingAChosenDirectoryBeforeSaving) {
    const std::wstring one = Folder(L"DirOne");
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);
    Type(add, IDC_EXTENSION_EDIT, L"wdcfge");
    Click(add, IDC_REMOVE_DIRECTORY);
    MessageBoxSeen none = AnswerBox(kInfoCaption, IDOK);
    EXPECT_EQ(none.text, L"No directory is selected to remove.");

    PickFolder(add, one);
    HWND lines = GetDlgItem(add, IDC_DIRECTORY_LIST);
    SelectListBoxLine(lines, 0);
    ClickAndWait(add, IDC_REMOVE_DIRECTORY);
    EXPECT_EQ(ListBoxCount(lines), 0);
    // A directory added and removed again still counts as a change: OK saves the extension
    // with no directories after the question.
    Click(add, IDOK);
    ASSERT_TRUE(AnswerBox(L"Wendrift : No directories associated", IDNO).found);
    ASSERT_TRUE(WaitUntilGone(add));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_TRUE(ExtensionExists(L".wdcfge"));
    EXPECT_EQ(CountDirectories(L".wdcfge"), 0);
    EXPECT_TRUE(CloseMain());
}

// An extension is a registry key name under the store and under HKEY_CLASSES_ROOT: a character
// no file name can hold would nest keys. It is refused before anything is written.
TEST_F(AddExtensionTest, AnExtensionNoFileNameCanCarryIsRefusedAndNothingIsWritten) {
    const std::wstring one = Folder(L"DirOne");
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);
    PickFolder(add, one);
    for (const wchar_t* typed : {L"wdcfg\\x", L"wdcfg/x", L"wdcfg:x", L"wdcfg|x"}) {
        Type(add, IDC_EXTENSION_EDIT, typed);
        Click(add, IDOK);
        MessageBoxSeen refused = AnswerBox(kInfoCaption, IDOK);
        ASSERT_TRUE(refused.found) << typed;
        EXPECT_EQ(refused.text, L"The extension [." + std::wstring(typed) +
                                    L"] cannot be used: a file extension cannot contain \\ / : * "
                                    L"? \" < > or |.");
        EXPECT_TRUE(StaysOpen(add, 100));
    }
    // The save offered by Escape is refused the same way.
    PressEscape(add);
    ASSERT_TRUE(AnswerBox(L"Wendrift : Save changes?", IDYES).found);
    EXPECT_TRUE(AnswerBox(kInfoCaption, IDOK).found);
    EXPECT_TRUE(StaysOpen(add));
    EXPECT_FALSE(ExtensionExists(L".wdcfg"));
    EXPECT_FALSE(ClassKeyExists(L".wdcfg"));

    // Dots inside stay allowed.
    Type(add, IDC_EXTENSION_EDIT, L"wdcfg.tar.gz");
    Click(add, IDOK);
    ASSERT_TRUE(WaitUntilGone(add));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_EQ(CountDirectories(L".wdcfg.tar.gz"), 1);
    EXPECT_TRUE(ClassKeyExists(MarkerKey(L".wdcfg.tar.gz")));
    EXPECT_TRUE(CloseMain());
}

// Where the platform has only the folder browser (hidden here), the Recycle Bin and other shell
// folders can be picked in its tree: each is refused, and the browser comes back.
TEST_F(AddExtensionTest, TheRecycleBinAndOtherShellFoldersAreRefusedAndTheBrowserComesBack) {
    WithoutModernFolderDialog browserOnly;
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);
    Type(add, IDC_EXTENSION_EDIT, L"wdcfge");
    Click(add, IDC_ADD_DIRECTORY);
    const struct {
        int csidl;
        std::wstring text;
    } refusals[] = {
        {CSIDL_BITBUCKET, L"The 'Recycle Bin' virtual folder cannot be added. Please choose "
                          L"another directory."},
        {CSIDL_DRIVES, L"The directory you chose:\n\n" + ShellFolderName(CSIDL_DRIVES) +
                           L"\n\nis not a valid directory. Please choose another."},
    };
    for (const auto& refusal : refusals) {
        HWND browser = WaitForDialog(kBrowserCaption);
        ASSERT_NE(browser, nullptr);
        ASSERT_TRUE(ChooseShellFolderInBrowser(browser, refusal.csidl));
        MessageBoxSeen refused = AnswerBox(kCantAddCaption, IDOK);
        ASSERT_TRUE(refused.found);
        EXPECT_EQ(refused.text, refusal.text);
        EXPECT_EQ(refused.owner, add);
    }
    HWND browser = WaitForDialog(kBrowserCaption);
    ASSERT_NE(browser, nullptr);
    Click(browser, IDCANCEL);
    ASSERT_TRUE(WaitUntilGone(browser));
    Settle(add);
    EXPECT_EQ(ListBoxCount(GetDlgItem(add, IDC_DIRECTORY_LIST)), 0);

    // Neither counted as a change: Escape closes without asking.
    PressEscape(add);
    EXPECT_TRUE(WaitUntilGone(add));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_FALSE(ExtensionExists(L".wdcfge"));
    EXPECT_TRUE(CloseMain());
}

// Wine's browser never validates its edit box itself (it returns the tree's selection), so the
// warning the browser would raise for a typed name that is no folder is driven through the
// callback the picker hands it, with the open browser as its window.
TEST_F(AddExtensionTest, AnInvalidTypedFolderNameIsWarnedAboutByTheBrowserWhichStaysOpen) {
    WithoutModernFolderDialog browserOnly;
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);
    Type(add, IDC_EXTENSION_EDIT, L"wdcfge");
    Click(add, IDC_ADD_DIRECTORY);
    HWND browser = WaitForDialog(kBrowserCaption);
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(HasChildWithText(
        browser, L"Choose a new directory to associate with the file type [.wdcfge]:"));

    std::atomic<int> answer{-1};
    std::thread validate([&] {
        answer = FolderBrowserCallback(browser, BFFM_VALIDATEFAILEDW,
                                       reinterpret_cast<LPARAM>(L"Q:\\no such"), 0);
    });
    MessageBoxSeen warning = AnswerBox(kCantAddCaption, IDOK);
    validate.join();
    ASSERT_TRUE(warning.found);
    EXPECT_EQ(warning.text,
              L"The directory you chose:\n\nQ:\\no such\n\nis not a valid directory. Please "
              L"choose another.");
    EXPECT_EQ(warning.owner, browser);
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(StaysOpen(browser, 100));
    // Every other message leaves the browser to its own devices.
    EXPECT_EQ(FolderBrowserCallback(browser, BFFM_SELCHANGED, 0, 0), 0);

    Click(browser, IDCANCEL);
    ASSERT_TRUE(WaitUntilGone(browser));
    EXPECT_EQ(ListBoxCount(GetDlgItem(add, IDC_DIRECTORY_LIST)), 0);
    PressEscape(add);
    EXPECT_TRUE(WaitUntilGone(add));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_TRUE(CloseMain());
}

TEST_F(AddExtensionTest, AnEmptyOrOverlongExtensionIsReportedWhenSavingAndNothingIsWritten) {
    OpenMain();
    HWND add = OpenAdd();
    ASSERT_NE(add, nullptr);
    Type(add, IDC_EXTENSION_EDIT, L"");
    Click(add, IDOK);
    ASSERT_TRUE(AnswerBox(L"Wendrift : No directories associated", IDYES).found);
    EXPECT_EQ(AnswerBox(kErrorCaption, IDOK).text,
              L"Unable to write new settings; no extension supplied.");
    EXPECT_TRUE(StaysOpen(add, 100));

    // Longer than a registry key name can be: the registration step fails first.
    const std::wstring overlong = L"wdcfg" + std::wstring(300, L'y');
    Type(add, IDC_EXTENSION_EDIT, overlong);
    Click(add, IDOK);
    ASSERT_TRUE(AnswerBox(L"Wendrift : No directories associated", IDYES).found);
    EXPECT_EQ(AnswerBox(kErrorCaption, IDOK).text,
              L"An error occurred while registering the file type!");
    EXPECT_TRUE(StaysOpen(add, 100));
    std::vector<std::wstring> stored;
    ListExtensions(stored);
    for (const std::wstring& extension : stored) {
        EXPECT_EQ(extension.find(L"yyyy"), std::wstring::npos);
    }
    EXPECT_FALSE(ClassKeyExists(L"." + overlong));

    // The close box leaves without asking or saving.
    PostMessageW(add, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitUntilGone(add));
    Settle(main_);
    EXPECT_TRUE(CloseMain());
}
