#include "shellext/MenuRecord.h"

bool MenuRecord::Insert(HMENU menu, UINT position, const std::wstring& label, bool greyed,
                        HMENU submenu, UINT& commandId) {
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

HRESULT MenuRecord::Answer() const {
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, NextId() - firstId_ + 1);
}
