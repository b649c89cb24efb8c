#include "winframe/FolderDialogEvents.h"

#include "winframe/FolderRule.h"

#include <shlobj.h>

STDMETHODIMP FolderDialogEvents::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IFileDialogEvents)) {
        *out = static_cast<IFileDialogEvents*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FolderDialogEvents::OnFileOk(IFileDialog* dialog) {
    accepted_.clear();
    HWND window = nullptr;
    IOleWindow* ole = nullptr;
    if (SUCCEEDED(dialog->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&ole)))) {
        ole->GetWindow(&window);
        ole->Release();
    }
    IShellItem* item = nullptr;
    if (FAILED(dialog->GetResult(&item))) return S_FALSE;
    bool accepted = AcceptChosenFolder(window, item, accepted_, language);
    item->Release();
    // S_FALSE keeps the dialog open for another choice.
    return accepted ? S_OK : S_FALSE;
}

bool AcceptChosenFolder(HWND owner, IShellItem* item, std::wstring& path, LANGID language) {
    path.clear();
    // IPersistIDList rather than SHGetIDListFromObject: the configuration program must still
    // load on systems whose shell lacks the latter (they never show this dialog).
    IPersistIDList* persist = nullptr;
    PIDLIST_ABSOLUTE id = nullptr;
    if (item != nullptr &&
        SUCCEEDED(item->QueryInterface(IID_IPersistIDList, reinterpret_cast<void**>(&persist)))) {
        if (FAILED(persist->GetIDList(&id))) id = nullptr;
        persist->Release();
    }
    std::wstring found;
    std::wstring name;
    FolderVerdict verdict = JudgeFolderItem(id, found, name);
    CoTaskMemFree(id);
    if (verdict != FolderVerdict::Usable) {
        WarnRefusedFolder(owner, verdict, name, language);
        return false;
    }
    path = found;
    return true;
}
