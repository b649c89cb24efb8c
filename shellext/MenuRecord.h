// The one owner of command identifiers while QueryContextMenu builds its menus: each item takes
// the next identifier as it is inserted, and the answer to the shell is computed from what was
// taken, so the two can never disagree.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct RecordedItem {
    UINT commandId;
    HMENU menu;      // the menu the item went into
    UINT position;   // its position there
    bool inserted;   // false when InsertMenuItemW failed (the identifier stays taken)
};

class MenuRecord {
public:
    explicit MenuRecord(UINT firstId) : firstId_(firstId) {}

    // Inserts a text item by position, greyed or enabled, optionally opening a submenu. The
    // item's identifier is the next one and is taken whether or not the insertion works.
    bool Insert(HMENU menu, UINT position, const std::wstring& label, bool greyed, HMENU submenu,
                UINT& commandId);

    const std::vector<RecordedItem>& Items() const { return items_; }
    UINT NextId() const { return firstId_ + static_cast<UINT>(items_.size()); }
    // QueryContextMenu's success code: one more than the identifiers taken (the shell reserves
    // the extra one as well; kept because callers have always seen this value).
    HRESULT Answer() const;

private:
    UINT firstId_;
    std::vector<RecordedItem> items_;
};
