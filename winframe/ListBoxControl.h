// A list-box control (a dialog item attached by subclassing) with its string operations.
#pragma once

#include "winframe/BaseWindow.h"

#include <string>

class ListBoxControl : public BaseWindow {
public:
    // The new index, or -1 for LB_ERR and LB_ERRSPACE alike.
    int InsertString(int index, const wchar_t* text);
    int DeleteString(int index);
    int GetCurSel();
    int GetTextLen(int index);
    // The item's text; false (text unchanged) when it cannot be read.
    bool GetText(int index, std::wstring& text);
    // The window-text reading of WindowObject stays available.
    using BaseWindow::GetText;
};
