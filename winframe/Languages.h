// The languages Wendrift speaks, and which one a menu, a transfer or a window uses: the user's
// choice (LanguageSetting.h) or, without one, the Windows display language; a tag
// Wendrift has no texts for falls back to its parent (de-AT to de), then to English.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct Language {
    const wchar_t* tag;  // as the configuration program stores it
    LANGID id;           // the string tables' LANGUAGE
};

constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// English first; the order the configuration program offers them in after it.
const std::vector<Language>& Languages();

// The tag's language, or of its nearest parent that has one (de-AT-1996, de-AT, de);
// letter case and "_" for "-" aside. 0 when none has: traditional Chinese (zh-TW, zh-Hant...)
// never falls back to the simplified texts.
LANGID FindLanguage(const std::wstring& tag);

// A non-empty setting: its language, else English. An empty one: the first of `display` (the
// display languages, most preferred first) that has a language, else English.
LANGID ResolveLanguage(const std::wstring& setting, const std::vector<std::wstring>& display);

// The user's Windows display languages: the preferred UI languages, then the default UI
// language.
std::vector<std::wstring> DisplayLanguages();

// The language of everything shown from now on: the setting read afresh on every call, the
// display languages once per process (Windows changes them only at the next sign-in). The
// setup and the uninstaller ask it too, through the library's export ChosenLanguageId.
LANGID ChosenLanguage();

// The tag of one of Languages(); empty for any other id.
std::wstring LanguageTag(LANGID language);
