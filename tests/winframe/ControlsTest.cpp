// The control wrappers and the window operations dialogs use: text, placement, list box, list
// view and icon list.
#include "winframe/BaseWindow.h"
#include "winframe/IconList.h"
#include "winframe/ListBoxControl.h"
#include "winframe/ListViewControl.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

HINSTANCE Self() {
    return GetModuleHandleW(nullptr);
}

// A visible top-level host at a known place for the child controls of one test.
class HostWindow {
public:
    HostWindow() {
        handle = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 100, 120, 400, 300,
                                 nullptr, nullptr, Self(), nullptr);
    }
    ~HostWindow() { DestroyWindow(handle); }
    HWND handle;
};

bool IconIsAlive(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) {
        return false;
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

HICON FreshIcon() {
    return CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
}

// Answers LB_INSERTSTRING the way a list box out of memory does.
LRESULT CALLBACK OutOfSpaceProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_INSERTSTRING) {
        return LB_ERRSPACE;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

}  // namespace

TEST(WindowText, GetTextReadsTheWholeTextAndLeavesTheStringAloneWhenEmpty) {
    HostWindow host;
    BaseWindow edit;
    ASSERT_NE(edit.Create(0, L"EDIT", L"", WS_CHILD, 0, 0, 100, 20, host.handle, nullptr, nullptr),
              nullptr);
    std::wstring text = L"untouched";
    EXPECT_FALSE(edit.GetText(text));
    EXPECT_EQ(text, L"untouched");

    const std::wstring longText(3000, L'\x00e9');
    EXPECT_TRUE(edit.SetText(longText));
    EXPECT_TRUE(edit.GetText(text));
    EXPECT_EQ(text, longText);

    BaseWindow unbound;
    EXPECT_FALSE(unbound.GetText(text));
    EXPECT_EQ(text, longText);
}

TEST(WindowPlacement, GetRectReportsParentClientCoordinatesForChildren) {
    HostWindow host;
    BaseWindow child;
    ASSERT_NE(child.Create(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 10, 20, 100, 30, host.handle,
                           nullptr, nullptr),
              nullptr);
    ChildRect rect;
    ASSERT_TRUE(child.GetRect(&rect));
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 110);
    EXPECT_EQ(rect.bottom, 50);
    EXPECT_EQ(rect.width, 100);
    EXPECT_EQ(rect.height, 30);
    // The host has no frame: its client origin is its screen position.
    EXPECT_EQ(rect.screen.left, 110);
    EXPECT_EQ(rect.screen.top, 140);
    EXPECT_EQ(rect.screen.right, 210);
    EXPECT_EQ(rect.screen.bottom, 170);

    EXPECT_TRUE(child.Move(5, 6, 70, 40, true));
    ASSERT_TRUE(child.GetRect(&rect));
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 6);
    EXPECT_EQ(rect.width, 70);
    EXPECT_EQ(rect.height, 40);
    EXPECT_FALSE(child.GetRect(nullptr));
}

TEST(WindowPlacement, GetRectReportsScreenCoordinatesForATopLevelWindowAndOwnerCoordinatesForOwned) {
    HostWindow host;
    BaseWindow topLevel;
    ASSERT_NE(topLevel.Create(0, L"STATIC", L"top", WS_POPUP, 30, 40, 120, 80, nullptr, nullptr,
                              nullptr),
              nullptr);
    ChildRect rect;
    ASSERT_TRUE(topLevel.GetRect(&rect));
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right, 150);
    EXPECT_EQ(rect.bottom, 120);
    EXPECT_EQ(rect.screen.left, 30);
    EXPECT_EQ(rect.width, 120);

    BaseWindow owned;
    ASSERT_NE(owned.Create(0, L"STATIC", L"owned", WS_POPUP, 150, 170, 50, 50, host.handle, nullptr,
                           nullptr),
              nullptr);
    ASSERT_TRUE(owned.GetRect(&rect));
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(rect.screen.left, 150);

    BaseWindow unbound;
    EXPECT_FALSE(unbound.GetRect(&rect));
    DestroyWindow(owned.Handle());
    DestroyWindow(topLevel.Handle());
}

