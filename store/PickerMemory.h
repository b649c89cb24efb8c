// What the "Other folder..." picker keeps for the next time, per user, beside the associations
// and never inside them (an extension key's values are its folders, so anything stored there
// would show up numbered in the menu): HKCU\Software\Wendrift\Picker holds "Remember"
// (REG_DWORD, the check box's last state) and, under "Last folders", one REG_SZ value per
// extension (the extension folded to lower case) whose data is the folder last picked for it.
#pragma once

#include <string>

// False until the box was first left ticked.
bool RememberChecked();
bool SetRememberChecked(bool checked);

// Empty when nothing was picked for the extension (letter case aside).
std::wstring LastPickedFolder(const std::wstring& extension);
bool SetLastPickedFolder(const std::wstring& extension, const std::wstring& folder);

// Removes everything above (the uninstall does).
bool ForgetPickerMemory();
