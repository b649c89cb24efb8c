#include "config/AboutText.h"

#include <cwchar>

const wchar_t kProductPageUrl[] = L"https://wendrift.example.org/";
const wchar_t kProductVersion[] = L"1.0.0.1";

std::wstring AboutLinkMarkup(const std::wstring& versionLine, const std::wstring& platformLine) {
    const std::wstring url = kProductPageUrl;
    return versionLine + L"\n\n" + platformLine + L"\n\n" +
           L"\u00A9 2026 The Wendrift authors, authors@wendrift.example.org\n\n"
           L"<a href=\"" + url + L"\">" + url + L"</a>";
}

bool IsProductPageUrl(const wchar_t* url) {
    return url != nullptr && std::wcscmp(url, kProductPageUrl) == 0;
}
