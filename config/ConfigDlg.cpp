#include "config/ConfigDlg.h"

#include "config/AboutDlg.h"
#include "config/ConfigResources.h"
#include "config/ExtensionModifyDlg.h"
#include "config/ExtensionText.h"
#include "config/FileTypeIcon.h"
#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"
#include "texts/TextIds.h"
#include "winframe/LanguageSetting.h"
#include "winframe/Languages.h"
#include "winframe/TextFit.h"
#include "winframe/TextHelpers.h"
#include "winframe/Texts.h"

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

namespace {

// Big enough for any extension: registry key names end at 255 characters.
constexpr int kRowTextChars = 260;

// The list's columns; widths in pixels at 100% scaling.
struct Column {
    UINT header;
    int width;
    int format;
};
const Column kColumns[] = {{IDS_COLUMN_EXTENSION, 100, LVCFMT_LEFT},
                           {IDS_COLUMN_DESCRIPTION, 175, LVCFMT_LEFT},
                           {IDS_COLUMN_DIRECTORIES, 200, LVCFMT_CENTER}};

const BaseDialog::ControlText kTexts[] = {
    {0, IDS_CONFIG_CAPTION},           {IDC_ABOUT, IDS_ABOUT_BUTTON},
    {IDC_ADD_EXTENSION, IDS_ADD_BUTTON}, {IDC_EDIT_EXTENSION, IDS_EDIT_BUTTON},
    {IDC_REMOVE_EXTENSION, IDS_REMOVE_BUTTON}, {IDOK, IDS_OK},
    {IDC_LANGUAGE_LABEL, IDS_LANGUAGE_LABEL}};

// Appends the type's icon at the list's size; its index, or -1.
int AppendTypeIcon(IconList& icons, const std::wstring& extension) {
    HICON icon = FileTypeIcon(extension, icons.Width());
    int index = icons.AddIcon(icon);
    if (index == -1 && icon != nullptr) DestroyIcon(icon);
    return index;
}

void TellShellAssociationsChanged() {
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace

ConfigDlg::~ConfigDlg() {
    // The window, which showed them, is gone by now.
    if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

int ConfigDlg::OnCreate(WPARAM, LPARAM) {
    TakeOverDialogDpiChanges(Handle());
    ShowTexts(kTexts);
    _FillLanguages();
    FitToTexts(Handle());
    scaler_.Capture(Handle());
    const UINT dpi = scaler_.Dpi();
    _SetWindowIcons(dpi);

    extensionList_.Attach(GetChild(IDC_EXTENSION_LIST));
    extensionList_.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    for (int i = 0; i < 3; ++i) {
        std::wstring header = Text(kColumns[i].header);
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = kColumns[i].format;
        column.cx = ScaleToDpi(kColumns[i].width, dpi);
        column.pszText = &header[0];
        extensionList_.InsertColumn(i, &column);
    }

    // The list stays the IconList's: see the member's comment.
    HWND list = extensionList_.Handle();
    SetWindowLongPtrW(list, GWL_STYLE, GetWindowLongPtrW(list, GWL_STYLE) | LVS_SHAREIMAGELISTS);
    if (!_LoadSmallIcons(dpi)) {
        Trace(L"ConfigDlg::OnCreate() : Failed to create image list.\n");
        return 0;
    }
    _LoadAssociations();
    return 0;
}

int ConfigDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    const UINT dpi = LOWORD(wParam);
    scaler_.Rescale(dpi, reinterpret_cast<const RECT*>(lParam));
    _SetWindowIcons(dpi);
    for (int i = 0; i < 3; ++i) {
        extensionList_.SendMsg(LVM_SETCOLUMNWIDTH, i, ScaleToDpi(kColumns[i].width, dpi));
    }
    _LoadSmallIcons(dpi);
    return TRUE;
}

void ConfigDlg::_SetWindowIcons(UINT dpi) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HICON iconBig = LoadIconAtSize(instance, MAKEINTRESOURCEW(IDI_PROGRAM),
                                   SystemMetricForDpi(SM_CXICON, dpi));
    HICON iconSmall = LoadIconAtSize(instance, MAKEINTRESOURCEW(IDI_PROGRAM),
                                     SystemMetricForDpi(SM_CXSMICON, dpi));
    SetBigIcon(iconBig);
    SetSmallIcon(iconSmall);
    // The window has let go of the previous pair.
    if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
    bigIcon_ = iconBig;
    smallIcon_ = iconSmall;
}

bool ConfigDlg::_LoadSmallIcons(UINT dpi) {
    const int size = SystemMetricForDpi(SM_CXSMICON, dpi);
    std::unique_ptr<IconList> icons(new IconList);
    if (!icons->Create(size, size, ILC_COLOR32 | ILC_MASK, 0, 1, nullptr)) return false;
    const int rows = extensionList_.GetItemCount();
    for (int i = 0; i < rows; ++i) {
        std::wstring extension;
        _ReadExtension(i, LVIF_TEXT, extension);
        ListViewItem row;
        row.mask = LVIF_IMAGE;
        row.item = i;
        row.image = AppendTypeIcon(*icons, extension);
        extensionList_.SetItem(&row);
    }
    extensionList_.SetImageList(*icons, LVSIL_SMALL);
    smallIcons_ = std::move(icons);
    return true;
}

// "Windows display language", then each language in its own words, the one in use selected.
void ConfigDlg::_FillLanguages() {
    HWND list = GetChild(IDC_LANGUAGE_LIST);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(IDS_DISPLAY_LANGUAGE).c_str()));
    const std::wstring setting = ReadLanguageSetting();
    const LANGID chosen = setting.empty() ? 0 : ResolveLanguage(setting, {});
    int selected = 0;
    for (const ::Language& language : Languages()) {
        const std::wstring name =
            LoadText(GetModuleHandleW(nullptr), language.id, IDS_LANGUAGE_NAME);
        int index = static_cast<int>(
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str())));
        if (language.id == chosen) selected = index;
    }
    SendMessageW(list, CB_SETCURSEL, selected, 0);
}

