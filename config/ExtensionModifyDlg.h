// Defines a new extension association (new mode: nothing is written until it is saved) or
// changes the directories of a stored one (edit mode: every change reaches the store at once).
// The main dialog reads `modified` and `extension` after the dialog has ended.
#pragma once

#include "config/DirectoryList.h"
#include "winframe/BaseDialog.h"
#include "winframe/BaseWindow.h"
#include "winframe/DialogScaler.h"
#include "winframe/ListBoxControl.h"

#include <string>

class ExtensionModifyDlg : public BaseDialog {
public:
    // `extension` is empty in new mode; in edit mode it is the main list's row text.
    ExtensionModifyDlg(bool newMode, const std::wstring& extension);

    int OnCreate(WPARAM wParam, LPARAM lParam) override;
    int OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnClose(WPARAM wParam, LPARAM lParam) override;
    // On a monitor of another scale: the layout and the file type's icon follow.
    int OnDpiChanged(WPARAM wParam, LPARAM lParam) override;

    DirectoryList directories;
    BaseWindow fileTypeGroup;
    BaseWindow extensionEdit;
    BaseWindow fileTypeIconControl;
    ListBoxControl directoryList;
    HICON fileTypeIcon = nullptr;
    std::wstring extension;
    const bool newMode;
    bool modified = false;

private:
    void _UpdateTitle();
    bool _AddDirectory(const std::wstring& directory);
    // `line` is the list box line, which shows directories[line].
    bool _RemoveDirectory(int line, bool fromStore);
    bool _Save();

    int _OnOk(WPARAM wParam, LPARAM lParam);
    int _OnCancel(WPARAM wParam, LPARAM lParam);
    // Add...: the shared folder picker, then the duplicate checks and, in edit mode, the store.
    void _BrowseForDirectory();
    void _ReportAlreadyAssociated(const std::wstring& directory);
    void _RemoveSelectedDirectory();
    // Refuses (with a message) an extension that cannot name a registry key of its own.
    bool _CheckUsableExtension();
    void _ReleaseFileTypeIcon();

    // The stock question-mark icon is shared by the system and must not be destroyed.
    bool ownsFileTypeIcon_ = false;
    DialogScaler scaler_;
};
