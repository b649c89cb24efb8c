#include "transfer/PathText.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

std::wstring FileNameOf(const std::wstring& path) {
    size_t separator = path.rfind(L'\\');
    if (separator == std::wstring::npos) separator = path.rfind(L'/');
    if (separator == std::wstring::npos) return std::wstring();
    return path.substr(separator + 1);
}

std::wstring JoinPath(const std::wstring& directory, const std::wstring& name) {
    std::wstring joined = directory;
    if (joined.empty() || (joined.back() != L'\\' && joined.back() != L'/')) joined += L'\\';
    return joined + name;
}

std::wstring CompactText(const std::wstring& text, unsigned int budget) {
    if (budget == 0) return text;
    std::vector<wchar_t> buffer(budget, L'\0');
    if (!PathCompactPathExW(buffer.data(), text.c_str(), budget, 0)) return std::wstring();
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
}
