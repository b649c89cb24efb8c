#include "store/AssociationStore.h"

#include "store/RegKey.h"
#include "winframe/TextHelpers.h"

const wchar_t kStoreBaseKey[] = L"Software\\Wendrift\\Extensions";

namespace {
std::wstring ExtensionKey(const std::wstring& extension) {
    return std::wstring(kStoreBaseKey) + L"\\" + extension;
}
}  // namespace

bool AddExtension(const std::wstring& extension) {
    RegKey key;
    return key.Open(HKEY_CURRENT_USER, ExtensionKey(extension), true);
}

bool RemoveExtension(const std::wstring& extension) {
    RegKey key;
    return key.DeleteTree(HKEY_CURRENT_USER, ExtensionKey(extension));
}

bool ExtensionExists(const std::wstring& extension) {
    RegKey key;
    return key.Open(HKEY_CURRENT_USER, ExtensionKey(extension), false);
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
    RegKey key;
    // Never creates the extension: AddExtension must have run first.
    if (!key.Open(HKEY_CURRENT_USER, ExtensionKey(extension), false)) return false;
    std::wstring folded = directory;
    ToLower(folded);
    return key.SetString(folded, std::wstring());
}

bool DisassociateDirectory(const std::wstring& extension, const std::wstring& directory) {
    RegKey key;
    return key.Open(HKEY_CURRENT_USER, ExtensionKey(extension), false) &&
           key.DeleteValue(directory);
}

int CountDirectories(const std::wstring& extension) {
    RegKey key;
    if (!key.Open(HKEY_CURRENT_USER, ExtensionKey(extension), false)) return 0;
    int count = 0;
    std::wstring name;
    while (key.NextValueName(name)) ++count;
    return count;
}

bool NextDirectory(const std::wstring& extension, std::wstring& directory) {
    RegKey key;
    if (!key.Open(HKEY_CURRENT_USER, ExtensionKey(extension), false)) {
        // The key went away mid-listing (other software removed it): the listing is over.
        RegKey::ResetValueCursor();
        return false;
    }
    return key.NextValueName(directory);
}

bool IsDirectoryAssociated(const std::wstring& extension, const std::wstring& directory) {
    std::wstring name;
    bool found = false;
    // Runs the listing to its end even after a match, so the next listing starts afresh.
    while (NextDirectory(extension, name)) {
        if (name == directory) found = true;
    }
    return found;
}
