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

    // The item's name within its folder, its full file-system path (its parsing name; empty
    // when the item is not in the file system) and the asked attributes. False for an item that
    // has no id list or whose folder cannot be bound or cannot describe it.
    bool Describe(IShellItem* item, SFGAOF asked, std::wstring& name, std::wstring& path,
                  SFGAOF& attributes);

private:
    bool Bind(PCIDLIST_ABSOLUTE item);
    void Forget();

    PIDLIST_ABSOLUTE parentId_ = nullptr;  // the bound folder's own id list
    IShellFolder* folder_ = nullptr;
};
