// What the About box says, and the one address its link leads to: the same value is written
// into the markup, set as the link item's URL and compared when the link is activated.
#pragma once

#include <string>

extern const wchar_t kProductPageUrl[];  // "https://wendrift.example.org/"
extern const wchar_t kProductVersion[];  // "1.0.0.1"

// The four paragraphs of the link control: the version line and the platform line (texts of
// the box's language), the authorship line (names and an address, the same in every language)
// and an anchor to kProductPageUrl.
std::wstring AboutLinkMarkup(const std::wstring& versionLine, const std::wstring& platformLine);

// Exact, case-sensitive, whole-string comparison with kProductPageUrl.
bool IsProductPageUrl(const wchar_t* url);
