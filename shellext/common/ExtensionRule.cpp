#include "shellext/common/ExtensionRule.h"

#include "winframe/PathRules.h"
#include "winframe/TextHelpers.h"

bool AllSameExtension(const std::vector<std::wstring>& paths) {
    if (paths.empty()) return false;
    std::wstring first = SelectionExtension(paths);
    ToLower(first);
    for (const std::wstring& path : paths) {
        std::wstring extension = PathExtension(path);
        ToLower(extension);
        if (extension != first) return false;
    }
    return true;
}
