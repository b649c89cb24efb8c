// How the extension typed in the edit dialog becomes the extension that is stored, and what the
// dialog shows for it.
#pragma once

#include <string>

// The typed text with a "." put in front unless it is empty or already begins with one. No
// other character is checked or changed: the edit box keeps what was typed.
std::wstring ExtensionFromTyped(const std::wstring& typed);

// An extension names a registry key under the store and under HKEY_CLASSES_ROOT: a character no
// file name can hold (\ / : * ? " < > |) would nest keys or name nothing a file can carry.
// Dots inside (.tar.gz) are fine.
bool IsUsableExtension(const std::wstring& extension);

// The name handed to the shell to learn an extension's file type: "Dummy" + extension. The file
// need not exist.
std::wstring FileTypeProbeName(const std::wstring& extension);
