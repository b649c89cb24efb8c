// Whether two paths name one file: a second drive letter onto the same folder, a share of the
// local disk, a mapped path to the same server share, a hard link. Replacing such a target
// with its source would write the file over itself, or delete the only copy after a move.
#pragma once

#include <string>

// True when both paths open and report the same volume serial number and file index. Either
// one that cannot be opened is not the same file. A file system that numbers no files (an
// index of 0 on both) is judged by size and times instead.
bool IsSameFile(const std::wstring& first, const std::wstring& second);
