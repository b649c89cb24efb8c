// The display texts of the transfer: shortened names, sizes in
// units, grouped numbers and the English long date of the replace confirmation.
#include "transfer/FileDescription.h"
#include "transfer/NumberFormat.h"
#include "transfer/PathText.h"

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
        DescribeSize(info);
        EXPECT_EQ(info.unit, c.unit) << c.bytes;
        EXPECT_EQ(info.text, c.text) << c.bytes;
    }
}

TEST(DescribeSize, KeepsEveryUnitsValue) {
    FileSizeInfo info;
    info.bytes = 1572864;
    DescribeSize(info);
    EXPECT_DOUBLE_EQ(info.kb, 1536.0);
    EXPECT_DOUBLE_EQ(info.mb, 1.5);
    EXPECT_DOUBLE_EQ(info.gb, 1.5 / 1024);
}

TEST(DayAndMonthNames, FollowTheTablesAndRejectEverythingElse) {
    const wchar_t* days[] = {L"Sunday", L"Monday", L"Tuesday", L"Wednesday",
                             L"Thursday", L"Friday", L"Saturday"};
    for (WORD d = 0; d < 7; ++d) EXPECT_EQ(DayName(d), days[d]);
    for (WORD d : {7, 8, 12, 0xFFFF}) EXPECT_EQ(DayName(d), L"<invalid>") << d;
    const wchar_t* months[] = {L"<invalid>", L"January", L"February", L"March", L"April",
                               L"May", L"June", L"July", L"August", L"September",
                               L"October", L"November", L"December"};
    for (WORD m = 0; m <= 12; ++m) EXPECT_EQ(MonthName(m), months[m]);
    for (WORD m : {13, 100, 0xFFFF}) EXPECT_EQ(MonthName(m), L"<invalid>") << m;
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

TEST(LongTimeText, ReadsTwelveHourTimeWithNoonAsPm) {
    struct Case { WORD hour, minute, second; const wchar_t* text; };
    const Case cases[] = {
        {9, 5, 7, L"Monday, March 1, 2004 09:05:07 AM"},
        {0, 30, 0, L"Monday, March 1, 2004 12:30:00 AM"},   // midnight
        {11, 59, 59, L"Monday, March 1, 2004 11:59:59 AM"},
        {12, 30, 0, L"Monday, March 1, 2004 12:30:00 PM"},  // noon
        {13, 30, 0, L"Monday, March 1, 2004 01:30:00 PM"},
        {23, 0, 1, L"Monday, March 1, 2004 11:00:01 PM"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LongTimeText(At(c.hour, c.minute, c.second)), c.text) << c.hour;
    }
}

TEST(FormatGroupedNumber, GroupsByTheSystemLocale) {
    std::wstring separator = GetLocaleString(LOCALE_STHOUSAND);
    ASSERT_FALSE(separator.empty());
    EXPECT_EQ(GetLocaleInt(LOCALE_SGROUPING), 3);
    EXPECT_EQ(FormatGroupedNumber(1536), L"1" + separator + L"536");
    EXPECT_EQ(FormatGroupedNumber(999), L"999");
    EXPECT_EQ(FormatGroupedNumber(0), L"0");
    EXPECT_EQ(FormatGroupedNumber(1234567890123LL),
              L"1" + separator + L"234" + separator + L"567" + separator + L"890" + separator +
                  L"123");
    if (separator == L",") {
        EXPECT_EQ(FormatGroupedNumber(1536), L"1,536");
    }
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
    ASSERT_TRUE(ReadFileSize(path, size));
    EXPECT_EQ(size.bytes, 1536);
    EXPECT_EQ(size.text, L"1.50 KB");
    FileTimesInfo times;
    ASSERT_TRUE(ReadFileTimes(path, times));
    EXPECT_EQ(times.createdText, L"Monday, March 1, 2004 09:05:07 AM");
    EXPECT_EQ(times.modifiedText, L"Monday, March 1, 2004 09:05:07 AM");
    DeleteFileW(path.c_str());

    FileSizeInfo missingSize;
    FileTimesInfo missingTimes;
    EXPECT_FALSE(ReadFileSize(path, missingSize));
    EXPECT_FALSE(ReadFileTimes(path, missingTimes));
    EXPECT_TRUE(missingSize.text.empty());
    EXPECT_TRUE(missingTimes.createdText.empty());
    // A directory cannot be opened for reading this way.
    EXPECT_FALSE(ReadFileTimes(directory, missingTimes));
}

}  // namespace
