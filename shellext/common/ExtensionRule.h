// The rule that decides whether a selection gets menus: every path must share one extension.
#pragma once

#include <string>
#include <vector>

// False for an empty list; otherwise whether every path's extension equals the first one's
// (PathExtension) after folding A..Z to lower case (.mp3 and .MP3 are the same).
bool AllSameExtension(const std::vector<std::wstring>& paths);
