#include "FolderPickerDriver.h"

#include "UiDriver.h"

#include <commctrl.h>
#include <shlobj.h>

namespace {

// Wine 8's template for the modern dialog: the name box is an edit control with this id.
constexpr int kNameBoxId = 1152;
const wchar_t kFileDialogServer[] =
    L"CLSID\\{DC1C5A9C-E88A-4dde-A5A1-60F82A20AEF7}\\InprocServer32";

std::wstring ReadServer() {
    wchar_t data[MAX_PATH] = {};
    DWORD bytes = sizeof(data) - sizeof(wchar_t);
    RegGetValueW(HKEY_CLASSES_ROOT, kFileDialogServer, nullptr, RRF_RT_REG_SZ, nullptr, data,
                 &bytes);
    return data;
}

void WriteServer(const std::wstring& path) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, kFileDialogServer, nullptr, REG_SZ, path.c_str(),
                    static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

BOOL CALLBACK FindCheckBox(HWND child, LPARAM found) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    LONG_PTR type = GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
    if (lstrcmpiW(className, L"Button") != 0 || (type != BS_AUTOCHECKBOX && type != BS_CHECKBOX)) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

HTREEITEM TreeChild(HWND tree, HTREEITEM item, UINT which) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, which, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

HWND WaitForFolderDialog(const std::wstring& title, DWORD timeoutMs) {
    return WaitForWindow(L"#32770", title.c_str(), timeoutMs);
}

void ChooseInFolderDialog(HWND dialog, const std::wstring& folder) {
    SendMessageW(GetDlgItem(dialog, kNameBoxId), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(folder.c_str()));
    PostCommand(dialog, IDOK);
}

HWND FolderDialogCheckBox(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(dialog, FindCheckBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<std::wstring> FolderDialogListing(HWND dialog) {
    std::vector<std::wstring> names;
    HWND browser = FindWindowExW(dialog, nullptr, L"ExplorerBrowserControl", nullptr);
    HWND view = FindWindowExW(FindWindowExW(browser, nullptr, L"SHELLDLL_DefView", nullptr),
                              nullptr, L"SysListView32", nullptr);
    int count = static_cast<int>(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        LVITEMW item = {};
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(view, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        names.push_back(text);
    }
    return names;
}

WithoutModernFolderDialog::WithoutModernFolderDialog()
    : server_(ReadServer()),
      undo_(L"modern-folder-dialog", L"wine reg add 'HKCR\\" + std::wstring(kFileDialogServer) +
                                         L"' /ve /d '" + server_ + L"' /f") {
    WriteServer(L"C:\\windows\\system32\\wd-no-file-dialog.dll");
}

WithoutModernFolderDialog::~WithoutModernFolderDialog() { WriteServer(server_); }

std::wstring ShellFolderName(int csidl) {
    PIDLIST_ABSOLUTE id = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &id))) return std::wstring();
    SHFILEINFOW info = {};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(id), 0, &info, sizeof(info),
                   SHGFI_PIDL | SHGFI_DISPLAYNAME);
    CoTaskMemFree(id);
    return info.szDisplayName;
}

bool ChooseShellFolderInBrowser(HWND browser, int csidl) {
    const std::wstring name = ShellFolderName(csidl);
    if (name.empty()) return false;
    // Shell folders sit right below the tree's root (the desktop): selected as a click would.
    HWND tree = FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
    for (HTREEITEM child = TreeChild(tree, TreeChild(tree, nullptr, TVGN_ROOT), TVGN_CHILD);
         child != nullptr; child = TreeChild(tree, child, TVGN_NEXT)) {
        wchar_t text[MAX_PATH] = {};
        TVITEMW item = {};
        item.mask = TVIF_TEXT;
        item.hItem = child;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        if (name == text) {
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
            PostCommand(browser, IDOK);
            return true;
        }
    }
    return false;
}

bool ChooseFolderInBrowser(HWND browser, const std::wstring& path) {
    // The browser shows the selected folder's name in its edit box. It may still be settling
    // on its first selection when it becomes visible: select until it shows ours.
    HWND edit = FindWindowExW(browser, nullptr, L"Edit", nullptr);
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    for (int attempt = 0; attempt < 50; ++attempt) {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        Sleep(20);
        if (lstrcmpiW(WindowText(edit).c_str(), name.c_str()) == 0) {
            PostCommand(browser, IDOK);
            return true;
        }
    }
    return false;
}
