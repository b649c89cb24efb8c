// The edit dialog's directories: display text (the path compacted for the list box) to the full,
// lower-cased path, ordered by display text. In new mode it is the only place chosen
// directories live until they are saved, and they are saved in this order.
#pragma once

#include <map>
#include <string>

using DirectoryMap = std::map<std::wstring, std::wstring>;

// Longest display text, in characters, that the list box shows for a directory.
constexpr unsigned kDirectoryDisplayChars = 51;

// PathCompactPathExW into at most kDirectoryDisplayChars characters; false when it fails.
bool CompactDirectoryForDisplay(const std::wstring& directory, std::wstring& display);

// True when some entry holds exactly `directory` (already lower-cased) as its path.
bool MapHoldsDirectory(const DirectoryMap& directories, const std::wstring& directory);