void ConfigDlg::_ChooseLanguage() {
    const int index = static_cast<int>(SendDlgItemMessageW(Handle(), IDC_LANGUAGE_LIST, CB_GETCURSEL, 0, 0));
    if (index < 0 || static_cast<size_t>(index) > Languages().size()) return;
    const std::wstring tag = index == 0 ? std::wstring() : Languages()[index - 1].tag;
    if (!WriteLanguageSetting(tag)) return;
    // The program opens this window again, in the language now chosen.
    languageChanged = true;
    EndDialog(0);
}

int ConfigDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_LANGUAGE_LIST) {
        if (HIWORD(wParam) == CBN_SELCHANGE) _ChooseLanguage();
        return 0;
    }
    // Escape (IDCANCEL) is deliberately ignored: only OK and the close box end the program.
    switch (LOWORD(wParam)) {
    case IDOK:
        // The dialog manager turns Enter into the default button's command before the list
        // view sees the key. Enter on the list activates its row, as a double-click does; it
        // must not end the program.
        if (GetFocus() == extensionList_.Handle()) {
            int selected = _GetSelectedItem();
            if (selected != -1) _EditExtension(selected);
            return 0;
        }
        return OnClose(wParam, lParam);
    case IDC_ADD_EXTENSION:
        _AddExtension();
        break;
    case IDC_EDIT_EXTENSION:
        _EditSelectedExtension();
        break;
    case IDC_REMOVE_EXTENSION:
        _RemoveExtension();
        break;
    case IDC_ABOUT:
        _ShowAbout();
        break;
    default:
        break;
    }
    return 0;
}

int ConfigDlg::OnClose(WPARAM, LPARAM) {
    EndDialog(0);
    return 0;
}

int ConfigDlg::OnNotify(WPARAM, LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->code == LVN_ITEMACTIVATE) {
        _EditExtension(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
    }
    return 0;
}

bool ConfigDlg::_PopulateListView(const std::wstring& extension) {
    SHFILEINFOW info = {};
    const std::wstring probe = FileTypeProbeName(extension);
    if (SHGetFileInfoW(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                       SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME) == 0) {
        Trace(L"ConfigDlg::_PopulateListView() : SHFileInfo() failed for file type [%s]: error: %d\n",
              extension.c_str(), static_cast<int>(GetLastError()));
        return false;
    }

    // Without an icon list (it could not be made) the row has no icon.
    int image = smallIcons_ != nullptr ? AppendTypeIcon(*smallIcons_, extension) : -1;

    std::wstring text = extension;
    ListViewItem row;
    row.mask = LVIF_TEXT | LVIF_IMAGE;
    row.item = 0;
    row.text = &text[0];
    row.image = image;
    int index = extensionList_.InsertItem(&row);

    ListViewItem typeName;
    typeName.mask = LVIF_TEXT;
    typeName.item = index;
    typeName.subItem = 1;
    typeName.text = info.szTypeName;
    extensionList_.SetItem(&typeName);

    _SetDirectoryCount(index, extension);
    return true;
}

bool ConfigDlg::_UpdateDirectoryCount(const std::wstring& extension) {
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = extension.c_str();
    find.vkDirection = VK_DOWN;
    int index = extensionList_.FindItem(-1, &find);
    if (index == -1) return false;
    return _SetDirectoryCount(index, extension);
}

