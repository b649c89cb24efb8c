// File names, joined paths and shortened texts for the transfer's messages and dialogs.
#pragma once

#include <string>

// The text after the last backslash (or, without one, after the last '/'); empty when the path
// has no separator or ends in one.
std::wstring FileNameOf(const std::wstring& path);
// directory + one backslash (unless it already ends in '\' or '/') + name.
std::wstring JoinPath(const std::wstring& directory, const std::wstring& name);
// The shell's shortened form of the text, at most budget - 1 characters; budget 0 keeps it.
std::wstring CompactText(const std::wstring& text, unsigned int budget);
