// The one rule for a folder the user picks, in the configuration program's "Add..." and in the
// menus' "Other folder...": a real folder with a full path of its own, so that any program can
// find it again. Both pickers ask it through PickFolder (FolderPicker.h), so they cannot disagree.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

enum class FolderVerdict {
    Usable,
    RecycleBin,   // a virtual folder that files cannot be copied into by path
    NoPath,       // any other virtual folder (a computer, the control panel...)
    NotAbsolute,  // a path without a drive or share (IsAbsoluteDirectory)
};

// The rule from the facts: path is the folder's file-system path, empty when it has none.
FolderVerdict JudgeFolder(bool recycleBin, const std::wstring& path);

// The facts for a folder a picker handed back. path receives its file-system path (empty when
// it has none), name what the user saw of it (the path, or its display name).
FolderVerdict JudgeFolderItem(PCIDLIST_ABSOLUTE item, std::wstring& path, std::wstring& name);

// Tells the user why a folder was refused (nothing for a usable one), owned by `owner`, in
// `language` (0: the one chosen now).
void WarnRefusedFolder(HWND owner, FolderVerdict verdict, const std::wstring& name,
                       LANGID language);
