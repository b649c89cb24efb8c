// The program's main window: every extension of the association store with the shell's icon and
// type name for it and its number of directories, and the Add, Edit, Remove and About flows.
// The list view's rows are the only in-memory view of the store.
#pragma once

#include "winframe/BaseDialog.h"
#include "winframe/DialogScaler.h"
#include "winframe/IconList.h"
#include "winframe/ListViewControl.h"

#include <memory>
#include <string>

class ConfigDlg : public BaseDialog {
public:
    ConfigDlg() = default;
    ~ConfigDlg() override;

    int OnCreate(WPARAM wParam, LPARAM lParam) override;
    int OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnClose(WPARAM wParam, LPARAM lParam) override;
    int OnNotify(WPARAM wParam, LPARAM lParam) override;
    // On a monitor of another scale: the layout, the window's icons, the columns and the rows'
    // icons follow.
    int OnDpiChanged(WPARAM wParam, LPARAM lParam) override;

    // Set when the user chose another language, which ended the dialog: the program opens it
    // again, in that language.
    bool languageChanged = false;

private:
    bool _PopulateListView(const std::wstring& extension);
    bool _UpdateDirectoryCount(const std::wstring& extension);
    bool _SetDirectoryCount(int index, const std::wstring& extension);
    int _GetSelectedItem();
    void _EditExtension(int index);
    void _LoadAssociations();

    void _AddExtension();
    void _EditSelectedExtension();
    void _RemoveExtension();
    void _ShowAbout();
    void _FillLanguages();
    void _ChooseLanguage();
    // Column 0 of the row, with `mask` as the read mask; false when the row cannot be read.
    bool _ReadExtension(int index, UINT mask, std::wstring& extension);
    // The program icon at the window's two icon sizes for `dpi`.
    void _SetWindowIcons(UINT dpi);
    // A new small-icon list at the size for `dpi`, holding every row's icon again; false (the
    // old list kept) when it cannot be made.
    bool _LoadSmallIcons(UINT dpi);

    ListViewControl extensionList_;
    // Owns the small-icon image list: the list view is switched to LVS_SHAREIMAGELISTS when the
    // list is handed to it, so it never destroys the list, and this member (destroyed with the
    // dialog object, after the window) destroys it exactly once. A list for another DPI
    // replaces it once the list view holds the new one.
    std::unique_ptr<IconList> smallIcons_;
    DialogScaler scaler_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
};
