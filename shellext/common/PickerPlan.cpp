#include "shellext/common/PickerPlan.h"

#include "store/AssociationStore.h"
#include "texts/TextIds.h"
#include "transfer/PathText.h"
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

std::wstring SelectionFolder(const std::wstring& file) {
    size_t slash = file.find_last_of(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    std::wstring folder = file.substr(0, slash);
    // A drive's root keeps its backslash: "c:" alone means that drive's current folder.
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

std::wstring StartFolder(const std::wstring& lastPicked,
                         const std::vector<std::wstring>& associated, const std::wstring& file,
                         const std::function<bool(const std::wstring&)>& exists) {
    std::vector<std::wstring> candidates = {lastPicked};
    for (const std::wstring& directory : associated) {
        if (IsAbsoluteDirectory(directory)) {
            candidates.push_back(directory);
            break;
        }
    }
    candidates.push_back(SelectionFolder(file));
    for (const std::wstring& candidate : candidates) {
        if (IsAbsoluteDirectory(candidate) && exists(candidate)) return candidate;
    }
    return std::wstring();
}
