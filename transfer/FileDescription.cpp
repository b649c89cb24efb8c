#include "transfer/FileDescription.h"

#include "transfer/FileHandle.h"
#include "texts/TextIds.h"
#include "winframe/TextHelpers.h"
#include "winframe/Texts.h"

namespace {

constexpr double kOneKiB = 0.0009765625;  // 1/1024, exact in binary

bool LocalSystemTime(const FILETIME& utc, SYSTEMTIME& local) {
    FILETIME localFileTime;
    return FileTimeToLocalFileTime(&utc, &localFileTime) &&
           FileTimeToSystemTime(&localFileTime, &local);
}

}  // namespace

void DescribeSize(FileSizeInfo& info, LANGID language, const wchar_t* locale) {
    info.kb = static_cast<double>(static_cast<unsigned long long>(info.bytes)) * kOneKiB;
    info.mb = info.kb * kOneKiB;
    info.gb = info.mb * kOneKiB;
    info.tb = info.gb * kOneKiB;
    if (static_cast<unsigned long long>(info.bytes) < 1024) {
        info.unit = 1;
        std::wstring digits;
        FormatString(digits, L"%I64u", info.bytes);
        info.text = FormatText(language, IDS_SIZE_BYTES, digits.c_str());
        return;
    }
    // TB is the largest unit: 1024 TB and more still read in TB (1024.00 TB, 2048.00 TB).
    const struct {
        double value;
        UINT text;
    } units[] = {{info.kb, IDS_SIZE_KB}, {info.mb, IDS_SIZE_MB}, {info.gb, IDS_SIZE_GB},
                 {info.tb, IDS_SIZE_TB}};
    info.unit = 2;
    for (const auto& unit : units) {
        if (unit.value < 1024.0 || unit.text == IDS_SIZE_TB) {
            info.text = FormatText(language, unit.text, FormatFigure(unit.value, locale).c_str());
            return;
        }
        ++info.unit;
    }
}

bool ReadFileSize(const std::wstring& path, FileSizeInfo& info, LANGID language) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    FileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    DWORD high = 0;
    DWORD low = GetFileSize(file.Get(), &high);
    info.bytes = static_cast<long long>((static_cast<unsigned long long>(high) << 32) | low);
    DescribeSize(info, language);
    return true;
}

std::wstring LongTimeText(const SYSTEMTIME& time, const wchar_t* locale) {
    wchar_t date[128] = {};
    wchar_t clock[128] = {};
    if (!GetDateFormatEx(locale, DATE_LONGDATE, &time, nullptr, date, 128, nullptr)) date[0] = 0;
    if (!GetTimeFormatEx(locale, 0, &time, nullptr, clock, 128)) clock[0] = 0;
    return std::wstring(date) + L" " + clock;
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
