#include "store/LanguageSetting.h"

#include "store/RegKey.h"

const wchar_t kSettingsKey[] = L"Software\\Wendrift";
const wchar_t kLanguageValueName[] = L"Language";

std::wstring ReadLanguageSetting() {
    RegKey key;
    std::wstring tag;
    if (!key.Open(HKEY_CURRENT_USER, kSettingsKey, false) ||
        !key.QueryString(kLanguageValueName, tag)) {
        return std::wstring();
    }
    return tag;
}

bool WriteLanguageSetting(const std::wstring& tag) {
    RegKey key;
    if (tag.empty()) {
        if (!key.Open(HKEY_CURRENT_USER, kSettingsKey, false)) return true;  // nothing stored
        return key.DeleteValue(kLanguageValueName) || ReadLanguageSetting().empty();
    }
    return key.Open(HKEY_CURRENT_USER, kSettingsKey, true) &&
           key.SetString(kLanguageValueName, tag);
}
