#include "shellext/classic/SelectionState.h"

#include "winframe/PathRules.h"

void SelectionState::Reset() {
    commandBase = 0;
    selectedFiles.clear();
    commands.clear();
}

void SelectionState::AddFile(const std::wstring& path) { selectedFiles.push_back(path); }

std::wstring SelectionState::FirstFileExtension() const {
    return SelectionExtension(selectedFiles);
}

void SelectionState::AddCommand(const MenuCommand& record) { commands[record.commandId] = record; }

const MenuCommand* SelectionState::FindCommand(UINT commandId) const {
    auto found = commands.find(commandId);
    return found == commands.end() ? nullptr : &found->second;
}
