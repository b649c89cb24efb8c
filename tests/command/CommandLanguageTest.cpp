// The Windows 11 entries speak the classic menu's language: their titles are its submenu titles
// without the access key, read afresh each time Explorer asks.
#include "LanguageValue.h"

#include "shellext/win11/ExplorerCommand.h"

#include <gtest/gtest.h>

namespace {

std::wstring Title(IExplorerCommand& command) {
    LPWSTR text = nullptr;
    if (FAILED(command.GetTitle(nullptr, &text)) || text == nullptr) return L"<failed>";
    std::wstring title = text;
    CoTaskMemFree(text);
    return title;
}

TEST(CommandLanguage, TitlesFollowTheLanguageChosenEachTimeTheyAreAsked) {
    ExplorerCommand copy(true), move(false);
    struct Case { const wchar_t* setting; const wchar_t* copyTitle; const wchar_t* moveTitle; };
    const Case cases[] = {
        {L"de", L"Kopieren nach", L"Verschieben nach"},
        {L"ja", L"\u30b3\u30d4\u30fc\u5148", L"\u79fb\u52d5\u5148"},
        {L"ko", L"\ubcf5\uc0ac \uc704\uce58", L"\uc774\ub3d9 \uc704\uce58"},
        {L"xx", L"Copy To", L"Move To"},
        {nullptr, L"Copy To", L"Move To"},
    };
    for (const Case& c : cases) {
        LanguageValue language(c.setting);
        EXPECT_EQ(Title(copy), c.copyTitle);
        EXPECT_EQ(Title(move), c.moveTitle);
    }
}

}  // namespace
