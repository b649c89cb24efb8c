// An image list of icons, owned: the destructor destroys it. A list view it is assigned to must
// therefore have LVS_SHAREIMAGELISTS and must not outlive this object.
#pragma once

#include <windows.h>
#include <commctrl.h>

class IconList {
public:
    IconList() = default;
    virtual ~IconList();
    IconList(const IconList&) = delete;
    IconList& operator=(const IconList&) = delete;

    // ImageList_Create; a null module means the program's own. False when no list was made.
    bool Create(int width, int height, UINT flags, int initial, int grow, HMODULE module);
    // Appends a copy of `icon` and destroys `icon`; -1 (icon left to the caller) on failure.
    int AddIcon(HICON icon);

    HIMAGELIST Handle() const { return list_; }
    HMODULE Module() const { return module_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    HMODULE module_ = nullptr;
    HIMAGELIST list_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
