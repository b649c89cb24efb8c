#include "shellext/common/PickerPlan.h"

#include "texts/TextIds.h"
#include "winframe/PathRules.h"
#include "winframe/TextHelpers.h"
#include "winframe/Texts.h"

std::wstring PickerTitle(bool isCopy, const std::vector<std::wstring>& files, LANGID language) {
    if (files.size() == 1) {
        return FormatText(language, isCopy ? IDS_PICK_COPY_ONE : IDS_PICK_MOVE_ONE,
                          FileNameOf(files.front()).c_str());
    }
    return FormatText(language, isCopy ? IDS_PICK_COPY_MANY : IDS_PICK_MOVE_MANY,
                      static_cast<long long>(files.size()));
}

std::wstring RememberLabel(const std::wstring& extension, LANGID language, bool question) {
    std::wstring shown = extension;
    ToLower(shown);
    return FormatText(language, question ? IDS_REMEMBER_QUESTION : IDS_REMEMBER_LABEL,
                      shown.c_str());
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
