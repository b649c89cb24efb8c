// A list-view control (a dialog item attached by subclassing) with the item operations the
// dialogs use, through the program-side ListViewItem record.
#pragma once

#include "winframe/BaseWindow.h"

#include <commctrl.h>

class IconList;

// Program-side list-view item, converted field by field to and from LVITEMW (which keeps lParam
// before iIndent). Pointer-sized fields keep their x64 width so item parameters survive whole.
struct ListViewItem {
    UINT mask = 0;
    int item = 0;
    int subItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    LPWSTR text = nullptr;
    int textMax = 0;
    int image = 0;
    int indent = 0;
    LPARAM lParam = 0;
};

class ListViewControl : public BaseWindow {
public:
    // Sets all extended styles at once; returns the previous ones.
    DWORD SetExtendedStyle(DWORD styles);
    bool InsertColumn(int index, const LVCOLUMNW* column);
    // The new index (also written into item->item), or -1.
    int InsertItem(ListViewItem* item);
    bool SetItem(const ListViewItem* item);
    // On success every field but textMax is copied back into `item`.
    bool GetItem(ListViewItem* item);
    bool DeleteItem(int index);
    int GetItemCount();
    int FindItem(int start, const LVFINDINFOW* findInfo);
    // kind: LVSIL_NORMAL (0), LVSIL_SMALL (1) or LVSIL_STATE (2).
    void SetImageList(const IconList& iconList, int kind);
};