TEST(WindowState, IconsFocusAndEnabling) {
    HostWindow host;
    BaseWindow frame;
    ASSERT_NE(frame.Create(0, L"STATIC", L"framed", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                           nullptr, nullptr),
              nullptr);
    HICON icon = LoadIconW(nullptr, IDI_INFORMATION);
    frame.SetBigIcon(icon);
    EXPECT_EQ(frame.GetBigIcon(), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(frame.SetSmallIcon(icon)), nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(frame.SendMsg(WM_GETICON, ICON_SMALL, 0)), icon);
    DestroyWindow(frame.Handle());

    BaseWindow first;
    BaseWindow second;
    ASSERT_NE(first.Create(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, host.handle,
                           reinterpret_cast<HMENU>(7), nullptr),
              nullptr);
    ASSERT_NE(second.Create(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 30, 50, 20, host.handle,
                            nullptr, nullptr),
              nullptr);
    SetForegroundWindow(host.handle);
    first.Focus();
    EXPECT_EQ(second.Focus(), first.Handle());
    EXPECT_EQ(GetFocus(), second.Handle());
    EXPECT_FALSE(first.Disable());  // was enabled
    EXPECT_FALSE(IsWindowEnabled(first.Handle()));

    BaseWindow hostObject;
    ASSERT_TRUE(hostObject.Attach(host.handle));
    EXPECT_EQ(hostObject.GetChild(7), first.Handle());
    EXPECT_EQ(hostObject.GetChild(8), nullptr);
}

TEST(ListBox, StringsRoundTripAndErrorsBecomeMinusOne) {
    HostWindow host;
    ListBoxControl list;
    ASSERT_NE(list.Create(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, host.handle,
                          nullptr, nullptr),
              nullptr);
    EXPECT_EQ(list.InsertString(-1, L"first"), 0);
    EXPECT_EQ(list.InsertString(-1, L"third"), 1);
    EXPECT_EQ(list.InsertString(1, L"second \x00fc"), 1);
    EXPECT_EQ(list.InsertString(9, L"beyond the end"), -1);  // LB_ERR
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    list.SendMsg(LB_SETCURSEL, 2, 0);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.GetTextLen(1), 8);

    std::wstring text = L"kept";
    EXPECT_TRUE(list.GetText(1, text));
    EXPECT_EQ(text, L"second \x00fc");
    text = L"kept";
    EXPECT_FALSE(list.GetText(7, text));
    EXPECT_EQ(text, L"kept");
    EXPECT_EQ(list.DeleteString(0), 2);  // count left
    EXPECT_TRUE(list.GetText(0, text));
    EXPECT_EQ(text, L"second \x00fc");
    // The window text reading is still there beside the item reading.
    EXPECT_TRUE(list.SetText(L"caption"));

    // LB_ERRSPACE from the procedure underneath is reported as -1 as well.
    HWND raw = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD, 0, 0, 100, 100, host.handle, nullptr,
                               Self(), nullptr);
    SetWindowLongPtrW(raw, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OutOfSpaceProc));
    ListBoxControl full;
    ASSERT_TRUE(full.Attach(raw));
    EXPECT_EQ(full.SendMsg(LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"x")), LB_ERRSPACE);
    EXPECT_EQ(full.InsertString(0, L"x"), -1);
}

