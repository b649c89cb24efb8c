#include "config/ExtensionText.h"

std::wstring ExtensionFromTyped(const std::wstring& typed) {
    if (typed.empty() || typed[0] == L'.') return typed;
    return L"." + typed;
}

bool IsUsableExtension(const std::wstring& extension) {
    return extension.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos;
}

std::wstring FileTypeProbeName(const std::wstring& extension) {
    return L"Dummy" + extension;
}
