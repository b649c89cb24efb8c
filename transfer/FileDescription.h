// Size and date texts that describe a file in the replace confirmation.
#pragma once

#include <windows.h>

#include <string>

struct FileSizeInfo {
    long long bytes = 0;
    double kb = 0.0;
    double mb = 0.0;
    double gb = 0.0;
    double tb = 0.0;
    int unit = 0;  // 1 Bytes, 2 KB, 3 MB, 4 GB, 5 TB
    std::wstring text;
};

struct FileTimesInfo {
    SYSTEMTIME created = {};
    SYSTEMTIME modified = {};
    std::wstring createdText;
    std::wstring modifiedText;
};

// False when the path does not exist or cannot be opened for its attributes.
bool ReadFileSize(const std::wstring& path, FileSizeInfo& info);
// Fills the unit and text from info.bytes (the part of ReadFileSize that needs no file).
void DescribeSize(FileSizeInfo& info);
// False when the path does not exist or cannot be opened for reading (a directory, say).
bool ReadFileTimes(const std::wstring& path, FileTimesInfo& info);
// "Monday, March 1, 2004 09:05:07 AM": English names, 12-hour clock.
std::wstring LongTimeText(const SYSTEMTIME& time);

// English names; "<invalid>" outside 0 (Sunday)..6 and 1 (January)..12.
std::wstring DayName(WORD dayOfWeek);
std::wstring MonthName(WORD month);
