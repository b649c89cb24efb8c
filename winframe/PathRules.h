// What a path is made of, for every part of both programs: its separators, its root, the
// folder it lies in, its file name and extension, and whether it is usable as it stands.
#pragma once

#include <string>
#include <vector>

bool IsPathSeparator(wchar_t c);  // '\' or '/'

// A directory usable as it stands: a drive letter, colon and backslash (c:\...) or a share
// (\\server\share...). Anything else (relative dst, \dest, c:dest) would be resolved against
// whatever the host process's current directory happens to be.
bool IsAbsoluteDirectory(const std::wstring& directory);

// The drive or share a path lies on, as a folder path: "X:\" for X:\... and "\\server\share\"
// for \\server\share\... (also behind a "\\?\" prefix); empty for any other path.
std::wstring PathRoot(const std::wstring& path);

// The folder a path lies in, trailing separators of the path ignored: c:\photos for
// c:\photos\a.jpg, the root with its backslash for c:\a.jpg (a bare "c:" would mean that
// drive's current folder); empty for a root or a path without a separator.
std::wstring FolderOf(const std::wstring& path);

// The directory with a separator at its end (one is added only when it has none).
std::wstring WithSeparator(const std::wstring& directory);

// The text after the last backslash (or, without one, after the last '/'); empty when the path
// has no separator or ends in one.
std::wstring FileNameOf(const std::wstring& path);
// directory + one backslash (unless it already ends in '\' or '/') + name.
std::wstring JoinPath(const std::wstring& directory, const std::wstring& name);

// The text from the last '.' anywhere in the path to its end, dot included; empty without a
// dot. The whole path is searched, so a dot in a directory name counts (c:\my.files\readme
// has .files\readme): the shell's own rule for these menus, kept as it is.
std::wstring PathExtension(const std::wstring& path);
// The extension a selection is known by, for its menus, its picker and its associations: the
// first file's (PathExtension); empty for no files.
std::wstring SelectionExtension(const std::vector<std::wstring>& files);
