#include "config/ExtensionModifyDlg.h"

#include "config/ConfigResources.h"
#include "config/ExtensionText.h"
#include "config/FileTypeIcon.h"
#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"
#include "winframe/FolderPicker.h"
#include "winframe/TextHelpers.h"

#include <shellapi.h>

#include <algorithm>

namespace {

const wchar_t kErrorCaption[] = L"WendriftConfig : ERROR";
const wchar_t kInfoCaption[] = L"WendriftConfig : Information";
}  // namespace

ExtensionModifyDlg::ExtensionModifyDlg(bool newMode, const std::wstring& extension)
    : extension(extension), newMode(newMode) {}

int ExtensionModifyDlg::OnCreate(WPARAM, LPARAM) {
    TakeOverDialogDpiChanges(Handle());
    scaler_.Capture(Handle());
    fileTypeGroup.Attach(GetChild(IDC_FILE_TYPE_GROUP));
    extensionEdit.Attach(GetChild(IDC_EXTENSION_EDIT));
    fileTypeIconControl.Attach(GetChild(IDC_FILE_TYPE_ICON));
    directoryList.Attach(GetChild(IDC_DIRECTORY_LIST));

    if (newMode) {
        // Raises EN_CHANGE, which makes `extension` ".new" at once.
        extensionEdit.SetText(L"new");
        extensionEdit.Focus();
        extensionEdit.SendMsg(EM_SETSEL, 0, -1);
    } else {
        extensionEdit.SetText(extension);
        extensionEdit.Disable();
        std::wstring directory;
        while (NextDirectory(extension, directory)) {
            if (!_AddDirectory(directory)) {
                Trace(L"ExtensionModifyDlg::OnCreate() : Failed to add directory %s to map/listbox\n",
                      directory.c_str());
            }
        }
    }
    _UpdateTitle();
    return 0;
}

int ExtensionModifyDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == EN_CHANGE) {
        std::wstring typed;
        extensionEdit.GetText(typed);
        extension = ExtensionFromTyped(typed);
        _UpdateTitle();
    }
    switch (LOWORD(wParam)) {
    case IDOK:
        return _OnOk(wParam, lParam);
    case IDCANCEL:
        return _OnCancel(wParam, lParam);
    case IDC_ADD_DIRECTORY:
        _BrowseForDirectory();
        break;
    case IDC_REMOVE_DIRECTORY:
        _RemoveSelectedDirectory();
        break;
    default:
        break;
    }
    return 0;
}

int ExtensionModifyDlg::OnClose(WPARAM, LPARAM) {
    _ReleaseFileTypeIcon();
    EndDialog(0);
    return 0;
}

int ExtensionModifyDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    scaler_.Rescale(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
    _UpdateTitle();
    return TRUE;
}

int ExtensionModifyDlg::_OnOk(WPARAM wParam, LPARAM lParam) {
    if (!newMode) return OnClose(wParam, lParam);

    // Checked before anything else so that a refused name never reaches the store's lookup or
    // the no-directories question.
    if (!_CheckUsableExtension()) return 0;
    if (ExtensionExists(extension)) {
        ShowFormattedMessage(Handle(), kInfoCaption, MB_ICONINFORMATION,
                             L"The extension [%s] is already associated with Wendrift.",
                             extension.c_str());
        return 0;
    }
    if (directories.empty() &&
        ShowFormattedMessage(Handle(), L"Wendrift : No directories associated",
                             MB_YESNO | MB_ICONQUESTION,
                             L"You have not associated any directories with the extension [%s]. "
                             L"Would you like to add it anyway?",
                             extension.c_str()) == IDYES) {
        modified = true;
    }
    if (!modified) return OnClose(wParam, lParam);
    if (_Save()) return OnClose(wParam, lParam);
    return 0;
}

int ExtensionModifyDlg::_OnCancel(WPARAM wParam, LPARAM lParam) {
    if (!modified || !newMode) {
        modified = false;
        return OnClose(wParam, lParam);
    }
    if (ShowFormattedMessage(Handle(), L"Wendrift : Save changes?", MB_YESNO | MB_ICONQUESTION,
                             L"You have made modifications to the extension [%s]. Would you like "
                             L"to save?",
                             extension.c_str()) == IDYES &&
        _Save()) {
        return OnClose(wParam, lParam);
    }
    // No keeps the dialog open with nothing saved.
    return 0;
}

void ExtensionModifyDlg::_ReleaseFileTypeIcon() {
    if (fileTypeIcon != nullptr && ownsFileTypeIcon_) DestroyIcon(fileTypeIcon);
    fileTypeIcon = nullptr;
    ownsFileTypeIcon_ = false;
}

