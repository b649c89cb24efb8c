#include "config/AboutText.h"

#include <cwchar>

const wchar_t kProductPageUrl[] = L"https://wendrift.example.org/";

std::wstring AboutLinkMarkup() {
    const std::wstring url = kProductPageUrl;
    return L"Wendrift Version 1.0.0.1\n\n"
           L"Windows XP/2003 Shell Extension\n\n"
           L"\u00A9 2026 The Wendrift authors, authors@wendrift.example.org\n\n"
           L"<a href=\"" + url + L"\">" + url + L"</a>";
}

bool IsProductPageUrl(const wchar_t* url) {
    return url != nullptr && std::wcscmp(url, kProductPageUrl) == 0;
}
