// The one owner of command identifiers while QueryContextMenu builds its menus: each item takes
// the next identifier as it is inserted, never one above the shell's last, and the answer to
// the shell is computed from what was taken, so the two can never disagree.
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
    // The identifiers idCmdFirst to idCmdLast, both included, are the shell's to give.
    MenuRecord(UINT firstId, UINT lastId) : firstId_(firstId), lastId_(lastId) {}

    // Inserts a text item by position, greyed or enabled, optionally opening a submenu. The
    // item's identifier is the next one and is taken whether or not the insertion works. With
    // no identifier left nothing is inserted or taken and the answer is false.
    bool Insert(HMENU menu, UINT position, const std::wstring& label, bool greyed, HMENU submenu,
                UINT& commandId);

    // A separator takes no identifier: the shell never invokes one.
    bool InsertSeparator(HMENU menu, UINT position);

    const std::vector<RecordedItem>& Items() const { return items_; }
    UINT NextId() const { return firstId_ + static_cast<UINT>(items_.size()); }
    // Identifiers still free, up to and including the last.
    unsigned long long Available() const;
    // QueryContextMenu's success code: the largest offset taken plus one, which is the number
    // of identifiers taken (0 when nothing was added). The shell starts the next handler's
    // identifiers there, so answering more would waste them and, with all identifiers taken,
    // claim one past idCmdLast.
    HRESULT Answer() const;

private:
    UINT firstId_;
    UINT lastId_;
    std::vector<RecordedItem> items_;
};
