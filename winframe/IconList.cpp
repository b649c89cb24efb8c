#include "winframe/IconList.h"

IconList::~IconList() {
    if (list_ != nullptr) {
        ImageList_Destroy(list_);
    }
}

bool IconList::Create(int width, int height, UINT flags, int initial, int grow, HMODULE module) {
    HIMAGELIST list = ImageList_Create(width, height, flags, initial, grow);
    if (list == nullptr) {
        return false;
    }
    list_ = list;
    width_ = width;
    height_ = height;
    module_ = module != nullptr ? module : GetModuleHandleW(nullptr);
    return true;
}

int IconList::AddIcon(HICON icon) {
    int index = ImageList_ReplaceIcon(list_, -1, icon);
    // The list keeps a copy of its own; the caller's icon is ours to free only once added.
    if (index != -1) {
        DestroyIcon(icon);
    }
    return index;
}
