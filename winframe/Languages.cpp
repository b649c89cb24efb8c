#include "winframe/Languages.h"

#include "winframe/LanguageSetting.h"
#include "winframe/TextHelpers.h"

namespace {

std::wstring Folded(std::wstring tag) {
    for (wchar_t& c : tag) {
        if (c == L'_') c = L'-';
    }
    ToLower(tag);
    return tag;
}

// Tags a language answers for besides its own, folded: the simplified Chinese texts serve
// Chinese as such, and the Brazilian ones Portuguese as such.
bool Serves(const Language& language, const std::wstring& folded) {
    if (Folded(language.tag) == folded) return true;
    if (language.id == MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)) {
        return folded == L"zh" || folded == L"zh-hans" || folded == L"zh-sg";
    }
    if (language.id == MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN)) {
        return folded == L"pt";
    }
    return false;
}

bool IsTraditionalChinese(const std::wstring& folded) {
    if (folded.compare(0, 3, L"zh-") != 0) return false;
    for (const wchar_t* mark : {L"-hant", L"-tw", L"-hk", L"-mo"}) {
        size_t at = folded.find(mark);
        if (at != std::wstring::npos &&
            (at + wcslen(mark) == folded.size() || folded[at + wcslen(mark)] == L'-')) {
            return true;
        }
    }
    return false;
}

}  // namespace

const std::vector<Language>& Languages() {
    static const std::vector<Language> languages = {
        {L"en", kEnglish},
        {L"de", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)},
        {L"es", MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN)},
        {L"fr", MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)},
        {L"it", MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN)},
        {L"pt-BR", MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN)},
        {L"ru", MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA)},
        {L"ja", MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)},
        {L"ko", MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN)},
        {L"zh-CN", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)},
    };
    return languages;
}

LANGID FindLanguage(const std::wstring& tag) {
    std::wstring folded = Folded(tag);
    const bool traditional = IsTraditionalChinese(folded);
    while (!folded.empty()) {
        if (traditional && folded == L"zh") return 0;
        for (const Language& language : Languages()) {
            if (Serves(language, folded)) return language.id;
        }
        size_t dash = folded.find_last_of(L'-');
        if (dash == std::wstring::npos) break;
        folded.resize(dash);
    }
    return 0;
}

LANGID ResolveLanguage(const std::wstring& setting, const std::vector<std::wstring>& display) {
    if (!setting.empty()) {
        LANGID chosen = FindLanguage(setting);
        return chosen != 0 ? chosen : kEnglish;
    }
    for (const std::wstring& tag : display) {
        LANGID found = FindLanguage(tag);
        if (found != 0) return found;
    }
    return kEnglish;
}

std::vector<std::wstring> DisplayLanguages() {
    std::vector<std::wstring> tags;
    ULONG count = 0, units = 0;
    if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &units) && units > 0) {
        std::wstring list(units, L'\0');
        if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, &list[0], &units)) {
            for (size_t at = 0; at < list.size() && list[at] != L'\0';) {
                size_t end = list.find(L'\0', at);
                tags.push_back(list.substr(at, end - at));
                at = end + 1;
            }
        }
    }
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                         LOCALE_NAME_MAX_LENGTH, 0) > 0) {
        tags.push_back(name);
    }
    return tags;
}

LANGID ChosenLanguage() {
    try {
        const std::wstring setting = ReadLanguageSetting();
        if (!setting.empty()) return ResolveLanguage(setting, {});
        // Windows applies a new display language only from the next sign-in: once per process.
        static const LANGID display = ResolveLanguage(setting, DisplayLanguages());
        return display;
    } catch (...) {
        return kEnglish;  // out of memory: the fallback needs none
    }
}

std::wstring LanguageTag(LANGID language) {
    for (const Language& known : Languages()) {
        if (known.id == language) return known.tag;
    }
    return std::wstring();
}
