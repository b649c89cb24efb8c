#include "shellext/common/PickerPlan.h"

#include "winframe/PathRules.h"
#include "winframe/TextHelpers.h"

std::wstring PickerTitle(bool isCopy, const std::vector<std::wstring>& files) {
    std::wstring title;
    const wchar_t* verb = isCopy ? L"Copy" : L"Move";
    if (files.size() == 1) {
        FormatString(title, L"%s %s to", verb, FileNameOf(files.front()).c_str());
    } else {
        FormatString(title, L"%s %I64d files to", verb, static_cast<long long>(files.size()));
    }
    return title;
}

std::wstring RememberLabel(const std::wstring& extension) {
    std::wstring shown = extension;
    ToLower(shown);
    return L"Remember this folder for " + shown + L" files";
}

std::vector<std::wstring> StartCandidates(const std::wstring& lastPicked,
                                          const std::vector<std::wstring>& associated,
                                          const std::wstring& file) {
    std::vector<std::wstring> candidates;
    if (IsAbsoluteDirectory(lastPicked)) candidates.push_back(lastPicked);
    for (const std::wstring& directory : associated) {
        if (IsAbsoluteDirectory(directory)) {
            candidates.push_back(directory);
            break;
        }
    }
    std::wstring own = FolderOf(file);
    if (IsAbsoluteDirectory(own)) candidates.push_back(own);
    return candidates;
}
