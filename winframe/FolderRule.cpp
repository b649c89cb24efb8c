#include "winframe/FolderRule.h"

#include "winframe/PathRules.h"
#include "winframe/RecycleBin.h"
#include "winframe/TextHelpers.h"

namespace {
const wchar_t kCantAddCaption[] = L"Wendrift : Can't add directory";
}  // namespace

FolderVerdict JudgeFolder(bool recycleBin, const std::wstring& path) {
    if (recycleBin) return FolderVerdict::RecycleBin;
    if (path.empty()) return FolderVerdict::NoPath;
    // A network computer (\\server) has a path but no share: nothing can be stored in it.
    if (!IsAbsoluteDirectory(path)) return FolderVerdict::NotAbsolute;
    return FolderVerdict::Usable;
}

FolderVerdict JudgeFolderItem(PCIDLIST_ABSOLUTE item, std::wstring& path, std::wstring& name) {
    path.clear();
    name.clear();
    wchar_t buffer[MAX_PATH] = {};
    if (item != nullptr && SHGetPathFromIDListW(item, buffer) == TRUE) path = buffer;
    name = path;
    if (name.empty() && item != nullptr) {
        SHFILEINFOW info = {};
        if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item), 0, &info, sizeof(info),
                           SHGFI_PIDL | SHGFI_DISPLAYNAME) != 0) {
            name = info.szDisplayName;
        }
    }
    return JudgeFolder(IsRecycleBin(item), path);
}

void WarnRefusedFolder(HWND owner, FolderVerdict verdict, const std::wstring& name) {
    switch (verdict) {
    case FolderVerdict::Usable:
        return;
    case FolderVerdict::RecycleBin:
        ShowMessage(owner,
                    L"The 'Recycle Bin' virtual folder cannot be added. Please choose another "
                    L"directory.",
                    kCantAddCaption, MB_ICONWARNING);
        return;
    case FolderVerdict::NoPath:
    case FolderVerdict::NotAbsolute:
        ShowFormattedMessage(owner, kCantAddCaption, MB_ICONWARNING,
                             L"The directory you chose:\n\n%s\n\nis not a valid directory. Please "
                             L"choose another.",
                             name.c_str());
        return;
    }
}
