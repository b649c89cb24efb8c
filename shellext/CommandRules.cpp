#include "shellext/CommandRules.h"

#include "shellext/FlyoutSource.h"

bool IsFileSystemFile(SFGAOF attributes) {
    if (!(attributes & SFGAO_FILESYSTEM)) return false;
    return !(attributes & SFGAO_FOLDER) || (attributes & SFGAO_STREAM);
}

EXPCMDSTATE CommandState(const std::vector<std::wstring>& paths, bool allFiles,
                         std::wstring& extension) {
    extension.clear();
    if (!allFiles) return ECS_HIDDEN;
    // The store is asked last: it is the one registry lookup this costs on every right-click.
    std::wstring shared = SelectionExtension(paths);
    if (shared.empty() || !ExtensionAssociated(shared)) return ECS_HIDDEN;
    extension = shared;
    return ECS_ENABLED;
}
