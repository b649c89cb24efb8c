// What the command tests and their helper share: the built library's command classes created
// in-process and handed shell item arrays of real files as Explorer hands them.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

namespace commandkit {

// Null when a path cannot be parsed. A path starting with "::" names a shell folder by class.
IShellItemArray* ItemsFor(const std::vector<std::wstring>& paths);
IExplorerCommand* CreateCommand(const CLSID& classId);
// The flyout's commands, each with a reference the caller releases.
std::vector<IExplorerCommand*> Flyout(IExplorerCommand* command);
void ReleaseAll(std::vector<IExplorerCommand*>& commands);
// Job files of handed-off transfers waiting in the temporary folder.
int JobFilesInTemp();

}  // namespace commandkit
