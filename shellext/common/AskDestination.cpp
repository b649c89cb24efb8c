#include "shellext/common/AskDestination.h"

#include "shellext/common/FolderProbe.h"
#include "shellext/common/PickerPlan.h"
#include "store/AssociationStore.h"
#include "store/PickerMemory.h"
#include "winframe/FolderPicker.h"
#include "winframe/PathRules.h"
#include "winframe/TextHelpers.h"

bool AskForDestination(HWND owner, const std::vector<std::wstring>& files, bool isCopy,
                       std::wstring& destination) {
    if (files.empty()) return false;
    const std::wstring extension = SelectionExtension(files);
    std::vector<std::wstring> associated;
    ListDirectories(extension, associated);

    FolderPick pick;
    pick.owner = owner;
    pick.title = PickerTitle(isCopy, files);
    // Never probed on this thread: it is the file manager's own.
    pick.startFolder = FirstFolderPresent(
        StartCandidates(LastPickedFolder(extension), associated, files.front()),
        kFolderProbeBudgetMs);
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
