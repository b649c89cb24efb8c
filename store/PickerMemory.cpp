#include "store/PickerMemory.h"

#include "store/RegKey.h"
#include "winframe/TextHelpers.h"

#include "WendriftClassIds.h"  // kPickerKey

namespace {

const wchar_t kRememberValue[] = L"Remember";
const wchar_t kLastFoldersKey[] = L"\\Last folders";

// Registry value names compare without regard to case anyway; folding keeps one spelling.
std::wstring ValueNameFor(const std::wstring& extension) {
    std::wstring name = extension;
    ToLower(name);
    return name;
}

}  // namespace

bool RememberChecked() {
    RegKey key;
    DWORD value = 0;
    return key.Open(HKEY_CURRENT_USER, kPickerKey, false) && key.QueryDword(kRememberValue, value) &&
           value != 0;
}

bool SetRememberChecked(bool checked) {
    RegKey key;
    return key.Open(HKEY_CURRENT_USER, kPickerKey, true) &&
           key.SetDword(kRememberValue, checked ? 1 : 0);
}

std::wstring LastPickedFolder(const std::wstring& extension) {
    RegKey key;
    std::wstring folder;
    std::wstring name = ValueNameFor(extension);
    if (name.empty() ||
        !key.Open(HKEY_CURRENT_USER, std::wstring(kPickerKey) + kLastFoldersKey, false) ||
        !key.QueryString(name, folder)) {
        return std::wstring();
    }
    return folder;
}

bool SetLastPickedFolder(const std::wstring& extension, const std::wstring& folder) {
    RegKey key;
    std::wstring name = ValueNameFor(extension);
    return !name.empty() && !folder.empty() &&
           key.Open(HKEY_CURRENT_USER, std::wstring(kPickerKey) + kLastFoldersKey, true) &&
           key.SetString(name, folder);
}

bool ForgetPickerMemory() {
    RegKey key;
    if (!key.Open(HKEY_CURRENT_USER, kPickerKey, false)) return true;  // nothing to forget
    key.Close();
    return key.DeleteTree(HKEY_CURRENT_USER, kPickerKey);
}
