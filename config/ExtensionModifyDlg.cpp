#include "config/ExtensionModifyDlg.h"

#include "config/ConfigResources.h"
#include "config/ExtensionText.h"
#include "config/FileTypeIcon.h"
#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"
#include "texts/TextIds.h"
#include "winframe/FolderPicker.h"
#include "winframe/TextFit.h"
#include "winframe/TextHelpers.h"

#include <shellapi.h>

#include <algorithm>

ExtensionModifyDlg::ExtensionModifyDlg(bool newMode, const std::wstring& extension)
    : extension(extension), newMode(newMode) {}

int ExtensionModifyDlg::OnCreate(WPARAM, LPARAM) {
    TakeOverDialogDpiChanges(Handle());
    scaler_.Capture(Handle());  // the DPI the icon is made for
    fileTypeGroup.Attach(GetChild(IDC_FILE_TYPE_GROUP));
    extensionEdit.Attach(GetChild(IDC_EXTENSION_EDIT));
    fileTypeIconControl.Attach(GetChild(IDC_FILE_TYPE_ICON));
    directoryList.Attach(GetChild(IDC_DIRECTORY_LIST));
    static const ControlText kTexts[] = {{IDC_DIRECTORIES_LABEL, IDS_DIRECTORIES_LABEL},
                                         {IDC_ADD_DIRECTORY, IDS_ADD_BUTTON},
                                         {IDC_REMOVE_DIRECTORY, IDS_REMOVE_BUTTON},
                                         {IDOK, IDS_OK}};
    ShowTexts(kTexts);

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
    // Laid out for the texts: that layout is what the scaler keeps for other monitors.
    FitToTexts(Handle());
    scaler_.Capture(Handle());
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
        Message(IDS_CONFIG_INFO_CAPTION, MB_ICONINFORMATION, IDS_ALREADY_ASSOCIATED,
                extension.c_str());
        return 0;
    }
    if (directories.empty() &&
        Message(IDS_NO_DIRECTORIES_CAPTION, MB_YESNO | MB_ICONQUESTION,
                IDS_NO_DIRECTORIES_QUESTION, extension.c_str()) == IDYES) {
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
    if (Message(IDS_SAVE_CHANGES_CAPTION, MB_YESNO | MB_ICONQUESTION, IDS_SAVE_CHANGES_QUESTION,
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
    const std::wstring none = Text(IDS_NONE);
    SetText(Format(IDS_EXTENSION_TITLE, extension.empty() ? none.c_str() : extension.c_str()));
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
        typeName = none;
    }
    fileTypeGroup.SetText(Format(IDS_FILE_TYPE_GROUP, typeName.c_str()));
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
    Message(IDS_CONFIG_INFO_CAPTION, MB_ICONINFORMATION, IDS_UNUSABLE_EXTENSION, extension.c_str());
    return false;
}

bool ExtensionModifyDlg::_Save() {
    if (extension.empty()) {
        Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_NO_EXTENSION_SUPPLIED);
        return false;
    }
    if (!_CheckUsableExtension()) return false;
    // The shell registration first: a stored extension the shell does not know would show
    // directories that no context menu ever offers.
    if (!RegisterExtension(extension, true) || !AddExtension(extension)) {
        Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_REGISTERING_FAILED);
        return false;
    }
    for (const std::wstring& directory : directories) {
        if (!AssociateDirectory(extension, directory)) {
            Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_ADDING_DIRECTORY_FAILED);
            return false;
        }
    }
    return true;
}

void ExtensionModifyDlg::_BrowseForDirectory() {
    FolderPick pick;
    pick.owner = Handle();
    pick.language = Language();
    pick.title = Format(IDS_CHOOSE_DIRECTORY, extension.c_str());
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
            Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_STORING_DIRECTORY_FAILED);
            return;
        }
    }
    if (!_AddDirectory(directory)) {
        Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_ADDING_DIRECTORY_FAILED);
    }
    modified = true;
}

void ExtensionModifyDlg::_ReportAlreadyAssociated(const std::wstring& directory) {
    Message(IDS_CONFIG_INFO_CAPTION, MB_ICONINFORMATION, IDS_DIRECTORY_ALREADY_ASSOCIATED,
            directory.c_str(), extension.c_str());
}

void ExtensionModifyDlg::_RemoveSelectedDirectory() {
    int selected = directoryList.GetCurSel();
    if (selected == LB_ERR) {
        Message(IDS_CONFIG_INFO_CAPTION, MB_ICONINFORMATION, IDS_NO_DIRECTORY_SELECTED);
        return;
    }
    // The line's position, not its text, names the directory: two lines may read alike.
    if (directoryList.DeleteString(selected) != LB_ERR && _RemoveDirectory(selected, !newMode)) {
        modified = true;
        return;
    }
    Message(IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR, IDS_REMOVING_DIRECTORY_FAILED);
}
