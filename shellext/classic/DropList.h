// Reads the paths of a CF_HDROP block (a DROPFILES record followed by null-terminated paths and
// a final empty one) in one pass. DragQueryFileW walks the list from its start for every index,
// which makes a selection of 10,000 files cost most of a second before the menu shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Appends the block's paths in their order, each whole whatever its length (a cut path would
// name another file); 8-bit lists are converted from the ANSI code page. Reads nothing beyond
// block + bytes: a path that the block's end cuts off before its terminator is not delivered.
// Answers the number of paths appended (0 for an empty list or a malformed block).
size_t ReadDropList(const void* block, SIZE_T bytes, std::vector<std::wstring>& paths);

// The same for a locked CF_HDROP medium, bounded by GlobalSize.
size_t ReadDropList(HGLOBAL drop, std::vector<std::wstring>& paths);
