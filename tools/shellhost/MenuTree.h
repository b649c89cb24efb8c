// Reads a menu back item by item (GetMenuItemInfoW), for printing and for finding an item by the
// labels a user would click through.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MenuNode {
    std::wstring label;
    UINT id = 0;
    UINT state = 0;
    bool separator = false;
    std::vector<MenuNode> children;  // filled for a submenu
    bool hasSubmenu = false;
};

std::vector<MenuNode> ReadMenu(HMENU menu);

// One line per item, two spaces of indentation per level: the label in quotes (tab shown as
// \t), its identifier, and "greyed" when it is.
std::wstring DescribeMenu(const std::vector<MenuNode>& nodes, int depth = 0);

// labelPath: labels separated by '/'; a label matches its text up to the tab, or the whole text.
// Answers the item found, or null.
const MenuNode* FindMenuItem(const std::vector<MenuNode>& nodes, const std::wstring& labelPath);
