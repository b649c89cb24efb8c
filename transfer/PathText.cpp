#include "transfer/PathText.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

std::wstring CompactText(const std::wstring& text, unsigned int budget) {
    if (budget == 0) return text;
    std::vector<wchar_t> buffer(budget, L'\0');
    if (!PathCompactPathExW(buffer.data(), text.c_str(), budget, 0)) return std::wstring();
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
}
