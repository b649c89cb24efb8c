#include "store/AssociationStore.h"

#include "store/RegKey.h"
#include "winframe/PathRules.h"
#include "winframe/TextHelpers.h"


namespace {
// False for a name that would address some other key than the extension's own: an empty name
// (the base key itself, so RemoveExtension would wipe every association) or one with a
// backslash (a key nested under another extension).
bool ExtensionKey(const std::wstring& extension, std::wstring& path) {
    if (!RegKey::IsSingleKeyName(extension)) return false;
    path = std::wstring(kStoreBaseKey) + L"\\" + extension;
    return true;
}

bool OpenExtension(RegKey& key, const std::wstring& extension, bool create) {
    std::wstring path;
    return ExtensionKey(extension, path) && key.Open(HKEY_CURRENT_USER, path, create);
}

// The key's default value (the empty name) is no directory.
bool NextDirectoryOf(RegKey& key, std::wstring& directory) {
    do {
        if (!key.NextValueName(directory)) return false;
    } while (directory.empty());
    return true;
}
}  // namespace

bool AddExtension(const std::wstring& extension) {
    RegKey key;
    return OpenExtension(key, extension, true);
}

bool RemoveExtension(const std::wstring& extension) {
    std::wstring path;
    if (!ExtensionKey(extension, path)) return false;
    RegKey key;
    return key.DeleteTree(HKEY_CURRENT_USER, path);
}

bool ExtensionExists(const std::wstring& extension) {
    RegKey key;
    return OpenExtension(key, extension, false);
}

int ListExtensions(std::vector<std::wstring>& extensions) {
    extensions.clear();
    RegKey key;
    if (!key.Open(HKEY_CURRENT_USER, kStoreBaseKey, false)) return 0;
    int count = 0;
    std::wstring name;
    while (key.NextSubkeyName(name)) {
        extensions.push_back(name);
        ++count;
    }
    return count;
}

bool AssociateDirectory(const std::wstring& extension, const std::wstring& directory) {
    // A name the listing cannot deliver again would end every later listing of the extension
    // early; an empty one would write the key's default value instead of a directory.
    if (!RegKey::IsListableValueName(directory) || !IsAbsoluteDirectory(directory)) return false;
    RegKey key;
    // Never creates the extension: AddExtension must have run first.
    if (!OpenExtension(key, extension, false)) return false;
    std::wstring folded = directory;
    ToLower(folded);
    return key.SetString(folded, std::wstring());
}

bool DisassociateDirectory(const std::wstring& extension, const std::wstring& directory) {
    RegKey key;
    return OpenExtension(key, extension, false) && key.DeleteValue(directory);
}

int CountDirectories(const std::wstring& extension) {
    RegKey key;
    if (!OpenExtension(key, extension, false)) return 0;
    int count = 0;
    std::wstring name;
    while (NextDirectoryOf(key, name)) ++count;
    return count;
}

bool NextDirectory(const std::wstring& extension, std::wstring& directory) {
    RegKey key;
    if (!OpenExtension(key, extension, false)) {
        // The key went away mid-listing (other software removed it): the listing is over.
        RegKey::ResetValueCursor();
        return false;
    }
    return NextDirectoryOf(key, directory);
}

int ListDirectories(const std::wstring& extension, std::vector<std::wstring>& directories) {
    directories.clear();
    RegKey key;
    if (!OpenExtension(key, extension, false)) return 0;
    std::wstring name;
    for (DWORD index = 0; key.ReadValueName(index, name) == ERROR_SUCCESS; ++index) {
        if (!name.empty()) directories.push_back(name);
    }
    return static_cast<int>(directories.size());
}

bool IsDirectoryAssociated(const std::wstring& extension, const std::wstring& directory) {
    std::wstring name;
    while (NextDirectory(extension, name)) {
        if (name == directory) {
            // Stopped early: the next listing must still start at the first directory.
            RegKey::ResetValueCursor();
            return true;
        }
    }
    return false;
}

AddedDirectory AddChosenDirectory(const std::wstring& extension, const std::wstring& directory) {
    std::wstring folded = directory;
    ToLower(folded);
    if (IsDirectoryAssociated(extension, folded)) return AddedDirectory::AlreadyAssociated;
    return AssociateDirectory(extension, folded) ? AddedDirectory::Added : AddedDirectory::Failed;
}

