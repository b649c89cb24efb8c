// The wide printf dialect the system's texts rely on, the 4095-unit cut, and the small text
// helpers, run as real Windows code.
#include "winframe/TextHelpers.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatString, PercentSTakesAWideString) {
    std::wstring out;
    FormatString(out, L"[%s] %d", L"d:\\music\\r\u00f6ck", 7);
    EXPECT_EQ(out, L"[d:\\music\\r\u00f6ck] 7");
}

TEST(FormatString, I64TakesA64BitValue) {
    std::wstring out;
    FormatString(out, L"%I64d|%I64u|%I64d%%", -9000000000LL, 18446744073709551615ULL, 100LL);
    EXPECT_EQ(out, L"-9000000000|18446744073709551615|100%");
}

TEST(FormatString, TwoDecimalsAndPaddedClock) {
    std::wstring out;
    FormatString(out, L"%.02f %s/sec %02d:%02d:%02d", 1.5, L"MB", 1, 2, 5);
    EXPECT_EQ(out, L"1.50 MB/sec 01:02:05");
}

TEST(FormatString, OutputOf4095UnitsSurvivesWhole) {
    std::wstring long4095(4095, L'x');
    std::wstring out;
    FormatString(out, L"%s", long4095.c_str());
    EXPECT_EQ(out, long4095);
}

TEST(FormatString, LongerOutputIsCutAt4095Units) {
    for (size_t length : {4096u, 4097u, 10000u}) {
        std::wstring text(length, L'y');
        text[4094] = L'z';
        std::wstring out;
        FormatString(out, L"%s", text.c_str());
        ASSERT_EQ(out.size(), 4095u) << length;
        EXPECT_EQ(out.back(), L'z');
    }
}

TEST(FormatString, EmptyFormatGivesEmptyText) {
    std::wstring out = L"old";
    FormatString(out, L"");
    EXPECT_EQ(out, L"");
}

TEST(ToLower, FoldsOnlyAToZ) {
    std::wstring text = L"TXT .Mp3 C:\\\u00c4RGER\\Z@[`{";
    ToLower(text);
    EXPECT_EQ(text, L"txt .mp3 c:\\\u00c4rger\\z@[`{");
}

TEST(GetModuleDirectory, IsTheExecutablesFolderWithItsBackslash) {
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    std::wstring expected(path);
    expected.erase(expected.rfind(L'\\') + 1);

    std::wstring dir = L"unchanged";
    ASSERT_TRUE(GetModuleDirectory(dir));
    EXPECT_EQ(dir, expected);
    EXPECT_EQ(dir.back(), L'\\');
}

}  // namespace
