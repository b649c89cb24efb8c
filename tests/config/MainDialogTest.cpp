// The main dialog: the list of stored extensions, the Edit and Remove flows, and which keys
// close it.
#include "ConfigFixture.h"

#include "config/ConfigResources.h"
#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"

#include <commctrl.h>
#include <shlwapi.h>

namespace {

std::wstring MarkerKey(const std::wstring& extension) {
    return extension + L"\\CLSID\\" + kClassIdText;
}

int RowImage(HWND list, int row) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

}  // namespace

using MainDialogTest = ConfigFixture;

TEST_F(MainDialogTest, ListsEveryStoredExtensionWithTypeNameIconAndDirectoryCount) {
    StoreExtension(L".wdcfgdoc", {L"c:\\wdcfg\\one", L"c:\\wdcfg\\two"});
    StoreExtension(L".wdcfgb", {});
    OpenMain();
    HWND list = MainList();

    int doc = FindListRow(list, L".wdcfgdoc"), unknown = FindListRow(list, L".wdcfgb");
    ASSERT_NE(doc, -1);
    ASSERT_NE(unknown, -1);
    EXPECT_LT(unknown, doc);  // sorted by extension
    EXPECT_EQ(ListCell(list, doc, 1), L"Wendrift Test Document");
    EXPECT_EQ(ListCell(list, doc, 2), L"2");
    // The shell still names a type it knows nothing about ("... file" under Wine).
    EXPECT_FALSE(ListCell(list, unknown, 1).empty());
    EXPECT_EQ(ListCell(list, unknown, 2), L"0");

    // One small icon per row, each row showing its own.
    HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(
        SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(icons), ListRowCount(list));
    EXPECT_NE(RowImage(list, doc), RowImage(list, unknown));

    wchar_t header[64] = {};
    HDITEMW column = {};
    column.mask = HDI_TEXT | HDI_FORMAT;
    column.pszText = header;
    column.cchTextMax = 64;
    HWND headers = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    SendMessageW(headers, HDM_GETITEMW, 2, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(std::wstring(header), L"Associated Directories");
    EXPECT_EQ(column.fmt & HDF_JUSTIFYMASK, HDF_CENTER);
    SelectListRow(list, doc);
    SaveScreenshot(main_, L"config-dialog.png");
    EXPECT_TRUE(CloseMain());
}

TEST_F(MainDialogTest, EscapeNeverClosesTheDialogButOkAndTheCloseBoxDo) {
    OpenMain();
    PressEscape(main_);
    EXPECT_TRUE(StaysOpen(main_));
    PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(StaysOpen(main_));
    EXPECT_TRUE(CloseMain());

    OpenMain();
    PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitUntilGone(main_));
}

TEST_F(MainDialogTest, EditAndRemoveNeedARow) {
    StoreExtension(L".wdcfga", {});
    OpenMain();
    HWND list = MainList();
    ASSERT_GT(ListRowCount(list), 0);
    Click(main_, IDC_EDIT_EXTENSION);
    EXPECT_EQ(AnswerBox(kInfoCaption, IDOK).text,
              L"No extension is currently selected. You must select an extension to edit.");
    Click(main_, IDC_REMOVE_EXTENSION);
    EXPECT_EQ(AnswerBox(kInfoCaption, IDOK).text,
              L"No extension is currently selected. You must select an extension to remove.");

    // The same buttons over a list without rows (as on a first start).
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    Click(main_, IDC_EDIT_EXTENSION);
    EXPECT_EQ(AnswerBox(kInfoCaption, IDOK).text,
              L"No items exist. You must add at least one item to be able to edit them!");
    Click(main_, IDC_REMOVE_EXTENSION);
    EXPECT_EQ(AnswerBox(kInfoCaption, IDOK).text,
              L"No items exist. You must add at least one item to be able to remove them!");
    EXPECT_TRUE(ExtensionExists(L".wdcfga"));
    EXPECT_TRUE(CloseMain());
}

