#include "shellext/common/MenuPlan.h"

#include "texts/TextIds.h"
#include "winframe/PathRules.h"
#include "winframe/Texts.h"

std::wstring DirectoryLabel(int number, const std::wstring& directory) {
    // Built by hand: a formatting call per folder cost the menu more than reading its names.
    wchar_t digits[16];
    size_t count = 0;
    unsigned int value = number < 0 ? 0u : static_cast<unsigned int>(number);
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::wstring label;
    label.reserve(count + 3 + directory.size() * 2);
    label += L'&';
    while (count > 0) label += digits[--count];
    label += L".\t";
    for (wchar_t c : directory) {
        label += c;
        if (c == L'&') label += L'&';
    }
    return label;
}

std::vector<PlannedItem> PlanSubmenu(const std::vector<std::wstring>& directories,
                                     LANGID language) {
    std::vector<PlannedItem> items;
    if (directories.empty()) {
        items.push_back(PlannedItem{Text(language, IDS_NO_DIRECTORIES), true, std::wstring()});
        return items;
    }
    items.reserve(directories.size());
    int number = 0;
    for (const std::wstring& directory : directories) {
        bool usable = IsAbsoluteDirectory(directory);
        items.push_back(PlannedItem{DirectoryLabel(++number, directory), !usable,
                                    usable ? directory : std::wstring()});
    }
    return items;
}

PlannedItem OtherFolderItem(LANGID language) {
    PlannedItem item;
    item.label = Text(language, IDS_OTHER_FOLDER);
    item.picksFolder = true;
    return item;
}

SubmenuFit FitSubmenus(size_t planned, unsigned long long available) {
    SubmenuFit fit;
    if (available < 4) return fit;
    // Two submenu items, and one identifier per item in each submenu.
    unsigned long long room = (available - 2) / 2;
    if (room >= static_cast<unsigned long long>(planned) + 1) {
        fit.items = planned;
        fit.otherFolder = true;
        return fit;
    }
    fit.items = planned < room ? planned : static_cast<size_t>(room);
    return fit;
}
