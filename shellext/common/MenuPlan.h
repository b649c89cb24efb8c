// What goes into one submenu ("Cop&y To" or "&Move To"), decided without a menu: a numbered
// item per directory the store holds for the extension, or a greyed placeholder. Both
// submenus are planned from the same list.
#pragma once

#include <string>
#include <vector>

struct PlannedItem {
    std::wstring label;
    bool greyed = false;
    std::wstring directory;  // the real path; empty for an item that stands for no command
};

// "&%d.\t%s": the number is the item's mnemonic, the tab sets the path apart. An ampersand in
// the path is doubled so that the menu shows it instead of underlining the next character.
std::wstring DirectoryLabel(int number, const std::wstring& directory);

// One numbered item per directory, in the order given; "<no directories>" greyed when there
// is none. A directory that is not absolute keeps its number but is greyed and stands for no
// command: it must never become a destination.
std::vector<PlannedItem> PlanSubmenu(const std::vector<std::wstring>& directories);

// How many items each submenu may show when `available` command identifiers are free. Each
// submenu item takes one identifier and each of its items one more; both submenus show the same
// first items, so the two never disagree. 0 when not even one item in each fits.
size_t ItemsPerSubmenu(size_t planned, unsigned long long available);
