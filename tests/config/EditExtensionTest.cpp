// Editing a stored extension: opened by the Edit button, a double-click or Enter on its row;
// every directory change reaches the store at once; OK refreshes the row's count, Escape not.
#include "ConfigFixture.h"

#include "config/ConfigResources.h"
#include "store/AssociationStore.h"

#include <commctrl.h>

#include <algorithm>

namespace {

void DoubleClickRow(HWND list, int row) {
    RECT bounds = {};
    bounds.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    LPARAM at = MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
}

}  // namespace

using EditExtensionTest = ConfigFixture;

TEST_F(EditExtensionTest, DirectoryChangesReachTheStoreAtOnceAndOkRefreshesTheCount) {
    StoreExtension(L".wdcfga", {L"c:\\wdcfg\\zeta", L"c:\\wdcfg\\alpha"});
    const std::wstring added = Folder(L"Added");
    OpenMain();
    HWND list = MainList();
    int row = FindListRow(list, L".wdcfga");
    ASSERT_NE(row, -1);
    SelectListRow(list, row);
    Click(main_, IDC_EDIT_EXTENSION);
    HWND edit = WaitForDialog(L"Wendrift: [.wdcfga]");
    ASSERT_NE(edit, nullptr);

    // The extension is fixed; the directories appear in store order, not sorted.
    EXPECT_EQ(ItemText(edit, IDC_EXTENSION_EDIT), L".wdcfga");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(edit, IDC_EXTENSION_EDIT)));
    HWND lines = GetDlgItem(edit, IDC_DIRECTORY_LIST);
    const std::vector<std::wstring> stored = StoredDirectories(L".wdcfga");
    ASSERT_EQ(ListBoxCount(lines), 2);
    EXPECT_EQ(ListBoxLine(lines, 0), stored[0]);
    EXPECT_EQ(ListBoxLine(lines, 1), stored[1]);

    PickFolder(edit, added);
    EXPECT_EQ(CountDirectories(L".wdcfga"), 3);
    // The picked folder is appended below the stored ones.
    std::wstring lowerAdded = added;
    for (wchar_t& ch : lowerAdded) ch = (ch >= L'A' && ch <= L'Z') ? ch + 32 : ch;
    EXPECT_EQ(ListBoxLine(lines, 2), lowerAdded);
    SelectListBoxLine(lines, 0);
    ClickAndWait(edit, IDC_REMOVE_DIRECTORY);
    EXPECT_EQ(ListBoxCount(lines), 2);
    std::vector<std::wstring> left = StoredDirectories(L".wdcfga");
    std::sort(left.begin(), left.end());
    std::vector<std::wstring> expected = {stored[1], lowerAdded};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);

    SaveScreenshot(edit, L"edit-dialog.png");

    // A directory already stored is reported, whatever its letter case.
    PickFolder(edit, added);
    MessageBoxSeen duplicate = AnswerBox(kInfoCaption, IDOK);
    EXPECT_EQ(duplicate.text, L"The directory:\n\n" + lowerAdded +
                                  L"\n\nis already associated with the file type [.wdcfga].");
    EXPECT_EQ(CountDirectories(L".wdcfga"), 2);

    EXPECT_EQ(ListCell(list, row, 2), L"2");  // unchanged while the dialog is open
    StoreExtension(L".wdcfga", {L"c:\\wdcfg\\third"});
    Click(edit, IDOK);
    ASSERT_TRUE(WaitUntilGone(edit));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_EQ(ListCell(list, FindListRow(list, L".wdcfga"), 2), L"3");
    EXPECT_TRUE(CloseMain());
}

TEST_F(EditExtensionTest, EscapeKeepsTheChangesButNotTheRefreshedCount) {
    StoreExtension(L".wdcfga", {L"c:\\wdcfg\\one"});
    const std::wstring added = Folder(L"Added");
    OpenMain();
    HWND list = MainList();
    int row = FindListRow(list, L".wdcfga");
    SelectListRow(list, row);
    Click(main_, IDC_EDIT_EXTENSION);
    HWND edit = WaitForDialog(L"Wendrift: [.wdcfga]");
    ASSERT_NE(edit, nullptr);
    PickFolder(edit, added);
    PressEscape(edit);
    ASSERT_TRUE(WaitUntilGone(edit));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_EQ(WaitForDialog(L"Wendrift : Save changes?", 200), nullptr);
    EXPECT_EQ(CountDirectories(L".wdcfga"), 2);
    EXPECT_EQ(ListCell(list, row, 2), L"1");
    EXPECT_TRUE(CloseMain());
}

TEST_F(EditExtensionTest, DoubleClickAndEnterOnARowOpenTheSameDialog) {
    StoreExtension(L".wdcfgb", {L"c:\\wdcfg\\one"});
    OpenMain();
    HWND list = MainList();
    int row = FindListRow(list, L".wdcfgb");
    ASSERT_NE(row, -1);

    DoubleClickRow(list, row);
    HWND edit = WaitForDialog(L"Wendrift: [.wdcfgb]");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(ListBoxCount(GetDlgItem(edit, IDC_DIRECTORY_LIST)), 1);
    Click(edit, IDOK);
    ASSERT_TRUE(WaitUntilGone(edit));
    Settle(main_);  // the main dialog takes up the outcome

    // Enter on the focused row: the dialog manager sees the key first.
    SelectListRow(list, row);
    PostMessageW(main_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    edit = WaitForDialog(L"Wendrift: [.wdcfgb]");
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(IsWindowVisible(main_));
    Click(edit, IDOK);
    ASSERT_TRUE(WaitUntilGone(edit));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_TRUE(CloseMain());
}

// The longest names the registry takes: a 255-character extension (a key name's limit) with a
// 259-character directory. Shown shortened, removed cleanly.
TEST_F(EditExtensionTest, NamesOfMaximumLengthAreShownShortenedAndRemovedCleanly) {
    const std::wstring extension = L".wdcfg" + std::wstring(249, L'x');
    std::wstring directory = L"c:\\wdcfg";
    while (directory.size() < 259) directory += L"\\deep";
    directory.resize(259);
    StoreExtension(extension, {directory});
    OpenMain();
    HWND list = MainList();
    int row = FindListRow(list, extension);
    ASSERT_NE(row, -1);
    EXPECT_EQ(ListCell(list, row, 2), L"1");
    SelectListRow(list, row);
    Click(main_, IDC_EDIT_EXTENSION);
    HWND edit = WaitForDialog((L"Wendrift: [" + extension + L"]").c_str());
    ASSERT_NE(edit, nullptr);
    HWND lines = GetDlgItem(edit, IDC_DIRECTORY_LIST);
    ASSERT_EQ(ListBoxCount(lines), 1);
    EXPECT_LE(ListBoxLine(lines, 0).size(), 51u);
    EXPECT_NE(ListBoxLine(lines, 0).find(L"..."), std::wstring::npos);
    SelectListBoxLine(lines, 0);
    ClickAndWait(edit, IDC_REMOVE_DIRECTORY);
    EXPECT_EQ(CountDirectories(extension), 0);
    Click(edit, IDOK);
    ASSERT_TRUE(WaitUntilGone(edit));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_EQ(ListCell(list, row, 2), L"0");
    EXPECT_TRUE(CloseMain());
}
