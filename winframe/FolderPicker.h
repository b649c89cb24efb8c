// The one folder picker of both programs: the configuration program's "Add..." and the menus'
// "Other folder...". Where the platform has it, the modern file dialog in folder mode
// (IFileOpenDialog); elsewhere (Windows XP) the folder browser (SHBrowseForFolderW). Either way
// only a folder the folder rule accepts (FolderRule.h) comes back: a refused choice is explained
// and the user chooses again.
#pragma once

#include <windows.h>

#include <string>

struct FolderPick {
    HWND owner = nullptr;      // null: the picker is a window of its own
    std::wstring title;        // says what the folder is for
    std::wstring startFolder;  // empty: where the platform starts
    // A check box below the folders with this text, first ticked as `checked` says; empty: none.
    // The folder browser has no room for one: it asks `checkQuestion` as a Yes/No question
    // instead, once a folder was chosen.
    std::wstring checkLabel;
    std::wstring checkQuestion;
    bool checked = false;
    std::wstring folder;  // out: the chosen folder's full path, as the shell spells it
    LANGID language = 0;  // of the picker's own messages; 0: the one chosen now
};

// Runs the picker modally on this thread (in a COM apartment of its own when the thread has
// none). True with `folder` (and `checked`) filled when a folder was chosen, false on Cancel.
bool PickFolder(FolderPick& pick);

// The folder browser's callback (for tests of the browser, whose edit box Wine never
// validates): BFFM_VALIDATEFAILEDW warns about the typed name and keeps the browser open.
int CALLBACK FolderBrowserCallback(HWND browser, UINT message, LPARAM parameter, LPARAM data);
