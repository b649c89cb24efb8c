#include "shellext/classic/MenuRecord.h"

unsigned long long MenuRecord::Available() const {
    unsigned long long next = static_cast<unsigned long long>(firstId_) + items_.size();
    return lastId_ >= next ? lastId_ - next + 1 : 0;
}

bool MenuRecord::Insert(HMENU menu, UINT position, const std::wstring& label, bool greyed,
                        HMENU submenu, UINT& commandId) {
    if (Available() == 0) return false;
    commandId = NextId();
    // Recorded before the insertion, so a failed allocation cannot leave an unrecorded item.
    items_.push_back(RecordedItem{commandId, menu, position, false});
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | (submenu != nullptr ? MIIM_SUBMENU : 0);
    info.fType = MFT_STRING;
    info.fState = greyed ? MFS_GRAYED : MFS_ENABLED;
    info.wID = commandId;
    info.hSubMenu = submenu;
    info.dwTypeData = const_cast<wchar_t*>(label.c_str());
    info.cch = static_cast<UINT>(label.size());
    items_.back().inserted = InsertMenuItemW(menu, position, TRUE, &info) != FALSE;
    return items_.back().inserted;
}

bool MenuRecord::InsertSeparator(HMENU menu, UINT position) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_SEPARATOR;
    return InsertMenuItemW(menu, position, TRUE, &info) != FALSE;
}

HRESULT MenuRecord::Answer() const {
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, static_cast<UINT>(items_.size()));
}
