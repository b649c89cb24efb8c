#include "shellext/MenuPlan.h"

#include "store/AssociationStore.h"
#include "store/RegKey.h"
#include "winframe/TextHelpers.h"

std::wstring DirectoryLabel(int number, const std::wstring& directory) {
    std::wstring label;
    FormatString(label, L"&%d.\t%s", number, directory.c_str());
    return label;
}

std::vector<PlannedItem> PlanSubmenu(int directoryCount, const std::vector<std::wstring>& directories) {
    std::vector<PlannedItem> items;
    if (directoryCount == 0) {
        items.push_back(PlannedItem{L"<no directories>", true, std::wstring()});
        return items;
    }
    items.reserve(directories.size());
    int number = 0;
    for (const std::wstring& directory : directories) {
        items.push_back(PlannedItem{DirectoryLabel(++number, directory), false, directory});
    }
    return items;
}

std::vector<PlannedItem> PlanSubmenuFromStore(const std::wstring& extension) {
    int count = CountDirectories(extension);
    std::vector<std::wstring> directories;
    if (count != 0) {
        std::wstring directory;
        try {
            while (NextDirectory(extension, directory)) directories.push_back(directory);
        } catch (...) {
            // The listing stopped before its false answer: let the next one start afresh.
            RegKey::ResetValueCursor();
            throw;
        }
    }
    return PlanSubmenu(count, directories);
}
