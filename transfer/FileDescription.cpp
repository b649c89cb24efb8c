#include "transfer/FileDescription.h"

#include "transfer/FileHandle.h"
#include "winframe/TextHelpers.h"

namespace {

constexpr double kOneKiB = 0.0009765625;  // 1/1024, exact in binary

bool LocalSystemTime(const FILETIME& utc, SYSTEMTIME& local) {
    FILETIME localFileTime;
    return FileTimeToLocalFileTime(&utc, &localFileTime) &&
           FileTimeToSystemTime(&localFileTime, &local);
}

}  // namespace

void DescribeSize(FileSizeInfo& info) {
    info.kb = static_cast<double>(static_cast<unsigned long long>(info.bytes)) * kOneKiB;
    info.mb = info.kb * kOneKiB;
    info.gb = info.mb * kOneKiB;
    info.tb = info.gb * kOneKiB;
    if (static_cast<unsigned long long>(info.bytes) < 1024) {
        info.unit = 1;
        FormatString(info.text, L"%I64u %s", info.bytes, L"Bytes");
    } else if (info.kb < 1024.0) {
        info.unit = 2;
        FormatString(info.text, L"%.02f %s", info.kb, L"KB");
    } else if (info.mb < 1024.0) {
        info.unit = 3;
        FormatString(info.text, L"%.02f %s", info.mb, L"MB");
    } else if (info.gb < 1024.0) {
        info.unit = 4;
        FormatString(info.text, L"%.02f %s", info.gb, L"GB");
    } else {
        // TB is the largest unit: 1024 TB and more still read in TB (1024.00 TB, 2048.00 TB).
        info.unit = 5;
        FormatString(info.text, L"%.02f %s", info.tb, L"TB");
    }
}

bool ReadFileSize(const std::wstring& path, FileSizeInfo& info) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    FileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    DWORD high = 0;
    DWORD low = GetFileSize(file.Get(), &high);
    info.bytes = static_cast<long long>((static_cast<unsigned long long>(high) << 32) | low);
    DescribeSize(info);
    return true;
}

std::wstring LongTimeText(const SYSTEMTIME& time) {
    // 12-hour clock: midnight is 12 AM, noon and every time after it PM.
    int hour = time.wHour % 12;
    if (hour == 0) hour = 12;
    const wchar_t* marker = time.wHour < 12 ? L"AM" : L"PM";
    std::wstring text;
    FormatString(text, L"%s, %s %d, %d %02d:%02d:%02d %s", DayName(time.wDayOfWeek).c_str(),
                 MonthName(time.wMonth).c_str(), time.wDay, time.wYear, hour, time.wMinute,
                 time.wSecond, marker);
    return text;
}

bool ReadFileTimes(const std::wstring& path, FileTimesInfo& info) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    FILETIME created, modified;
    if (!GetFileTime(file.Get(), &created, nullptr, &modified)) return false;
    if (!LocalSystemTime(created, info.created) || !LocalSystemTime(modified, info.modified)) {
        return false;
    }
    info.createdText = LongTimeText(info.created);
    info.modifiedText = LongTimeText(info.modified);
    return true;
}

std::wstring DayName(WORD dayOfWeek) {
    static const wchar_t* const kDays[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                           L"Thursday", L"Friday", L"Saturday"};
    return dayOfWeek < 7 ? kDays[dayOfWeek] : L"<invalid>";
}

std::wstring MonthName(WORD month) {
    static const wchar_t* const kMonths[] = {
        L"<invalid>", L"January", L"February", L"March",     L"April",   L"May",     L"June",
        L"July",      L"August",  L"September", L"October", L"November", L"December"};
    return month <= 12 ? kMonths[month] : L"<invalid>";
}