void ExtensionModifyDlg::_UpdateTitle() {
    SetText(ExtensionDialogTitle(extension));
    _ReleaseFileTypeIcon();

    // A large icon for the monitor the dialog is on.
    const int iconSize = SystemMetricForDpi(SM_CXICON, scaler_.Dpi());
    std::wstring typeName;
    if (!extension.empty()) {
        SHFILEINFOW info = {};
        const std::wstring probe = FileTypeProbeName(extension);
        SHGetFileInfoW(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                       SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME);
        fileTypeIcon = FileTypeIcon(extension, iconSize);
        ownsFileTypeIcon_ = true;
        typeName = info.szTypeName;
    } else {
        // The shared stock icon has the system's size; another size is a copy of our own.
        ownsFileTypeIcon_ = iconSize != GetSystemMetrics(SM_CXICON);
        fileTypeIcon = ownsFileTypeIcon_ ? LoadIconAtSize(nullptr, IDI_QUESTION, iconSize)
                                         : LoadIconW(nullptr, IDI_QUESTION);
        typeName = L"<none>";
    }
    fileTypeGroup.SetText(L"File Type: " + typeName);
    fileTypeIconControl.SendMsg(STM_SETICON, reinterpret_cast<WPARAM>(fileTypeIcon), 0);
}

bool ExtensionModifyDlg::_AddDirectory(const std::wstring& directory) {
    std::wstring display;
    if (!CompactDirectoryForDisplay(directory, display)) return false;
    // LB_INSERTSTRING ignores the sort style: the list keeps the order of adding, so line i
    // stays directories[i].
    if (directoryList.InsertString(-1, display.c_str()) == -1) return false;
    directories.push_back(directory);
    return true;
}

bool ExtensionModifyDlg::_RemoveDirectory(int line, bool fromStore) {
    if (line < 0 || static_cast<size_t>(line) >= directories.size()) return false;
    auto entry = directories.begin() + line;
    bool removed = fromStore ? DisassociateDirectory(extension, *entry) : true;
    directories.erase(entry);
    return removed;
}

bool ExtensionModifyDlg::_CheckUsableExtension() {
    if (IsUsableExtension(extension)) return true;
    ShowFormattedMessage(Handle(), kInfoCaption, MB_ICONINFORMATION,
                         L"The extension [%s] cannot be used: a file extension cannot contain "
                         L"\\ / : * ? \" < > or |.",
                         extension.c_str());
    return false;
}

bool ExtensionModifyDlg::_Save() {
    if (extension.empty()) {
        ShowMessage(Handle(), L"Unable to write new settings; no extension supplied.",
                    kErrorCaption, MB_ICONERROR);
        return false;
    }
    if (!_CheckUsableExtension()) return false;
    // The shell registration first: a stored extension the shell does not know would show
    // directories that no context menu ever offers.
    if (!RegisterExtension(extension, true) || !AddExtension(extension)) {
        ShowMessage(Handle(), L"An error occurred while registering the file type!",
                    kErrorCaption, MB_ICONERROR);
        return false;
    }
    for (const std::wstring& directory : directories) {
        if (!AssociateDirectory(extension, directory)) {
            ShowMessage(Handle(), L"An error occurred while adding the directory!", kErrorCaption,
                        MB_ICONERROR);
            return false;
        }
    }
    return true;
}

void ExtensionModifyDlg::_BrowseForDirectory() {
    FolderPick pick;
    pick.owner = Handle();
    FormatString(pick.title, L"Choose a new directory to associate with the file type [%s]:",
                 extension.c_str());
    // The picker lets through only folders the store can keep.
    if (!PickFolder(pick)) return;
    std::wstring directory = pick.folder;
    ToLower(directory);
    if (std::find(directories.begin(), directories.end(), directory) != directories.end()) {
        _ReportAlreadyAssociated(directory);
        return;
    }
    if (newMode) {
        // Nothing reaches the store before the extension is saved.
        if (IsDirectoryAssociated(extension, directory)) {
            _ReportAlreadyAssociated(directory);
            return;
        }
    } else {
        switch (AddChosenDirectory(extension, directory)) {
        case AddedDirectory::Added:
            break;
        case AddedDirectory::AlreadyAssociated:
            _ReportAlreadyAssociated(directory);
            return;
        case AddedDirectory::Failed:
            ShowMessage(Handle(), L"Failed to add directory to registry!", kErrorCaption,
                        MB_ICONERROR);
            return;
        }
    }
    if (!_AddDirectory(directory)) {
        ShowMessage(Handle(), L"An error occurred while adding the directory!", kErrorCaption,
                    MB_ICONERROR);
    }
    modified = true;
}

void ExtensionModifyDlg::_ReportAlreadyAssociated(const std::wstring& directory) {
    ShowFormattedMessage(Handle(), kInfoCaption, MB_ICONINFORMATION,
                         L"The directory:\n\n%s\n\nis already associated with the file type "
                         L"[%s].",
                         directory.c_str(), extension.c_str());
}

void ExtensionModifyDlg::_RemoveSelectedDirectory() {
    int selected = directoryList.GetCurSel();
    if (selected == LB_ERR) {
        ShowMessage(Handle(), L"No directory is selected to remove.", kInfoCaption,
                    MB_ICONINFORMATION);
        return;
    }
    // The line's position, not its text, names the directory: two lines may read alike.
    if (directoryList.DeleteString(selected) != LB_ERR && _RemoveDirectory(selected, !newMode)) {
        modified = true;
        return;
    }
    ShowMessage(Handle(), L"Failed to remove associated directory!", kErrorCaption, MB_ICONERROR);
}
