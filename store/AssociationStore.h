// The per-user association store: for each file extension, the destination directories the
// user chose. Layout: HKCU\Software\Wendrift\Extensions\<extension>, one REG_SZ value with
// empty data per directory, the value name being the directory folded to lower case.
#pragma once

#include <string>
#include <vector>

extern const wchar_t kStoreBaseKey[];  // "Software\Wendrift\Extensions"

bool AddExtension(const std::wstring& extension);
bool RemoveExtension(const std::wstring& extension);
bool ExtensionExists(const std::wstring& extension);
int ListExtensions(std::vector<std::wstring>& extensions);

bool AssociateDirectory(const std::wstring& extension, const std::wstring& directory);
bool DisassociateDirectory(const std::wstring& extension, const std::wstring& directory);
int CountDirectories(const std::wstring& extension);
// Delivers the extension's directories one per call; the false answer ends the listing and
// starts the next one from the first directory again.
bool NextDirectory(const std::wstring& extension, std::wstring& directory);
// directory must already be folded to lower case.
bool IsDirectoryAssociated(const std::wstring& extension, const std::wstring& directory);
