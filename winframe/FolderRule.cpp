#include "winframe/FolderRule.h"

#include "texts/TextIds.h"
#include "winframe/Languages.h"
#include "winframe/PathRules.h"
#include "winframe/RecycleBin.h"
#include "winframe/Texts.h"

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

void WarnRefusedFolder(HWND owner, FolderVerdict verdict, const std::wstring& name,
                       LANGID language) {
    if (verdict == FolderVerdict::Usable) return;
    if (language == 0) language = ChosenLanguage();
    ShowTextMessage(owner, language, IDS_CANT_ADD_DIRECTORY_CAPTION, MB_ICONWARNING,
                    verdict == FolderVerdict::RecycleBin ? IDS_RECYCLE_BIN_REFUSED
                                                         : IDS_NOT_A_VALID_DIRECTORY,
                    name.c_str());
}
