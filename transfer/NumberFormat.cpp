#include "transfer/NumberFormat.h"

#include "winframe/TextHelpers.h"

#include <cwchar>
#include <vector>

std::wstring GetLocaleString(LCTYPE type) {
    int size = GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, type, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::vector<wchar_t> buffer(size, L'\0');
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, type, buffer.data(), size)) return std::wstring();
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
}

int GetLocaleInt(LCTYPE type) {
    int size = GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, type, nullptr, 0);
    if (size <= 0) return 0;
    std::vector<wchar_t> buffer(size, L'\0');
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, type, buffer.data(), size)) return 0;
    buffer.back() = L'\0';
    return _wtoi(buffer.data());
}

std::wstring FormatGroupedNumber(long long value) {
    std::wstring digits;
    FormatString(digits, L"%I64d", value);
    int size = GetNumberFormatW(LOCALE_SYSTEM_DEFAULT, 0, digits.c_str(), nullptr, nullptr, 0);
    if (size <= 0) return digits;

    std::wstring decimalSeparator = GetLocaleString(LOCALE_SMONDECIMALSEP);
    std::wstring thousandSeparator = GetLocaleString(LOCALE_STHOUSAND);
    NUMBERFMTW format = {};
    format.NumDigits = 0;
    format.LeadingZero = GetLocaleInt(LOCALE_ILZERO);
    // "3;0" and "3;2;0" both read as 3: one group size repeated.
    format.Grouping = GetLocaleInt(LOCALE_SGROUPING);
    format.lpDecimalSep = &decimalSeparator[0];
    format.lpThousandSep = &thousandSeparator[0];
    format.NegativeOrder = GetLocaleInt(LOCALE_INEGNUMBER);

    std::vector<wchar_t> buffer(size, L'\0');
    if (!GetNumberFormatW(LOCALE_SYSTEM_DEFAULT, 0, digits.c_str(), &format, buffer.data(), size)) {
        return digits;
    }
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
}
