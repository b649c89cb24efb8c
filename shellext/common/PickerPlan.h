// What the "Other folder..." picker is told, decided without a window: its title, its check
// box and the folder it starts in.
#pragma once

#include <string>
#include <vector>

// "Copy a.jpg to" for one file, "Move 3 files to" for several.
std::wstring PickerTitle(bool isCopy, const std::vector<std::wstring>& files);

// "Remember this folder for .jpg files", the extension folded to lower case.
std::wstring RememberLabel(const std::wstring& extension);

// Where the picker may start, best first, absolute folders only: the folder last picked this
// way for the extension, the extension's first usable (absolute) folder, the selection's own
// folder. It starts in the first that is there (FirstFolderPresent), else where the platform
// does.
std::vector<std::wstring> StartCandidates(const std::wstring& lastPicked,
                                          const std::vector<std::wstring>& associated,
                                          const std::wstring& file);
