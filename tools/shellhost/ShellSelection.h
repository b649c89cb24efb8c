// The data object the shell hands a context-menu handler for a selection: each path is parsed
// into an item id list, bound to its parent folder, and the folder's IShellFolder::GetUIObjectOf
// makes the IDataObject (CF_HDROP included), as the file manager does for the items it shows.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

class ShellSelection {
public:
    ShellSelection() = default;
    ~ShellSelection();
    ShellSelection(const ShellSelection&) = delete;
    ShellSelection& operator=(const ShellSelection&) = delete;

    // Every path must exist and all must lie in one folder (a selection in one window).
    // On failure, Problem() says why.
    bool Create(const std::vector<std::wstring>& paths);
    // Every file of a folder, with the item ids the folder's own enumeration gives, as a file
    // manager window holds them before the user selects all. Parsing thousands of paths one by
    // one costs Wine a scan of the folder each; enumerating is one pass.
    bool CreateFromFolder(const std::wstring& folder);

    IDataObject* DataObject() const { return data_; }
    PCIDLIST_ABSOLUTE FolderId() const { return folderId_; }
    const std::wstring& Problem() const { return problem_; }

private:
    IDataObject* data_ = nullptr;
    PIDLIST_ABSOLUTE folderId_ = nullptr;
    std::wstring problem_;
};
