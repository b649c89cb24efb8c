// What the "Other folder..." picker is told, decided without a window: its title, its check
// box and the folder it starts in.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// "Copy a.jpg to" for one file, "Move 3 files to" for several, in `language`.
std::wstring PickerTitle(bool isCopy, const std::vector<std::wstring>& files, LANGID language);

// "Remember this folder for .jpg files" (question: the same asked, for the folder browser),
// the extension folded to lower case.
std::wstring RememberLabel(const std::wstring& extension, LANGID language, bool question = false);

// Where the picker may start, best first, absolute folders only: the folder last picked this
// way for the extension, the extension's first usable (absolute) folder, the selection's own
// folder. It starts in the first that is there (FirstFolderPresent), else where the platform
// does.
std::vector<std::wstring> StartCandidates(const std::wstring& lastPicked,
                                          const std::vector<std::wstring>& associated,
                                          const std::wstring& file);
