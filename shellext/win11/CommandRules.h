// What the Windows 11 commands decide, without COM: which selections show the entries.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

// The item attributes the commands ask for, and whether they describe a file on disk: part of
// the file system and not a plain folder (an archive the shell browses as a folder still carries
// SFGAO_STREAM and counts as a file).
constexpr SFGAOF kFileItemAttributes = SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_STREAM;
bool IsFileSystemFile(SFGAOF attributes);

// ECS_ENABLED for files that all share one extension the store holds, ECS_HIDDEN for anything
// else: no names, mixed extensions, no extension, one without an association, or an item that
// is not a file-system file (allFiles false). `names` may be the items' names or full paths:
// the extension rule reads the end of each. extension receives the shared extension when the
// entries show, and is emptied otherwise.
EXPCMDSTATE CommandState(const std::vector<std::wstring>& names, bool allFiles,
                         std::wstring& extension);
