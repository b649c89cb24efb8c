// Size and date texts that describe a file in the replace confirmation: the words in the
// language of the texts, the figures and dates in the user's regional format.
#pragma once

#include "transfer/NumberFormat.h"

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
bool ReadFileSize(const std::wstring& path, FileSizeInfo& info, LANGID language);
// Fills the unit and text from info.bytes (the part of ReadFileSize that needs no file): "512
// Bytes", "1.50 KB".
void DescribeSize(FileSizeInfo& info, LANGID language, const wchar_t* locale = WENDRIFT_USER_LOCALE);
// False when the path does not exist or cannot be opened for reading (a directory, say).
bool ReadFileTimes(const std::wstring& path, FileTimesInfo& info);
// The locale's long date and its time: "Monday, March 1, 2004 9:05:07 AM" in the United
// States, "Montag, 1. März 2004 09:05:07" in Germany.
std::wstring LongTimeText(const SYSTEMTIME& time, const wchar_t* locale = WENDRIFT_USER_LOCALE);
