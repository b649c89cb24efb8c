#include "tools/shellhost/ShellSelection.h"

#include <memory>

ShellSelection::~ShellSelection() {
    if (data_ != nullptr) data_->Release();
    CoTaskMemFree(folderId_);
}

bool ShellSelection::Create(const std::vector<std::wstring>& paths) {
    if (paths.empty()) {
        problem_ = L"no paths given";
        return false;
    }
    std::vector<PIDLIST_ABSOLUTE> items;
    std::vector<PCUITEMID_CHILD> children;
    IShellFolder* folder = nullptr;
    bool ok = true;
    for (const std::wstring& path : paths) {
        PIDLIST_ABSOLUTE item = nullptr;
        HRESULT hr = SHParseDisplayName(path.c_str(), nullptr, &item, 0, nullptr);
        if (FAILED(hr)) {
            problem_ = L"the shell cannot parse \"" + path + L"\" (does it exist?)";
            ok = false;
            break;
        }
        items.push_back(item);
        PIDLIST_ABSOLUTE parent = ILClone(item);
        ILRemoveLastID(parent);
        if (folderId_ == nullptr) {
            folderId_ = parent;
            PCUITEMID_CHILD child = nullptr;
            hr = SHBindToParent(item, IID_IShellFolder, reinterpret_cast<void**>(&folder), &child);
            if (FAILED(hr)) {
                problem_ = L"the shell cannot bind to the folder of \"" + path + L"\"";
                ok = false;
                break;
            }
        } else {
            bool same = ILIsEqual(parent, folderId_) != FALSE;
            CoTaskMemFree(parent);
            if (!same) {
                problem_ = L"\"" + path + L"\" is not in the same folder as the first path";
                ok = false;
                break;
            }
        }
        children.push_back(ILFindLastID(item));
    }
    if (ok) {
        HRESULT hr = folder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()),
                                           children.data(), IID_IDataObject, nullptr,
                                           reinterpret_cast<void**>(&data_));
        if (FAILED(hr)) {
            problem_ = L"IShellFolder::GetUIObjectOf(IID_IDataObject) failed";
            ok = false;
        }
    }
    if (folder != nullptr) folder->Release();
    for (PIDLIST_ABSOLUTE item : items) CoTaskMemFree(item);
    return ok;
}

bool ShellSelection::CreateFromFolder(const std::wstring& folderPath) {
    if (FAILED(SHParseDisplayName(folderPath.c_str(), nullptr, &folderId_, 0, nullptr))) {
        problem_ = L"the shell cannot parse \"" + folderPath + L"\"";
        return false;
    }
    IShellFolder* desktop = nullptr;
    IShellFolder* folder = nullptr;
    IEnumIDList* items = nullptr;
    std::vector<PITEMID_CHILD> children;
    bool ok = SUCCEEDED(SHGetDesktopFolder(&desktop)) &&
              SUCCEEDED(desktop->BindToObject(folderId_, nullptr, IID_IShellFolder,
                                              reinterpret_cast<void**>(&folder))) &&
              folder->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &items) == S_OK;
    if (ok) {
        PITEMID_CHILD child = nullptr;
        while (items->Next(1, &child, nullptr) == S_OK) children.push_back(child);
        ok = !children.empty() &&
             SUCCEEDED(folder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()),
                                             const_cast<PCUITEMID_CHILD_ARRAY>(children.data()),
                                             IID_IDataObject, nullptr,
                                             reinterpret_cast<void**>(&data_)));
    }
    if (!ok) problem_ = L"the shell cannot list the files of \"" + folderPath + L"\"";
    for (PITEMID_CHILD child : children) CoTaskMemFree(child);
    if (items != nullptr) items->Release();
    if (folder != nullptr) folder->Release();
    if (desktop != nullptr) desktop->Release();
    return ok;
}
