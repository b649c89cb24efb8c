// The folder that selected items lie in, bound once and asked about each of its items. Binding
// a folder walks its whole path from the desktop (under Wine it costs about three registry
// opens), while a bound folder answers an item's name and attributes from the item's own id
// list at almost no cost. The last folder stays bound, so the next right-click in the same
// folder binds nothing.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>

class ParentFolder {
public:
    ParentFolder() = default;
    ~ParentFolder();
    ParentFolder(const ParentFolder&) = delete;
    ParentFolder& operator=(const ParentFolder&) = delete;

    // The item's name within its folder (its parsing name), its full file-system path (empty
    // when it has none) and the asked attributes. False for an item that has no id list or whose
    // folder cannot be bound or cannot describe it.
    bool Describe(IShellItem* item, SFGAOF asked, std::wstring& name, std::wstring& path,
                  SFGAOF& attributes);

private:
    bool Bind(PCIDLIST_ABSOLUTE item);
    void Forget();

    PIDLIST_ABSOLUTE parentId_ = nullptr;  // the bound folder's own id list
    IShellFolder* folder_ = nullptr;
    std::wstring path_;  // the bound folder's file-system path, empty for a virtual folder
};

// The file-system path an id list stands for (as IShellItem::GetDisplayName(SIGDN_FILESYSPATH)
// gives it, at half its cost under Wine), any length; false when it has none.
bool FileSystemPath(PCIDLIST_ABSOLUTE id, std::wstring& path);
