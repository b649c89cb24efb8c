#include "winframe/ListBoxControl.h"

#include <vector>

int ListBoxControl::InsertString(int index, const wchar_t* text) {
    int answer = static_cast<int>(
        SendMsg(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
    if (answer == LB_ERR || answer == LB_ERRSPACE) {
        return -1;
    }
    return answer;
}

int ListBoxControl::DeleteString(int index) {
    return static_cast<int>(SendMsg(LB_DELETESTRING, static_cast<WPARAM>(index), 0));
}

int ListBoxControl::GetCurSel() {
    return static_cast<int>(SendMsg(LB_GETCURSEL, 0, 0));
}

int ListBoxControl::GetTextLen(int index) {
    return static_cast<int>(SendMsg(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
}

bool ListBoxControl::GetText(int index, std::wstring& text) {
    int length = GetTextLen(index);
    if (length < 0) {
        return false;
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    if (SendMsg(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data())) ==
        LB_ERR) {
        return false;
    }
    buffer[static_cast<size_t>(length)] = L'\0';
    text.assign(buffer.data());
    return true;
}
