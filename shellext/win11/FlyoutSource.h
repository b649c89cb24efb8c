// Where the Windows 11 commands get what the classic menu shows: the selection rule, the
// association check and the numbered folder items. The one place the commands call the classic
// handler's extension, menu-plan and store functions, so both menus always agree.
#pragma once

#include "shellext/common/MenuPlan.h"

#include <string>
#include <vector>

// The extension every path shares (letter case aside), as the first path spells it; empty when
// the paths are none, differ, or have no extension.
std::wstring SharedExtension(const std::vector<std::wstring>& paths);

// Whether the store holds the extension (with or without folders).
bool ExtensionAssociated(const std::wstring& extension);

// The flyout's items for the extension: the classic submenu's items, in its order (or its
// greyed placeholder), then "&Other folder...", in `language`.
std::vector<PlannedItem> FlyoutItems(const std::wstring& extension, LANGID language);
