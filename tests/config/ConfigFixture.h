// Common ground of the dialog tests: the extensions and class keys they use (all named
// ".wdcfg..." so they never meet another area's), scratch folders to pick in the folder browser,
// and the main dialog run on a UI thread of its own.
#pragma once

#include "ConfigUi.h"
#include "FolderPickerDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

extern const wchar_t kMainCaption[];     // "Wendrift Configuration"
extern const wchar_t kInfoCaption[];     // "WendriftConfig : Information"
extern const wchar_t kErrorCaption[];    // "WendriftConfig : ERROR"
extern const wchar_t kBrowserCaption[];  // "Browse for Folder" (Wine's own)
// The folder picker's title up to the extension.
extern const wchar_t kPickerTitlePrefix[];
extern const wchar_t kCantAddCaption[];  // "Wendrift : Can't add directory"

class ConfigFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Store contents set up without the program.
    static void StoreExtension(const std::wstring& extension,
                               const std::vector<std::wstring>& directories);
    static std::vector<std::wstring> StoredDirectories(const std::wstring& extension);
    static bool ClassKeyExists(const std::wstring& path);
    static std::wstring ClassValue(const std::wstring& path, const std::wstring& name);

    // A scratch folder that exists on disk: <temp>\wdcfg-test\<name>.
    std::wstring Folder(const std::wstring& name);

    // Starts ConfigDlg modally on a UI thread; the main window, or a failed assertion.
    HWND OpenMain();
    // OK on the main dialog; true once its thread has returned from DoModal.
    bool CloseMain();
    HWND MainList() const { return GetDlgItem(main_, 1002); }

    // Opens the edit dialog for a new extension from the main dialog's Add button.
    HWND OpenAdd();
    // Add... in the edit dialog, then the folder typed into the picker, then its OK.
    void PickFolder(HWND editDialog, const std::wstring& path);

    // A screenshot of `window` in the build folder, for the README.
    static void SaveScreenshot(HWND window, const wchar_t* fileName);

    // A dialog nobody answers ends the run with a message instead of hanging it.
    std::unique_ptr<Watchdog> watchdog_;
    HWND main_ = nullptr;
    std::unique_ptr<UiThread> ui_;
    std::wstring scratch_;
    std::vector<std::wstring> folders_;
};
