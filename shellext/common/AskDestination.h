// "Other folder...": the question both menus ask before a transfer whose destination the user
// picks. The classic handler asks it on the shell's thread; the Windows 11 commands leave it to
// the process their transfer is handed to.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Shows the folder picker (owned by `owner`) for the selection, titled with what will happen,
// starting where PickerPlan.h says, with "Remember this folder for .x files" when the store
// holds the selection's extension. A folder chosen is kept as the extension's last pick; with
// the box ticked it is added to the extension's folders as the configuration program adds one
// (AddChosenDirectory), and the box's state is kept for next time. True with `destination`
// set when a folder was chosen; false on Cancel (nothing is written then).
bool AskForDestination(HWND owner, const std::vector<std::wstring>& files, bool isCopy,
                       std::wstring& destination);
