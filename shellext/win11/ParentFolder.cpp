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

constexpr UINT kLongPathUnits = 32768;

}  // namespace

bool FileSystemPath(PCIDLIST_ABSOLUTE id, std::wstring& path) {
    std::wstring buffer(kLongPathUnits, L'\0');
    if (!SHGetPathFromIDListEx(id, &buffer[0], kLongPathUnits, GPFIDL_DEFAULT)) return false;
    path = buffer.c_str();
    return true;
}

ParentFolder::~ParentFolder() { Forget(); }

void ParentFolder::Forget() {
    if (folder_ != nullptr) folder_->Release();
    folder_ = nullptr;
    ILFree(parentId_);
    parentId_ = nullptr;
    path_.clear();
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
    if (!FileSystemPath(parentId_, path_)) path_.clear();
    return true;
}

bool ParentFolder::Describe(IShellItem* item, SFGAOF asked, std::wstring& name,
                            std::wstring& path, SFGAOF& attributes) {
    PIDLIST_ABSOLUTE raw = nullptr;
    if (item == nullptr || FAILED(SHGetIDListFromObject(item, &raw))) return false;
    std::unique_ptr<ITEMIDLIST_ABSOLUTE, TaskMemFree> id(raw);
    if (ILIsEmpty(id.get()) || !Bind(id.get())) return false;
    PCUITEMID_CHILD child = ILFindLastID(id.get());
    STRRET text = {};
    LPWSTR parsed = nullptr;
    if (FAILED(folder_->GetDisplayNameOf(child, SHGDN_INFOLDER | SHGDN_FORPARSING, &text)) ||
        FAILED(StrRetToStrW(&text, child, &parsed))) {
        return false;
    }
    std::unique_ptr<wchar_t, TaskMemFree> owned(parsed);
    SFGAOF found = asked;
    if (FAILED(folder_->GetAttributesOf(1, &child, &found))) return false;
    name = owned.get();
    attributes = found & asked;
    if (!path_.empty()) {
        path = path_;
        if (path.back() != L'\\') path += L'\\';  // a drive's root ends in one already
        path += name;
    } else if (!FileSystemPath(id.get(), path)) {  // an item a library or search lists
        path.clear();
    }
    return true;
}
