// What the About box says, and the one address its link leads to: the same value is written
// into the markup, set as the link item's URL and compared when the link is activated.
#pragma once

#include <string>

extern const wchar_t kProductPageUrl[];  // "https://wendrift.example.org/"

// The four paragraphs of the link control, the last one an anchor to kProductPageUrl.
std::wstring AboutLinkMarkup();

// Exact, case-sensitive, whole-string comparison with kProductPageUrl.
bool IsProductPageUrl(const wchar_t* url);