// Column 2 of a row: the extension's directory count in the store, in decimal.
bool ConfigDlg::_SetDirectoryCount(int index, const std::wstring& extension) {
    std::wstring count;
    FormatString(count, L"%d", CountDirectories(extension));
    ListViewItem cell;
    cell.mask = LVIF_TEXT;
    cell.item = index;
    cell.subItem = 2;
    cell.text = &count[0];
    return extensionList_.SetItem(&cell);
}

int ConfigDlg::_GetSelectedItem() {
    int count = extensionList_.GetItemCount();
    for (int i = 0; i < count; ++i) {
        ListViewItem row;
        row.mask = LVIF_STATE;
        row.item = i;
        row.stateMask = LVIS_SELECTED;
        if (extensionList_.GetItem(&row) && (row.state & LVIS_SELECTED) != 0) return i;
    }
    return -1;
}

bool ConfigDlg::_ReadExtension(int index, UINT mask, std::wstring& extension) {
    wchar_t buffer[kRowTextChars] = {};
    ListViewItem row;
    row.mask = mask;
    row.item = index;
    row.text = buffer;
    row.textMax = kRowTextChars;
    if (!extensionList_.GetItem(&row)) return false;
    extension.assign(buffer);
    return true;
}

void ConfigDlg::_EditExtension(int index) {
    if (index == -1) {
        Message(IDS_CONFIG_INFO_CAPTION, MB_ICONINFORMATION, IDS_NO_EXTENSION_TO_EDIT);
        return;
    }
    std::wstring extension;
    _ReadExtension(index, LVIF_TEXT, extension);

    ExtensionModifyDlg dialog(false, extension);
    dialog.SetLanguage(Language());
    if (!dialog.DoModal(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_EXTENSION), Handle())) {
        Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_FAILED_TO_CREATE_DIALOG);
        return;
    }
    // The edited directories are already in the store: only the count needs refreshing.
    if (dialog.modified && !_UpdateDirectoryCount(extension)) {
        Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_LISTVIEW_UPDATE_FAILED);
    }
}

void ConfigDlg::_LoadAssociations() {
    std::vector<std::wstring> extensions;
    if (ListExtensions(extensions) > 0) {
        for (const std::wstring& extension : extensions) _PopulateListView(extension);
    }
}

void ConfigDlg::_AddExtension() {
    ExtensionModifyDlg dialog(true, L"");
    dialog.SetLanguage(Language());
    if (!dialog.DoModal(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_EXTENSION), Handle())) {
        Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_FAILED_TO_CREATE_DIALOG);
        return;
    }
    if (dialog.modified) {
        if (!_PopulateListView(dialog.extension)) {
            Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_LISTVIEW_ADD_FAILED);
        }
        TellShellAssociationsChanged();
    }
}

void ConfigDlg::_EditSelectedExtension() {
    if (extensionList_.GetItemCount() == 0) {
        Message(IDS_CONFIG_INFO_CAPTION, MB_ICONINFORMATION, IDS_NO_ITEMS_TO_EDIT);
        return;
    }
    _EditExtension(_GetSelectedItem());
}

void ConfigDlg::_RemoveExtension() {
    if (extensionList_.GetItemCount() == 0) {
        Message(IDS_CONFIG_INFO_CAPTION, MB_ICONINFORMATION, IDS_NO_ITEMS_TO_REMOVE);
        return;
    }
    int index = _GetSelectedItem();
    if (index == -1) {
        Message(IDS_CONFIG_INFO_CAPTION, MB_ICONINFORMATION, IDS_NO_EXTENSION_TO_REMOVE);
        return;
    }
    std::wstring extension;
    _ReadExtension(index, LVIF_TEXT | LVIF_IMAGE, extension);

    if (Message(IDS_REMOVAL_CAPTION, MB_YESNO | MB_ICONQUESTION, IDS_REMOVAL_QUESTION,
                extension.c_str()) != IDYES) {
        return;
    }
    // Unhook the shell first: a store entry without registration is harmless, the reverse
    // would leave the handler pointing at nothing.
    if (RegisterExtension(extension, false) && RemoveExtension(extension) &&
        extensionList_.DeleteItem(index)) {
        TellShellAssociationsChanged();
        return;
    }
    Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_REMOVAL_FAILED);
}

void ConfigDlg::_ShowAbout() {
    AboutDlg dialog;
    dialog.SetLanguage(Language());
    if (!dialog.DoModal(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), Handle())) {
        Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_FAILED_TO_CREATE_DIALOG);
    }
}
