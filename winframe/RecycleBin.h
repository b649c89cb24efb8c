// The Recycle Bin is a virtual folder a folder picker lets the user pick; files cannot be copied
// into it by path, so the folder rule (FolderRule.h) refuses it.
#pragma once

#include <windows.h>
#include <shlobj.h>

// True when `item` (an absolute item identifier list) is the Recycle Bin, compared by the
// desktop folder. False when the Recycle Bin or the desktop cannot be obtained: the test is
// then skipped.
bool IsRecycleBin(PCIDLIST_ABSOLUTE item);
