// The rule that decides whether a selection gets menus: every path must share one extension.
#pragma once

#include <string>
#include <vector>

// The text from the last '.' anywhere in the path to its end, dot included; empty without a
// dot. The whole path is searched, so a dot in a directory name counts (c:\my.files\readme
// has .files\readme): the shell's own rule for these menus, kept as it is.
std::wstring PathExtension(const std::wstring& path);

// False for an empty list; otherwise whether every path's extension equals the first one's
// after folding A..Z to lower case (.mp3 and .MP3 are the same).
bool AllSameExtension(const std::vector<std::wstring>& paths);
