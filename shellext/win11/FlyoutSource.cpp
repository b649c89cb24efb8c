#include "shellext/win11/FlyoutSource.h"

#include "shellext/common/ExtensionRule.h"
#include "store/AssociationStore.h"
#include "winframe/PathRules.h"

std::wstring SharedExtension(const std::vector<std::wstring>& paths) {
    return AllSameExtension(paths) ? SelectionExtension(paths) : std::wstring();
}

bool ExtensionAssociated(const std::wstring& extension) { return ExtensionExists(extension); }

std::vector<PlannedItem> FlyoutItems(const std::wstring& extension, LANGID language) {
    std::vector<std::wstring> directories;
    ListDirectories(extension, directories);
    std::vector<PlannedItem> items = PlanSubmenu(directories, language);
    items.push_back(OtherFolderItem(language));
    return items;
}
