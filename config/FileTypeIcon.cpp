#include "config/FileTypeIcon.h"

#include "config/ExtensionText.h"

#include <shellapi.h>

HICON FileTypeIcon(const std::wstring& extension, int size) {
    const std::wstring probe = FileTypeProbeName(extension);
    SHFILEINFOW info = {};
    const UINT kind = size <= GetSystemMetrics(SM_CXSMICON) ? SHGFI_SMALLICON : SHGFI_LARGEICON;
    SHGetFileInfoW(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                   SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | kind);
    if (info.hIcon == nullptr) return nullptr;
    // A copy of the same size is the image itself; the original goes either way.
    HICON sized =
        static_cast<HICON>(CopyImage(info.hIcon, IMAGE_ICON, size, size, LR_COPYDELETEORG));
    return sized != nullptr ? sized : info.hIcon;
}
