#include "ConfigUi.h"

#include <commctrl.h>

#include <vector>

HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs, bool anyProcess) {
    if (anyProcess) return WaitForWindow(L"#32770", caption, timeoutMs);
    return WaitForProcessWindow(GetCurrentProcessId(), L"#32770", caption, timeoutMs);
}

bool StaysOpen(HWND window, DWORD ms) {
    Sleep(ms);
    return IsWindow(window) && IsWindowVisible(window);
}

void ClickAndWait(HWND dialog, int id) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
}

void Settle(HWND dialog) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

void Type(HWND dialog, int id, const std::wstring& text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressEscape(HWND dialog) {
    // The dialog manager turns a key message for any of the dialog's windows into IDCANCEL.
    HWND target = GetWindow(dialog, GW_CHILD);
    if (target == nullptr) target = dialog;
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

MessageBoxSeen AnswerBox(const wchar_t* caption, int button, DWORD timeoutMs,
                         bool anyProcess) {
    MessageBoxSeen seen;
    HWND box = WaitForDialog(caption, timeoutMs, anyProcess);
    if (box == nullptr) return seen;
    seen.found = true;
    seen.text = MessageBoxText(box);
    seen.owner = GetWindow(box, GW_OWNER);
    Click(box, button);
    if (!WaitUntilGone(box, 3000)) {
        // A box without that button: close it with its only one so the test can go on.
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        WaitUntilGone(box, 3000);
        seen.found = false;
    }
    return seen;
}

int ListRowCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ListCell(HWND list, int index, int column) {
    wchar_t buffer[512] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int FindListRow(HWND list, const std::wstring& text) {
    int count = ListRowCount(list);
    for (int i = 0; i < count; ++i) {
        if (ListCell(list, i, 0) == text) return i;
    }
    return -1;
}

void SelectListRow(HWND list, int index) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

int ListBoxCount(HWND listBox) {
    return static_cast<int>(SendMessageW(listBox, LB_GETCOUNT, 0, 0));
}

std::wstring ListBoxLine(HWND listBox, int index) {
    int length = static_cast<int>(SendMessageW(listBox, LB_GETTEXTLEN, index, 0));
    if (length < 0) return L"";
    std::vector<wchar_t> buffer(length + 1);
    SendMessageW(listBox, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

void SelectListBoxLine(HWND listBox, int index) {
    SendMessageW(listBox, LB_SETCURSEL, index, 0);
}
