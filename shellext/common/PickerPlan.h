// What the "Other folder..." picker is told, decided without a window: its title, its check
// box and the folder it starts in.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// "Copy a.jpg to" for one file, "Move 3 files to" for several, in `language`.
std::wstring PickerTitle(bool isCopy, const std::vector<std::wstring>& files, LANGID language);

// "Remember this folder for .jpg files" (question: the same asked, for the folder browser),
// the extension folded to lower case.
std::wstring RememberLabel(const std::wstring& extension, LANGID language, bool question = false);

// The folder the selected file lies in: c:\photos for c:\photos\a.jpg, c:\ for c:\a.jpg.
std::wstring SelectionFolder(const std::wstring& file);

// The first of these that is absolute and that `exists` accepts: the folder last picked this way for the extension,
// the extension's first usable (absolute) folder, the selection's own folder. Empty when none
// is: the picker then starts where the platform does.
std::wstring StartFolder(const std::wstring& lastPicked,
                         const std::vector<std::wstring>& associated, const std::wstring& file,
                         const std::function<bool(const std::wstring&)>& exists);
