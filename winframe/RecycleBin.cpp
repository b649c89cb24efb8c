#include "winframe/RecycleBin.h"

bool IsRecycleBin(PCIDLIST_ABSOLUTE item) {
    if (item == nullptr) return false;
    PIDLIST_ABSOLUTE bin = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &bin)) || bin == nullptr) {
        return false;
    }
    bool same = false;
    IShellFolder* desktop = nullptr;
    if (SUCCEEDED(SHGetDesktopFolder(&desktop)) && desktop != nullptr) {
        HRESULT compared = desktop->CompareIDs(0, bin, item);
        same = SUCCEEDED(compared) && HRESULT_CODE(compared) == 0;
        desktop->Release();
    }
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator != nullptr) {
        allocator->Free(bin);
        allocator->Release();
    }
    return same;
}
