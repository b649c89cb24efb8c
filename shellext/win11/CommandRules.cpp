#include "shellext/win11/CommandRules.h"

#include "shellext/win11/FlyoutSource.h"

bool IsFileSystemFile(SFGAOF attributes) {
    if (!(attributes & SFGAO_FILESYSTEM)) return false;
    return !(attributes & SFGAO_FOLDER) || (attributes & SFGAO_STREAM);
}

EXPCMDSTATE CommandState(const std::vector<std::wstring>& names, bool allFiles,
                         std::wstring& extension) {
    extension.clear();
    std::wstring shared = SharedExtension(names);
    if (shared.empty() || !allFiles || !ExtensionAssociated(shared)) return ECS_HIDDEN;
    extension = shared;
    return ECS_ENABLED;
}
