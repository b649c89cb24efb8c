// The selection as the Windows 11 menu hands it to a command: an IShellItemArray.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

// The file-system paths of the items, in order. allFiles turns false, and the reading stops, at
// the first item that is not a file-system file (a folder, a virtual item) or whose path cannot
// be read. A null array reads as no items. False only when the array itself cannot be read.
bool ReadShellItems(IShellItemArray* items, std::vector<std::wstring>& paths, bool& allFiles);
