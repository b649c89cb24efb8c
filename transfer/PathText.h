// Shortened texts for the transfer's messages and dialogs (the path rules: winframe/PathRules.h).
#pragma once

#include <string>

// The shell's shortened form of the text, at most budget - 1 characters; budget 0 keeps it.
std::wstring CompactText(const std::wstring& text, unsigned int budget);
