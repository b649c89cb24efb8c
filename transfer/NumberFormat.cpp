#include "transfer/NumberFormat.h"

#include "winframe/TextHelpers.h"

#include <cwchar>
#include <vector>

namespace {

std::wstring Formatted(const std::wstring& digits, const wchar_t* locale, UINT decimals,
                       UINT grouping) {
    std::wstring decimalSeparator = GetLocaleString(LOCALE_SDECIMAL, locale);
    std::wstring thousandSeparator = GetLocaleString(LOCALE_STHOUSAND, locale);
    if (decimalSeparator.empty()) decimalSeparator = L".";
    NUMBERFMTW format = {};
    format.NumDigits = decimals;
    format.LeadingZero = GetLocaleInt(LOCALE_ILZERO, locale);
    format.Grouping = grouping;
    format.lpDecimalSep = &decimalSeparator[0];
    format.lpThousandSep = &thousandSeparator[0];
    format.NegativeOrder = GetLocaleInt(LOCALE_INEGNUMBER, locale);
    int size = GetNumberFormatEx(locale, 0, digits.c_str(), &format, nullptr, 0);
    if (size <= 0) return digits;
    std::vector<wchar_t> buffer(size, L'\0');
    if (!GetNumberFormatEx(locale, 0, digits.c_str(), &format, buffer.data(), size)) return digits;
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
}

}  // namespace

std::wstring GetLocaleString(LCTYPE type, const wchar_t* locale) {
    int size = GetLocaleInfoEx(locale, type, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::vector<wchar_t> buffer(size, L'\0');
    if (!GetLocaleInfoEx(locale, type, buffer.data(), size)) return std::wstring();
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
}

int GetLocaleInt(LCTYPE type, const wchar_t* locale) {
    return _wtoi(GetLocaleString(type, locale).c_str());
}

std::wstring FormatGroupedNumber(long long value, const wchar_t* locale) {
    std::wstring digits;
    FormatString(digits, L"%I64d", value);
    // "3;0" and "3;2;0" both read as 3: one group size repeated.
    return Formatted(digits, locale, 0, GetLocaleInt(LOCALE_SGROUPING, locale));
}

std::wstring FormatFigure(double value, const wchar_t* locale) {
    std::wstring digits;
    FormatString(digits, L"%.02f", value);
    return Formatted(digits, locale, 2, 0);
}
