// What goes into one submenu ("Cop&y To" or "&Move To"), decided without a menu: a numbered
// item per directory the store holds for the extension, or a greyed placeholder.
#pragma once

#include <string>
#include <vector>

struct PlannedItem {
    std::wstring label;
    bool greyed = false;
    std::wstring directory;  // empty for the placeholder, which stands for no command
};

// "&%d.\t%s": the number is the item's mnemonic, the tab sets the path apart.
std::wstring DirectoryLabel(int number, const std::wstring& directory);

// directoryCount is what the store counted; it only chooses between placeholder and list, the
// list itself holds every directory the store delivered.
std::vector<PlannedItem> PlanSubmenu(int directoryCount, const std::vector<std::wstring>& directories);

// The same from the association store: CountDirectories, then NextDirectory to the end.
std::vector<PlannedItem> PlanSubmenuFromStore(const std::wstring& extension);
