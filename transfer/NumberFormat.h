// Numbers in the user's regional format (the locale, which may differ from the language of
// the texts): digit grouping for byte counts, the decimal separator for sizes and rates.
#pragma once

#include <windows.h>

#include <string>

// The locale every figure follows unless a caller names another (the tests do).
#define WENDRIFT_USER_LOCALE LOCALE_NAME_USER_DEFAULT

// 1536 reads 1,536 where the locale groups by three with a comma, 1.536 where with a dot; the
// plain digits when the locale cannot format it.
std::wstring FormatGroupedNumber(long long value, const wchar_t* locale = WENDRIFT_USER_LOCALE);
// Two decimals with the locale's decimal separator and no grouping: 1023.99, 1023,99.
std::wstring FormatFigure(double value, const wchar_t* locale = WENDRIFT_USER_LOCALE);
// The locale value as a number (grouping "3;0" gives 3); 0 when it cannot be read.
int GetLocaleInt(LCTYPE type, const wchar_t* locale = WENDRIFT_USER_LOCALE);
// The locale value as text; empty when it cannot be read.
std::wstring GetLocaleString(LCTYPE type, const wchar_t* locale = WENDRIFT_USER_LOCALE);
