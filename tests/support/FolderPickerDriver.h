// Driving the folder picker (winframe/FolderPicker.h) as Wine 8 draws it: the modern file
// dialog in folder mode, whose caption is the picker's title, or, with the modern dialog hidden,
// the folder browser.
#pragma once

#include "NextRunUndo.h"

#include <windows.h>

#include <string>
#include <vector>

// The modern dialog with this caption, in any process; null after the timeout.
HWND WaitForFolderDialog(const std::wstring& title, DWORD timeoutMs = 5000);
// Types the folder into the dialog's name box and presses its OK button. Wine's dialog takes
// only typed paths: with an empty name box its OK does nothing.
void ChooseInFolderDialog(HWND dialog, const std::wstring& folder);
// The dialog's check box ("Remember this folder for ..."), or null.
HWND FolderDialogCheckBox(HWND dialog);
// The names the dialog's folder view lists (only for a dialog of this process).
std::vector<std::wstring> FolderDialogListing(HWND dialog);

// Hides the modern dialog's class from COM while it lives, as on a system without it, so the
// picker falls back to the folder browser. The registration is put back on destruction, or by
// the next test run after a killed one.
class WithoutModernFolderDialog {
public:
    WithoutModernFolderDialog();
    ~WithoutModernFolderDialog();
    WithoutModernFolderDialog(const WithoutModernFolderDialog&) = delete;
    WithoutModernFolderDialog& operator=(const WithoutModernFolderDialog&) = delete;

private:
    std::wstring server_;
    NextRunUndo undo_;
};

// The shell's name for a shell folder (CSIDL_DRIVES...), as the browser's tree shows it.
std::wstring ShellFolderName(int csidl);
// In the folder browser: selects the shell folder (CSIDL_BITBUCKET, CSIDL_DRIVES...) right below
// the tree's root, or a folder by path, and presses OK. False when it could not be selected.
bool ChooseShellFolderInBrowser(HWND browser, int csidl);
bool ChooseFolderInBrowser(HWND browser, const std::wstring& path);