TEST_F(MainDialogTest, RemoveAsksAndOnlyYesUnregistersDeletesAndDropsTheRow) {
    StoreExtension(L".wdcfgdoc", {L"c:\\wdcfg\\one"});
    ASSERT_TRUE(RegisterExtension(L".wdcfgdoc", true));
    StoreExtension(L".wdcfga", {});
    OpenMain();
    HWND list = MainList();
    int row = FindListRow(list, L".wdcfgdoc");
    ASSERT_NE(row, -1);
    SelectListRow(list, row);

    Click(main_, IDC_REMOVE_EXTENSION);
    MessageBoxSeen question = AnswerBox(L"WendriftConfig : Removal Confirmation", IDNO);
    ASSERT_TRUE(question.found);
    EXPECT_EQ(question.text,
              L"Are you sure you wish to disassociate the extension [.wdcfgdoc] with Wendrift?");
    EXPECT_EQ(question.owner, main_);
    EXPECT_EQ(CountDirectories(L".wdcfgdoc"), 1);
    EXPECT_TRUE(ClassKeyExists(MarkerKey(L".wdcfgdoc")));
    EXPECT_EQ(FindListRow(list, L".wdcfgdoc"), row);

    Click(main_, IDC_REMOVE_EXTENSION);
    ASSERT_TRUE(AnswerBox(L"WendriftConfig : Removal Confirmation", IDYES).found);
    Settle(main_);
    EXPECT_EQ(WaitForDialog(kErrorCaption, 100), nullptr);
    EXPECT_EQ(FindListRow(list, L".wdcfgdoc"), -1);
    EXPECT_FALSE(ExtensionExists(L".wdcfgdoc"));
    EXPECT_FALSE(ClassKeyExists(MarkerKey(L".wdcfgdoc")));
    EXPECT_FALSE(ClassKeyExists(L"wdcfgdocfile\\shellex\\ContextMenuHandlers\\Wendrift"));
    // The file type itself belongs to whoever made it.
    EXPECT_EQ(ClassValue(L".wdcfgdoc", L""), L"wdcfgdocfile");
    EXPECT_NE(FindListRow(list, L".wdcfga"), -1);
    EXPECT_TRUE(CloseMain());
}

// Other software may delete keys while the dialog is open: the flows report it and leave the
// registry as they found it.
TEST_F(MainDialogTest, AnExtensionDeletedBehindTheDialogsBackIsReportedNotCrashedOn) {
    StoreExtension(L".wdcfgc", {L"c:\\wdcfg\\one"});
    ASSERT_TRUE(RegisterExtension(L".wdcfgc", true));
    OpenMain();
    HWND list = MainList();
    ASSERT_NE(FindListRow(list, L".wdcfgc"), -1);
    RemoveExtension(L".wdcfgc");
    SHDeleteKeyW(HKEY_CLASSES_ROOT, L".wdcfgc");

    // Editing shows no directories, and a directory added cannot reach the store.
    const std::wstring one = Folder(L"DirOne");
    int row = FindListRow(list, L".wdcfgc");
    SelectListRow(list, row);
    Click(main_, IDC_EDIT_EXTENSION);
    HWND edit = WaitForDialog(L"Wendrift: [.wdcfgc]");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(ListBoxCount(GetDlgItem(edit, IDC_DIRECTORY_LIST)), 0);
    PickFolder(edit, one);
    EXPECT_EQ(AnswerBox(kErrorCaption, IDOK).text, L"Failed to add directory to registry!");
    Click(edit, IDOK);
    ASSERT_TRUE(WaitUntilGone(edit));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_FALSE(ExtensionExists(L".wdcfgc"));

    // Removing it cannot unregister what is gone: the row stays, nothing is created.
    SelectListRow(list, row);
    Click(main_, IDC_REMOVE_EXTENSION);
    ASSERT_TRUE(AnswerBox(L"WendriftConfig : Removal Confirmation", IDYES).found);
    EXPECT_EQ(AnswerBox(kErrorCaption, IDOK).text,
              L"Failed to remove extension from registry!");
    EXPECT_NE(FindListRow(list, L".wdcfgc"), -1);
    EXPECT_FALSE(ClassKeyExists(L".wdcfgc"));
    EXPECT_FALSE(ExtensionExists(L".wdcfgc"));
    EXPECT_TRUE(CloseMain());
}
