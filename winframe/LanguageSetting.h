// The language the user chose for Wendrift's texts: the REG_SZ value "Language" under
// HKCU\Software\Wendrift, a language tag such as de, de-DE, pt-BR or ja. Absent or empty
// means the user's Windows display language. Both programs read it whenever they open a menu,
// a transfer or a window, so a change shows without restarting anything.
#pragma once

#include <string>

extern const wchar_t kLanguageValueName[];  // "Language"

// The tag as stored; empty when the value is absent, empty or unreadable.
std::wstring ReadLanguageSetting();
// An empty tag removes the value: the display language applies again.
bool WriteLanguageSetting(const std::wstring& tag);
