// The string tables of the built library and program, read from the files as Windows reads
// them: every language has every English text, with the same placeholders in the same order
// and as many access keys, and the menu titles' keys tell the items apart.
#include "UiDriver.h"

#include "texts/TextIds.h"
#include "winframe/Texts.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// English, German, Spanish, French, Italian, Brazilian Portuguese, Russian, Japanese, Korean,
// simplified Chinese.
const std::set<LANGID> kLanguages = {0x0409, 0x0407, 0x0C0A, 0x040C, 0x0410,
                                     0x0416, 0x0419, 0x0411, 0x0412, 0x0804};

using Table = std::map<UINT, std::wstring>;

struct Tables {
    std::map<LANGID, Table> byLanguage;
};

BOOL CALLBACK AddLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR into) {
    auto& tables = *reinterpret_cast<Tables*>(into);
    HRSRC found = FindResourceExW(module, type, name, language);
    const auto* entry = static_cast<const WCHAR*>(LockResource(LoadResource(module, found)));
    const UINT first = (static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)) - 1) * 16;
    for (UINT i = 0; i < 16; ++i, entry += 1 + *entry) {
        if (*entry != 0) tables.byLanguage[language][first + i] = std::wstring(entry + 1, *entry);
    }
    return TRUE;
}

BOOL CALLBACK AddBlock(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR into) {
    EnumResourceLanguagesW(module, type, name, AddLanguage, into);
    return TRUE;
}

Tables ReadTables(const std::wstring& file) {
    Tables tables;
    HMODULE module = LoadLibraryExW((BuildDir() + file).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(module, nullptr) << "cannot read " << testing::PrintToString(file);
    if (module == nullptr) return tables;
    EnumResourceNamesW(module, RT_STRING, AddBlock, reinterpret_cast<LONG_PTR>(&tables));
    FreeLibrary(module);
    return tables;
}

// "%s", "%I64d", "%02d", "%%" ... in order.
std::vector<std::wstring> Placeholders(const std::wstring& text) {
    std::vector<std::wstring> found;
    for (size_t at = text.find(L'%'); at != std::wstring::npos; at = text.find(L'%', at)) {
        size_t end = text.find_first_of(L"%sdufxXc", at + 1);
        if (end == std::wstring::npos) break;
        found.push_back(text.substr(at, end - at + 1));
        at = end + 1;
    }
    return found;
}

// The characters an "&" marks; "&&" is a literal "&".
std::vector<wchar_t> AccessKeys(const std::wstring& text) {
    std::vector<wchar_t> keys;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') keys.push_back(static_cast<wchar_t>(towlower(text[i + 1])));
        ++i;
    }
    return keys;
}

class TextTables : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(TextTables, EveryLanguageHasEveryTextWithTheSamePlaceholdersAndKeys) {
    Tables tables = ReadTables(GetParam());
    std::set<LANGID> languages;
    for (const auto& language : tables.byLanguage) languages.insert(language.first);
    ASSERT_EQ(languages, kLanguages);
    const Table& english = tables.byLanguage.at(0x0409);
    ASSERT_GT(english.size(), 20u);
    for (const auto& language : tables.byLanguage) {
        for (const auto& text : english) {
            SCOPED_TRACE(testing::Message() << std::hex << language.first << std::dec << " text "
                                            << text.first);
            auto found = language.second.find(text.first);
            ASSERT_NE(found, language.second.end()) << "missing";
            EXPECT_EQ(Placeholders(found->second), Placeholders(text.second));
            EXPECT_EQ(AccessKeys(found->second).size(), AccessKeys(text.second).size());
        }
        EXPECT_EQ(language.second.size(), english.size()) << "texts English does not have";
    }
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, TextTables,
                         ::testing::Values(L"\\shellext\\Wendrift.dll",
                                           L"\\config\\WendriftConfig.exe"));

// Each submenu title has its own key, and "Other folder..." none the numbers 1 to 9 take.
TEST(MenuTexts, TitlesHaveDifferentKeysAndOtherFolderNoDigit) {
    Tables tables = ReadTables(L"\\shellext\\Wendrift.dll");
    for (const auto& language : tables.byLanguage) {
        SCOPED_TRACE(testing::Message() << std::hex << language.first);
        const Table& texts = language.second;
        ASSERT_EQ(AccessKeys(texts.at(IDS_COPY_TO)).size(), 1u);
        EXPECT_NE(AccessKeys(texts.at(IDS_COPY_TO)), AccessKeys(texts.at(IDS_MOVE_TO)));
        ASSERT_EQ(AccessKeys(texts.at(IDS_OTHER_FOLDER)).size(), 1u);
        EXPECT_FALSE(iswdigit(AccessKeys(texts.at(IDS_OTHER_FOLDER))[0]));
    }
}

// The progress dialog's one button that changes its text: Pause and Resume each keep a key of
// their own beside Cancel's.
TEST(ProgressTexts, PauseAndResumeTakeAKeyCancelDoesNot) {
    Tables tables = ReadTables(L"\\shellext\\Wendrift.dll");
    for (const auto& language : tables.byLanguage) {
        SCOPED_TRACE(testing::Message() << std::hex << language.first);
        const Table& texts = language.second;
        for (UINT id : {IDS_PAUSE, IDS_RESUME}) {
            ASSERT_EQ(AccessKeys(texts.at(id)).size(), 1u) << id;
            EXPECT_NE(AccessKeys(texts.at(id)), AccessKeys(texts.at(IDS_CANCEL))) << id;
        }
    }
}

TEST(MenuTexts, TitlesLoseTheirKeyAsWindows11ShowsThem) {
    EXPECT_EQ(WithoutAccessKey(L"Cop&y To"), L"Copy To");
    EXPECT_EQ(WithoutAccessKey(L"\u30b3\u30d4\u30fc\u5148(&Y)"), L"\u30b3\u30d4\u30fc\u5148");
    EXPECT_EQ(WithoutAccessKey(L"\ubcf5\uc0ac \uc704\uce58 (&Y)"), L"\ubcf5\uc0ac \uc704\uce58");
    EXPECT_EQ(WithoutAccessKey(L"R&&D (&x)"), L"R&D");
    EXPECT_EQ(WithoutAccessKey(L"R&&D"), L"R&D");
}

}  // namespace
