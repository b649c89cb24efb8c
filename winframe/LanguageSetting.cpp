#include "winframe/LanguageSetting.h"

#include "WendriftClassIds.h"  // kSettingsKey

#include <windows.h>

const wchar_t kLanguageValueName[] = L"Language";

namespace {

// A tag is a string; an administrator may have written it as an expandable one.
constexpr DWORD kStringTypes = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;

}  // namespace

std::wstring ReadLanguageSetting() {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, kLanguageValueName, kStringTypes, nullptr,
                     nullptr, &bytes) != ERROR_SUCCESS ||
        bytes < sizeof(wchar_t)) {
        return std::wstring();
    }
    // The call terminates what it reads, within the size it asked for.
    std::wstring tag(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, kLanguageValueName, kStringTypes, nullptr,
                     &tag[0], &bytes) != ERROR_SUCCESS) {
        return std::wstring();
    }
    tag.resize(wcsnlen(tag.c_str(), tag.size()));
    return tag;
}

bool WriteLanguageSetting(const std::wstring& tag) {
    if (tag.empty()) {
        const LONG removed = RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kLanguageValueName);
        return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;  // nothing stored
    }
    return RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kLanguageValueName, REG_SZ,
                           tag.c_str(),
                           static_cast<DWORD>((tag.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}
