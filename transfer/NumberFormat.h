// Digit grouping by the system's default locale, and the locale readers it uses.
#pragma once

#include <windows.h>

#include <string>

// 1536 reads 1,536 under a locale that groups by three with a comma; the plain digits when the
// locale cannot format it.
std::wstring FormatGroupedNumber(long long value);
// The locale value as a number (grouping "3;0" gives 3); 0 when it cannot be read.
int GetLocaleInt(LCTYPE type);
// The locale value as text; empty when it cannot be read.
std::wstring GetLocaleString(LCTYPE type);
