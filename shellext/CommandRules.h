// What the Windows 11 commands decide, without COM: which selections show the entries.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <functional>
#include <string>
#include <vector>

// The item attributes the commands ask for, and whether they describe a file on disk: part of
// the file system and not a plain folder (an archive the shell browses as a folder still carries
// SFGAO_STREAM and counts as a file).
constexpr SFGAOF kFileItemAttributes = SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_STREAM;
bool IsFileSystemFile(SFGAOF attributes);

// ECS_ENABLED for files that all share one extension the store holds, ECS_HIDDEN for anything
// else: no paths, mixed extensions, no extension, one without an association, or an item that
// is not a file-system file (allFiles answers false). allFiles is asked last, only for a
// selection that would show: most right-clicks are on files of no associated extension, and
// asking the shell about the items costs more than the store's one lookup. extension receives
// the shared extension when the entries show, and is emptied otherwise.
EXPCMDSTATE CommandState(const std::vector<std::wstring>& paths,
                         const std::function<bool()>& allFiles, std::wstring& extension);
