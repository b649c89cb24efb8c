#include "shellext/win11/ParentFolder.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <memory>

namespace {

struct TaskMemFree {
    void operator()(void* block) const { CoTaskMemFree(block); }
};

// Compared byte for byte: the shell's own comparison would bind the folders it compares. Two
// different id lists for the same folder only cost a second bind.
bool SameIdList(PCIDLIST_ABSOLUTE a, PCIDLIST_ABSOLUTE b) {
    UINT size = ILGetSize(a);
    return size == ILGetSize(b) && std::memcmp(a, b, size) == 0;
}

}  // namespace

ParentFolder::~ParentFolder() { Forget(); }

void ParentFolder::Forget() {
    if (folder_ != nullptr) folder_->Release();
    folder_ = nullptr;
    ILFree(parentId_);
    parentId_ = nullptr;
}

bool ParentFolder::Bind(PCIDLIST_ABSOLUTE item) {
    PIDLIST_ABSOLUTE parent = ILClone(item);
    if (parent == nullptr || !ILRemoveLastID(parent)) {
        ILFree(parent);
        return false;
    }
    if (folder_ != nullptr && SameIdList(parent, parentId_)) {
        ILFree(parent);
        return true;
    }
    Forget();
    IShellFolder* folder = nullptr;
    PCUITEMID_CHILD child = nullptr;
    if (FAILED(SHBindToParent(item, IID_IShellFolder, reinterpret_cast<void**>(&folder), &child))) {
        ILFree(parent);
        return false;
    }
    folder_ = folder;
    parentId_ = parent;
    return true;
}

bool ParentFolder::Describe(IShellItem* item, SFGAOF asked, std::wstring& name,
                            std::wstring& path, SFGAOF& attributes) {
    PIDLIST_ABSOLUTE raw = nullptr;
    if (item == nullptr || FAILED(SHGetIDListFromObject(item, &raw))) return false;
    std::unique_ptr<ITEMIDLIST_ABSOLUTE, TaskMemFree> id(raw);
    if (ILIsEmpty(id.get()) || !Bind(id.get())) return false;
    PCUITEMID_CHILD child = ILFindLastID(id.get());
    // The full parsing name: the bound folder joins its own path and the item's name, at the
    // cost of the name alone.
    STRRET text = {};
    LPWSTR parsed = nullptr;
    if (FAILED(folder_->GetDisplayNameOf(child, SHGDN_FORPARSING, &text)) ||
        FAILED(StrRetToStrW(&text, child, &parsed))) {
        return false;
    }
    std::unique_ptr<wchar_t, TaskMemFree> owned(parsed);
    SFGAOF found = asked | SFGAO_FILESYSTEM;
    if (FAILED(folder_->GetAttributesOf(1, &child, &found))) return false;
    path = owned.get();
    name = path.substr(path.find_last_of(L'\\') + 1);
    attributes = found & asked;
    if (!(found & SFGAO_FILESYSTEM)) path.clear();
    return true;
}
