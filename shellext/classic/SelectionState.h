// Everything a ShellCallback knows between the shell's calls: the selected paths, the first
// command identifier of the last menu, and the directory items of that menu.
#pragma once

#include "shellext/classic/MenuCommand.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

struct SelectionState {
    UINT commandBase = 0;                     // idCmdFirst of the last QueryContextMenu
    std::vector<std::wstring> selectedFiles;  // in the order of the shell's drop data
    std::map<UINT, MenuCommand> commands;     // keyed by absolute command identifier
    LANGID language = 0;                      // of the last menu, for its help texts

    void Reset();
    void AddFile(const std::wstring& path);
    // The first path's extension, case unchanged; empty when the selection is empty.
    std::wstring FirstFileExtension() const;
    // Stores a copy under record.commandId, replacing what was there.
    void AddCommand(const MenuCommand& record);
    // The entry under the identifier, or null.
    const MenuCommand* FindCommand(UINT commandId) const;
};
