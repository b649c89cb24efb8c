// The selection as the Windows 11 menu hands it to a command: an IShellItemArray.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

class ParentFolder;

// The file-system paths of the items, in order. False, with the paths read so far, at the first
// item without one (a virtual item) or when the array cannot be read. A null array reads as no
// items.
bool ReadItemPaths(IShellItemArray* items, std::vector<std::wstring>& paths);

// Each item's name within its folder and its full path, in order, through `folder` (which stays
// bound to the last folder for the next call), and whether every item is a file-system file
// (IsFileSystemFile). paths is left empty when any item has no file-system path. False at the
// first item the shell cannot describe. A null array reads as no items.
bool ReadItemNames(IShellItemArray* items, ParentFolder& folder, std::vector<std::wstring>& names,
                   std::vector<std::wstring>& paths, bool& allFiles);

// Whether every item is a file-system file rather than a folder (IsFileSystemFile).
bool AllFileItems(IShellItemArray* items);
