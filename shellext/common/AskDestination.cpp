#include "shellext/common/AskDestination.h"

#include "shellext/common/ExtensionRule.h"
#include "shellext/common/PickerPlan.h"
#include "store/AssociationStore.h"
#include "store/PickerMemory.h"
#include "winframe/FolderPicker.h"
#include "winframe/TextHelpers.h"

namespace {

bool IsExistingFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool AskForDestination(HWND owner, const std::vector<std::wstring>& files, bool isCopy,
                       std::wstring& destination) {
    if (files.empty()) return false;
    const std::wstring extension = PathExtension(files.front());
    std::vector<std::wstring> associated;
    ListDirectories(extension, associated);

    FolderPick pick;
    pick.owner = owner;
    pick.title = PickerTitle(isCopy, files);
    pick.startFolder =
        StartFolder(LastPickedFolder(extension), associated, files.front(), IsExistingFolder);
    // Remembering adds to the extension's own folders, which only a stored extension has.
    const bool canRemember = !extension.empty() && ExtensionExists(extension);
    if (canRemember) {
        pick.checkLabel = RememberLabel(extension);
        pick.checked = RememberChecked();
    }
    if (!PickFolder(pick)) return false;

    SetLastPickedFolder(extension, pick.folder);
    if (canRemember) {
        SetRememberChecked(pick.checked);
        if (pick.checked && AddChosenDirectory(extension, pick.folder) == AddedDirectory::Failed) {
            ShowFormattedMessage(owner, L"Wendrift : ERROR", MB_ICONERROR,
                                 L"The directory:\n\n%s\n\ncould not be added to the file type "
                                 L"[%s]. It is used for this transfer only.",
                                 pick.folder.c_str(), extension.c_str());
        }
    }
    destination = pick.folder;
    return true;
}
