#include "winframe/FolderPicker.h"

#include "winframe/ApartmentScope.h"
#include "winframe/FolderDialogEvents.h"
#include "winframe/FolderRule.h"
#include "winframe/Languages.h"
#include "winframe/TextHelpers.h"
#include "winframe/Texts.h"
#include "texts/TextIds.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace {

constexpr DWORD kCheckBoxId = 1;

enum class Outcome { Chosen, Cancelled, Refused, Unavailable };

template <typename Interface>
class Held {
public:
    Held() = default;
    ~Held() {
        if (pointer_ != nullptr) pointer_->Release();
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    Interface** Out() { return &pointer_; }
    void** OutVoid() { return reinterpret_cast<void**>(&pointer_); }
    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};

// Looked up at run time: the modern dialog and this function came with the same Windows, and
// the configuration program must still load where neither exists.
using CreateItemFunction = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, REFIID, void**);

void StartIn(IFileDialog* dialog, const std::wstring& folder) {
    if (folder.empty()) return;
    auto create = reinterpret_cast<CreateItemFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"shell32.dll"), "SHCreateItemFromParsingName")));
    Held<IShellItem> item;
    if (create != nullptr && SUCCEEDED(create(folder.c_str(), nullptr, IID_IShellItem,
                                              item.OutVoid()))) {
        dialog->SetFolder(item.Get());
    }
}

Outcome PickWithFileDialog(FolderPick& pick) {
    Held<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IFileOpenDialog, dialog.OutVoid()))) {
        return Outcome::Unavailable;
    }
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(pick.title.c_str());
    StartIn(dialog.Get(), pick.startFolder);
    Held<IFileDialogCustomize> custom;
    if (!pick.checkLabel.empty() &&
        (FAILED(dialog->QueryInterface(IID_IFileDialogCustomize, custom.OutVoid())) ||
         FAILED(custom->AddCheckButton(kCheckBoxId, pick.checkLabel.c_str(), pick.checked)))) {
        return Outcome::Unavailable;  // the browser asks instead
    }
    FolderDialogEvents events;
    DWORD cookie = 0;
    events.language = pick.language;
    bool advised = SUCCEEDED(dialog->Advise(&events, &cookie));
    HRESULT shown = dialog->Show(pick.owner);
    if (advised) dialog->Unadvise(cookie);
    if (FAILED(shown)) return Outcome::Cancelled;

    std::wstring folder = events.Accepted();
    Held<IShellItem> result;
    // A dialog that never called OnFileOk is judged now.
    if (folder.empty() && (FAILED(dialog->GetResult(result.Out())) ||
                           !AcceptChosenFolder(pick.owner, result.Get(), folder, pick.language))) {
        return Outcome::Refused;  // shown again
    }
    BOOL checked = FALSE;
    if (custom.Get() != nullptr && SUCCEEDED(custom->GetCheckButtonState(kCheckBoxId, &checked))) {
        pick.checked = checked != FALSE;
    }
    pick.folder = folder;
    return Outcome::Chosen;
}

Outcome PickWithBrowser(FolderPick& pick) {
    for (;;) {
        BROWSEINFOW browse = {};
        browse.hwndOwner = pick.owner;
        browse.lpszTitle = pick.title.c_str();
        browse.ulFlags = BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE | BIF_SHAREABLE;
        browse.lpfn = FolderBrowserCallback;
        browse.lParam = reinterpret_cast<LPARAM>(&pick);
        PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
        if (chosen == nullptr) return Outcome::Cancelled;
        std::wstring path;
        std::wstring name;
        FolderVerdict verdict = JudgeFolderItem(chosen, path, name);
        CoTaskMemFree(chosen);
        if (verdict != FolderVerdict::Usable) {
            WarnRefusedFolder(pick.owner, verdict, name, pick.language);
            continue;
        }
        if (!pick.checkLabel.empty()) {
            UINT preselected = pick.checked ? MB_DEFBUTTON1 : MB_DEFBUTTON2;
            pick.checked = ShowMessage(pick.owner, pick.checkQuestion,
                                       Text(pick.language, IDS_REMEMBER_CAPTION),
                                       MB_YESNO | MB_ICONQUESTION | preselected) == IDYES;
        }
        pick.folder = path;
        return Outcome::Chosen;
    }
}

}  // namespace

int CALLBACK FolderBrowserCallback(HWND browser, UINT message, LPARAM parameter, LPARAM data) {
    const auto* pick = reinterpret_cast<const FolderPick*>(data);
    if (message == BFFM_INITIALIZED && pick != nullptr && !pick->startFolder.empty()) {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE,
                     reinterpret_cast<LPARAM>(pick->startFolder.c_str()));
    }
    if (message != BFFM_VALIDATEFAILEDW) return 0;
    WarnRefusedFolder(browser, FolderVerdict::NoPath, reinterpret_cast<const wchar_t*>(parameter),
                      pick != nullptr ? pick->language : 0);
    return 1;  // stays open
}

bool PickFolder(FolderPick& pick) {
    ApartmentScope apartment;
    if (pick.language == 0) pick.language = ChosenLanguage();
    pick.folder.clear();
    Outcome outcome;
    do {
        outcome = PickWithFileDialog(pick);
    } while (outcome == Outcome::Refused);
    if (outcome == Outcome::Unavailable) outcome = PickWithBrowser(pick);
    return outcome == Outcome::Chosen;
}
