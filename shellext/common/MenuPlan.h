// What goes into one submenu ("Cop&y To" or "&Move To"), decided without a menu: a numbered
// item per directory the store holds for the extension, or a greyed placeholder, and after a
// separator "&Other folder...". Both submenus are planned from the same list.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct PlannedItem {
    std::wstring label;
    bool greyed = false;
    std::wstring directory;  // the real path; empty for an item that stands for no command
    bool picksFolder = false;  // "&Other folder...": the user picks the destination
};

// "&Other folder...", which ends each submenu and flyout after a separator.
PlannedItem OtherFolderItem(LANGID language);

// "&%d.\t%s": the number is the item's mnemonic, the tab sets the path apart. An ampersand in
// the path is doubled so that the menu shows it instead of underlining the next character.
std::wstring DirectoryLabel(int number, const std::wstring& directory);

// One numbered item per directory, in the order given; "<no directories>" (in `language`)
// greyed when there is none. A directory that is not absolute keeps its number but is greyed
// and stands for no command: it must never become a destination.
std::vector<PlannedItem> PlanSubmenu(const std::vector<std::wstring>& directories,
                                     LANGID language);

// What each submenu shows when `available` command identifiers are free. Each submenu item takes
// one identifier, each of its items one more, and its "&Other folder..." one more; the two
// "&Other folder..." identifiers come after all the others, so every other item keeps the
// offset it had before that item existed. Too few identifiers drop "&Other folder..." first,
// then the last numbered items; both submenus always show the same. No items: nothing fits.
struct SubmenuFit {
    size_t items = 0;
    bool otherFolder = false;
};
SubmenuFit FitSubmenus(size_t planned, unsigned long long available);
