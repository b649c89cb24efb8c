#include "winframe/ListViewControl.h"

#include "winframe/IconList.h"

namespace {

// Zero-filled first so that the fields the record does not carry (groups, columns) stay 0.
LVITEMW ToSystemItem(const ListViewItem& item) {
    LVITEMW system = {};
    system.mask = item.mask;
    system.iItem = item.item;
    system.iSubItem = item.subItem;
    system.state = item.state;
    system.stateMask = item.stateMask;
    system.pszText = item.text;
    system.cchTextMax = item.textMax;
    system.iImage = item.image;
    system.lParam = item.lParam;
    system.iIndent = item.indent;
    return system;
}

// The capacity is the caller's buffer size and is kept as it was.
void CopyBack(const LVITEMW& system, ListViewItem& item) {
    item.mask = system.mask;
    item.item = system.iItem;
    item.subItem = system.iSubItem;
    item.state = system.state;
    item.stateMask = system.stateMask;
    item.text = system.pszText;
    item.image = system.iImage;
    item.indent = system.iIndent;
    item.lParam = system.lParam;
}

}  // namespace

DWORD ListViewControl::SetExtendedStyle(DWORD styles) {
    return static_cast<DWORD>(SendMsg(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, styles));
}

bool ListViewControl::InsertColumn(int index, const LVCOLUMNW* column) {
    if (column == nullptr) {
        return false;
    }
    return SendMsg(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(column)) != -1;
}

int ListViewControl::InsertItem(ListViewItem* item) {
    if (item == nullptr) {
        return -1;
    }
    LVITEMW system = ToSystemItem(*item);
    int index = static_cast<int>(SendMsg(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&system)));
    if (index != -1) {
        item->item = index;
    }
    return index;
}

bool ListViewControl::SetItem(const ListViewItem* item) {
    if (item == nullptr) {
        return false;
    }
    LVITEMW system = ToSystemItem(*item);
    return SendMsg(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&system)) == 1;
}

bool ListViewControl::GetItem(ListViewItem* item) {
    if (item == nullptr) {
        return false;
    }
    LVITEMW system = ToSystemItem(*item);
    if (SendMsg(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&system)) != 1) {
        return false;
    }
    CopyBack(system, *item);
    return true;
}

bool ListViewControl::DeleteItem(int index) {
    return SendMsg(LVM_DELETEITEM, static_cast<WPARAM>(index), 0) != 0;
}

int ListViewControl::GetItemCount() {
    return static_cast<int>(SendMsg(LVM_GETITEMCOUNT, 0, 0));
}

int ListViewControl::FindItem(int start, const LVFINDINFOW* findInfo) {
    if (findInfo == nullptr) {
        return -1;
    }
    return static_cast<int>(
        SendMsg(LVM_FINDITEMW, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(findInfo)));
}

void ListViewControl::SetImageList(const IconList& iconList, int kind) {
    SendMsg(LVM_SETIMAGELIST, static_cast<WPARAM>(kind),
            reinterpret_cast<LPARAM>(iconList.Handle()));
}
