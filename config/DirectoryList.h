// The edit dialog's directories: full, lower-cased paths in the order of the list box's lines
// (line i shows entry i, compacted for display). Kept by full path, so two long paths that
// shorten to the same text stay two directories. In new mode it is the only place chosen
// directories live until they are saved, and they are saved in this order.
#pragma once

#include <string>
#include <vector>

using DirectoryList = std::vector<std::wstring>;

// Longest display text, in characters, that the list box shows for a directory.
constexpr unsigned kDirectoryDisplayChars = 51;

// PathCompactPathExW into at most kDirectoryDisplayChars characters; false when it fails.
bool CompactDirectoryForDisplay(const std::wstring& directory, std::wstring& display);
