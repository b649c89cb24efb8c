// The per-user association store: for each file extension, the destination directories the
// user chose. Layout: HKCU\Software\Wendrift\Extensions\<extension>, one REG_SZ value with
// empty data per directory, the value name being the directory folded to lower case.
#pragma once

#include <string>
#include <vector>

#include "WendriftClassIds.h"  // kStoreBaseKey, written once in shellext/entry/ClassIds.cmake

bool AddExtension(const std::wstring& extension);
bool RemoveExtension(const std::wstring& extension);
bool ExtensionExists(const std::wstring& extension);
int ListExtensions(std::vector<std::wstring>& extensions);

// Refuses a directory that is not absolute (IsAbsoluteDirectory).
bool AssociateDirectory(const std::wstring& extension, const std::wstring& directory);
bool DisassociateDirectory(const std::wstring& extension, const std::wstring& directory);
// The directory listings pass over the extension key's default value (the empty name: no
// directory) and names too long to be read.
int CountDirectories(const std::wstring& extension);
// Delivers the extension's directories one per call; the false answer ends the listing and
// starts the next one from the first directory again.
bool NextDirectory(const std::wstring& extension, std::wstring& directory);
// All of the extension's directories in registry order, read with one open key and one
// listing, independent of the NextDirectory cursor. Answers the count: 0 when the key is
// missing or empty.
int ListDirectories(const std::wstring& extension, std::vector<std::wstring>& directories);
// directory must already be folded to lower case.
bool IsDirectoryAssociated(const std::wstring& extension, const std::wstring& directory);

// How a folder the user chose is added to a stored extension, wherever it was chosen: folded to
// lower case, written only when the extension does not list it yet (at the end of its folders).
enum class AddedDirectory { Added, AlreadyAssociated, Failed };
AddedDirectory AddChosenDirectory(const std::wstring& extension, const std::wstring& directory);
