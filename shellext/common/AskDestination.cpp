#include "shellext/common/AskDestination.h"

#include "shellext/common/FolderProbe.h"
#include "shellext/common/PickerPlan.h"
#include "store/AssociationStore.h"
#include "store/PickerMemory.h"
#include "texts/TextIds.h"
#include "winframe/FolderPicker.h"
#include "winframe/Languages.h"
#include "winframe/PathRules.h"
#include "winframe/Texts.h"

bool AskForDestination(HWND owner, const std::vector<std::wstring>& files, bool isCopy,
                       std::wstring& destination) {
    if (files.empty()) return false;
    const std::wstring extension = SelectionExtension(files);
    std::vector<std::wstring> associated;
    ListDirectories(extension, associated);

    const LANGID language = ChosenLanguage();
    FolderPick pick;
    pick.owner = owner;
    pick.language = language;
    pick.title = PickerTitle(isCopy, files, language);
    // Never probed on this thread: it is the file manager's own.
    pick.startFolder = FirstFolderPresent(
        StartCandidates(LastPickedFolder(extension), associated, files.front()),
        kFolderProbeBudgetMs);
    // Remembering adds to the extension's own folders, which only a stored extension has.
    const bool canRemember = !extension.empty() && ExtensionExists(extension);
    if (canRemember) {
        pick.checkLabel = RememberLabel(extension, language);
        pick.checkQuestion = RememberLabel(extension, language, true);
        pick.checked = RememberChecked();
    }
    if (!PickFolder(pick)) return false;

    SetLastPickedFolder(extension, pick.folder);
    if (canRemember) {
        SetRememberChecked(pick.checked);
        if (pick.checked && AddChosenDirectory(extension, pick.folder) == AddedDirectory::Failed) {
            ShowTextMessage(owner, language, IDS_ERROR_CAPTION, MB_ICONERROR,
                            IDS_NOT_ADDED_FOR_THIS_TRANSFER, pick.folder.c_str(), extension.c_str());
        }
    }
    destination = pick.folder;
    return true;
}