TEST(ListView, ItemsRoundTripFieldByFieldIncludingIndentAndParameter) {
    InitCommonControls();
    HostWindow host;
    ListViewControl view;
    ASSERT_NE(view.Create(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300, 200,
                          host.handle, nullptr, nullptr),
              nullptr);
    EXPECT_FALSE(view.InsertColumn(0, nullptr));
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 120;
    column.pszText = const_cast<wchar_t*>(L"Name");
    EXPECT_TRUE(view.InsertColumn(0, &column));
    EXPECT_TRUE(view.InsertColumn(1, &column));

    view.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    EXPECT_EQ(view.SetExtendedStyle(LVS_EX_GRIDLINES), static_cast<DWORD>(LVS_EX_FULLROWSELECT));

    EXPECT_EQ(view.InsertItem(nullptr), -1);
    const LPARAM wideParam = static_cast<LPARAM>(0x1234567890ABLL);
    wchar_t name[] = L".mp3";
    ListViewItem item;
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_INDENT | LVIF_IMAGE;
    item.item = 5;  // beyond the end: the control appends and says where
    item.text = name;
    item.image = 3;
    item.indent = 2;
    item.lParam = wideParam;
    EXPECT_EQ(view.InsertItem(&item), 0);
    EXPECT_EQ(item.item, 0);
    ListViewItem front;
    front.mask = LVIF_TEXT | LVIF_PARAM;
    front.text = const_cast<wchar_t*>(L".txt");
    front.lParam = 77;
    EXPECT_EQ(view.InsertItem(&front), 0);
    EXPECT_EQ(view.GetItemCount(), 2);

    wchar_t buffer[64] = L"";
    ListViewItem read;
    read.mask = LVIF_TEXT | LVIF_PARAM | LVIF_INDENT | LVIF_IMAGE;
    read.item = 1;
    read.text = buffer;
    read.textMax = 64;
    ASSERT_TRUE(view.GetItem(&read));
    EXPECT_STREQ(read.text, L".mp3");
    EXPECT_EQ(read.image, 3);
    EXPECT_EQ(read.indent, 2);
    EXPECT_EQ(read.lParam, wideParam);
    EXPECT_EQ(read.textMax, 64);

    ListViewItem sub;
    sub.mask = LVIF_TEXT;
    sub.item = 1;
    sub.subItem = 1;
    sub.text = const_cast<wchar_t*>(L"2");
    EXPECT_TRUE(view.SetItem(&sub));
    ListViewItem change;
    change.mask = LVIF_INDENT | LVIF_PARAM;
    change.item = 1;
    change.indent = 4;
    change.lParam = 99;
    EXPECT_TRUE(view.SetItem(&change));
    read.subItem = 1;
    read.mask = LVIF_TEXT;
    ASSERT_TRUE(view.GetItem(&read));
    EXPECT_STREQ(read.text, L"2");
    read.subItem = 0;
    read.mask = LVIF_INDENT | LVIF_PARAM;
    ASSERT_TRUE(view.GetItem(&read));
    EXPECT_EQ(read.indent, 4);
    EXPECT_EQ(read.lParam, 99);

    LVFINDINFOW byParam = {};
    byParam.flags = LVFI_PARAM;
    byParam.lParam = 99;
    EXPECT_EQ(view.FindItem(-1, &byParam), 1);
    LVFINDINFOW byText = {};
    byText.flags = LVFI_STRING;
    byText.psz = L".txt";
    EXPECT_EQ(view.FindItem(-1, &byText), 0);
    byText.psz = L".none";
    EXPECT_EQ(view.FindItem(-1, &byText), -1);
    EXPECT_EQ(view.FindItem(-1, nullptr), -1);

    ListViewItem missing;
    missing.mask = LVIF_PARAM;
    missing.item = 9;
    missing.lParam = 5;
    EXPECT_FALSE(view.GetItem(&missing));
    EXPECT_EQ(missing.lParam, 5);
    EXPECT_FALSE(view.SetItem(&missing));
    EXPECT_FALSE(view.SetItem(nullptr));
    EXPECT_FALSE(view.GetItem(nullptr));

    EXPECT_TRUE(view.DeleteItem(0));
    EXPECT_FALSE(view.DeleteItem(5));
    EXPECT_EQ(view.GetItemCount(), 1);
}

TEST(IconListTest, AddIconDestroysTheIconOnlyWhenItWasAdded) {
    IconList icons;
    HICON notAdded = FreshIcon();
    EXPECT_EQ(icons.AddIcon(notAdded), -1);  // no list yet
    EXPECT_TRUE(IconIsAlive(notAdded));
    DestroyIcon(notAdded);

    ASSERT_TRUE(icons.Create(16, 16, ILC_MASK | ILC_COLOR32, 0, 1, nullptr));
    EXPECT_EQ(icons.Module(), Self());
    EXPECT_EQ(icons.Width(), 16);
    EXPECT_EQ(icons.Height(), 16);
    HICON first = FreshIcon();
    HICON second = FreshIcon();
    EXPECT_EQ(icons.AddIcon(first), 0);
    EXPECT_EQ(icons.AddIcon(second), 1);
    EXPECT_FALSE(IconIsAlive(first));
    EXPECT_FALSE(IconIsAlive(second));
    EXPECT_EQ(ImageList_GetImageCount(icons.Handle()), 2);

    IconList failed;
    EXPECT_FALSE(failed.Create(-5, -5, ILC_COLOR32, 0, 1, nullptr));
    EXPECT_EQ(failed.Handle(), nullptr);
}

TEST(IconListTest, AListViewSharingTheListShowsItsIcons) {
    HostWindow host;
    IconList icons;
    ASSERT_TRUE(icons.Create(16, 16, ILC_MASK | ILC_COLOR32, 0, 1, nullptr));
    ASSERT_EQ(icons.AddIcon(FreshIcon()), 0);
    {
        ListViewControl view;
        ASSERT_NE(view.Create(0, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0, 200,
                              100, host.handle, nullptr, nullptr),
                  nullptr);
        view.SetImageList(icons, LVSIL_SMALL);
        EXPECT_EQ(reinterpret_cast<HIMAGELIST>(view.SendMsg(LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
                  icons.Handle());
        DestroyWindow(view.Handle());
    }
    // The view shared the list: it is still ours and still holds the icon.
    EXPECT_EQ(ImageList_GetImageCount(icons.Handle()), 1);
}
