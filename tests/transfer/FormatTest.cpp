// The display texts of the transfer: shortened names, sizes in units, grouped numbers and the
// long dates of the replace confirmation, with the words of the text's language and the figures
// of the user's locale.
#include "transfer/FileDescription.h"
#include "transfer/NumberFormat.h"
#include "transfer/PathText.h"
#include "winframe/Languages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CompactText, KeepsShortTextsAndShortensLongOnesWithinTheBudget) {
    EXPECT_EQ(CompactText(L"song.mp3", 29), L"song.mp3");
    EXPECT_EQ(CompactText(L"anything at all", 0), L"anything at all");
    std::wstring longName = L"a very long file name that needs shortening.mp3";
    std::wstring shortened = CompactText(longName, 29);
    EXPECT_LE(shortened.size(), 28u);
    EXPECT_FALSE(shortened.empty());
    EXPECT_NE(shortened.find(L"..."), std::wstring::npos) << shortened;
}

TEST(DescribeSize, PicksTheFirstUnitBelow1024) {
    struct Case { long long bytes; int unit; const wchar_t* text; };
    const Case cases[] = {
        {0, 1, L"0 Bytes"},
        {512, 1, L"512 Bytes"},
        {1023, 1, L"1023 Bytes"},
        {1024, 2, L"1.00 KB"},
        {1536, 2, L"1.50 KB"},
        {1048575, 2, L"1024.00 KB"},  // just below 1 MiB: kb is 1023.999, rounded in the text
        {1048576, 3, L"1.00 MB"},
        {1572864, 3, L"1.50 MB"},
        {1073741824LL, 4, L"1.00 GB"},
        {1099511627776LL, 5, L"1.00 TB"},
        {1024LL * 1099511627776LL, 5, L"1024.00 TB"},  // past the table: stays in TB
        {3000LL * 1099511627776LL, 5, L"3000.00 TB"},
    };
    for (const Case& c : cases) {
        FileSizeInfo info;
        info.bytes = c.bytes;
        DescribeSize(info, kEnglish, L"en-US");
        EXPECT_EQ(info.unit, c.unit) << c.bytes;
        EXPECT_EQ(info.text, c.text) << c.bytes;
    }
}

// The unit is a word of the text's language, the figure the locale's.
TEST(DescribeSize, TakesTheUnitFromTheLanguageAndTheFigureFromTheLocale) {
    struct Case { const wchar_t* language; const wchar_t* locale; long long bytes; const wchar_t* text; };
    const Case cases[] = {
        {L"fr", L"fr-FR", 1536, L"1,50 Ko"},
        {L"fr", L"en-US", 1536, L"1.50 Ko"},
        {L"en", L"de-DE", 1536, L"1,50 KB"},
        {L"de", L"de-DE", 512, L"512 Bytes"},
        {L"ru", L"ru-RU", 1572864, L"1,50 МБ"},
    };
    for (const Case& c : cases) {
        FileSizeInfo info;
        info.bytes = c.bytes;
        DescribeSize(info, FindLanguage(c.language), c.locale);
        EXPECT_EQ(info.text, c.text) << c.language << " " << c.locale;
    }
}

TEST(DescribeSize, KeepsEveryUnitsValue) {
    FileSizeInfo info;
    info.bytes = 1572864;
    DescribeSize(info, kEnglish);
    EXPECT_DOUBLE_EQ(info.kb, 1536.0);
    EXPECT_DOUBLE_EQ(info.mb, 1.5);
    EXPECT_DOUBLE_EQ(info.gb, 1.5 / 1024);
}

SYSTEMTIME At(WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time = {};
    time.wYear = 2004;
    time.wMonth = 3;
    time.wDay = 1;
    time.wDayOfWeek = 1;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

TEST(LongTimeText, ReadsTheLocalesLongDateAndTime) {
    struct Case { const wchar_t* locale; WORD hour; const wchar_t* text; };
    const Case cases[] = {
        {L"en-US", 9, L"Monday, March 1, 2004 9:05:07 AM"},
        {L"en-US", 0, L"Monday, March 1, 2004 12:05:07 AM"},   // midnight
        {L"en-US", 12, L"Monday, March 1, 2004 12:05:07 PM"},  // noon
        {L"en-US", 13, L"Monday, March 1, 2004 1:05:07 PM"},
        {L"de-DE", 9, L"Montag, 1. M\u00e4rz 2004 09:05:07"},
        {L"de-DE", 13, L"Montag, 1. M\u00e4rz 2004 13:05:07"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LongTimeText(At(c.hour, 5, 7), c.locale), c.text) << c.locale << " " << c.hour;
    }
}

TEST(FormatGroupedNumber, GroupsByTheLocale) {
    struct Case { const wchar_t* locale; long long value; const wchar_t* text; };
    const Case cases[] = {
        {L"en-US", 1536, L"1,536"},
        {L"en-US", 999, L"999"},
        {L"en-US", 0, L"0"},
        {L"en-US", 1234567890123LL, L"1,234,567,890,123"},
        {L"de-DE", 9876543210LL, L"9.876.543.210"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGroupedNumber(c.value, c.locale), c.text) << c.locale << " " << c.value;
    }
    EXPECT_EQ(GetLocaleInt(LOCALE_SGROUPING, L"en-US"), 3);
}

TEST(FormatFigure, TwoDecimalsWithTheLocalesSeparatorAndNoGrouping) {
    EXPECT_EQ(FormatFigure(1023.994, L"en-US"), L"1023.99");
    EXPECT_EQ(FormatFigure(1023.994, L"de-DE"), L"1023,99");
    EXPECT_EQ(FormatFigure(0.5, L"en-US"), L"0.50");
}

TEST(ReadFileSizeAndTimes, DescribeARealFileAndRefuseWhatCannotBeOpened) {
    wchar_t directory[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, directory);
    std::wstring path = std::wstring(directory) + L"\\format-size.bin";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string bytes(1536, 'x');
    DWORD written = 0;
    WriteFile(file, bytes.data(), 1536, &written, nullptr);
    // 1 March 2004 09:05:07 local time, for both times.
    SYSTEMTIME local = At(9, 5, 7), utc;
    FILETIME localFile, utcFile;
    SystemTimeToFileTime(&local, &localFile);
    LocalFileTimeToFileTime(&localFile, &utcFile);
    ASSERT_TRUE(SetFileTime(file, &utcFile, nullptr, &utcFile));
    CloseHandle(file);
    (void)utc;

    FileSizeInfo size;
    // The test's Windows runs in English (United States).
    ASSERT_TRUE(ReadFileSize(path, size, kEnglish));
    EXPECT_EQ(size.bytes, 1536);
    EXPECT_EQ(size.text, L"1.50 KB");
    FileTimesInfo times;
    ASSERT_TRUE(ReadFileTimes(path, times));
    EXPECT_EQ(times.createdText, L"Monday, March 1, 2004 9:05:07 AM");
    EXPECT_EQ(times.modifiedText, L"Monday, March 1, 2004 9:05:07 AM");
    DeleteFileW(path.c_str());

    FileSizeInfo missingSize;
    FileTimesInfo missingTimes;
    EXPECT_FALSE(ReadFileSize(path, missingSize, kEnglish));
    EXPECT_FALSE(ReadFileTimes(path, missingTimes));
    EXPECT_TRUE(missingSize.text.empty());
    EXPECT_TRUE(missingTimes.createdText.empty());
    // A directory cannot be opened for reading this way.
    EXPECT_FALSE(ReadFileTimes(directory, missingTimes));
}

}  // namespace
