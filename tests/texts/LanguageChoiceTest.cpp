// Which language Wendrift speaks: the user's choice, its parent, the display languages in the
// order the user prefers them, English last; and the choice as the registry keeps it.
#include "LanguageValue.h"

#include "winframe/LanguageSetting.h"
#include "winframe/Languages.h"

#include <gtest/gtest.h>

namespace {

const LANGID kGerman = 0x0407, kFrench = 0x040C, kJapanese = 0x0411, kPortuguese = 0x0416,
             kChinese = 0x0804, kSpanish = 0x0C0A;

TEST(FindLanguage, TheTagOrItsNearestParent) {
    struct Case { const wchar_t* tag; LANGID language; };
    const Case cases[] = {
        {L"de", kGerman},      {L"de-DE", kGerman},     {L"de-AT", kGerman},
        {L"DE_ch", kGerman},   {L"de-CH-1996", kGerman}, {L"es-MX", kSpanish},
        {L"pt-BR", kPortuguese}, {L"pt-PT", kPortuguese}, {L"ja", kJapanese},
        {L"zh-CN", kChinese},  {L"zh-Hans-SG", kChinese}, {L"zh", kChinese},
        // Traditional Chinese readers get English rather than the simplified texts.
        {L"zh-TW", 0},         {L"zh-Hant", 0},          {L"zh-Hant-HK", 0},
        {L"nl-NL", 0},         {L"", 0},                 {L"-", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(FindLanguage(c.tag), c.language) << c.tag;
}

TEST(ResolveLanguage, TheSettingElseTheFirstDisplayLanguageSpokenElseEnglish) {
    struct Case { const wchar_t* setting; std::vector<std::wstring> display; LANGID language; };
    const Case cases[] = {
        {L"fr", {L"de-DE"}, kFrench},
        {L"xx-YY", {L"de-DE"}, kEnglish},  // an unknown choice is still a choice
        {L"", {L"nl-NL", L"de-DE", L"fr-FR"}, kGerman},
        {L"", {L"zh-TW", L"ja-JP"}, kJapanese},
        {L"", {L"nl-NL"}, kEnglish},
        {L"", {}, kEnglish},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResolveLanguage(c.setting, c.display), c.language) << c.setting;
    }
}

TEST(LanguageSetting, ReadWrittenAndRemovedAsTheRegistryKeepsIt) {
    LanguageValue none(nullptr);
    EXPECT_EQ(ReadLanguageSetting(), L"");
    // Wine's display language is English (United States).
    EXPECT_EQ(ChosenLanguage(), kEnglish);
    ASSERT_TRUE(WriteLanguageSetting(L"ja"));
    EXPECT_EQ(ReadLanguageSetting(), L"ja");
    EXPECT_EQ(ChosenLanguage(), kJapanese);
    ASSERT_TRUE(WriteLanguageSetting(L""));
    EXPECT_EQ(ReadLanguageSetting(), L"");
    EXPECT_TRUE(WriteLanguageSetting(L""));  // nothing left to remove is no failure
    LanguageValue german(L"de-AT");
    EXPECT_EQ(ChosenLanguage(), kGerman);
}

}  // namespace
