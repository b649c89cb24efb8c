// What one directory item or "&Other folder..." item of the context menu stands for, recorded
// when the menu is built and looked up again when the item is picked or its help text is asked
// for.
#pragma once

#include <windows.h>

#include <string>

struct MenuCommand {
    std::wstring directory;  // the destination, exactly as the store delivered it
    UINT commandId = 0;      // absolute identifier: idCmdFirst + offset
    int operation = 0;       // 0 none (fresh record), 1 copy, 2 move
    bool picksFolder = false;  // no directory: the user picks one when the item is invoked
};

constexpr int kOperationNone = 0;
constexpr int kOperationCopy = 1;
constexpr int kOperationMove = 2;
