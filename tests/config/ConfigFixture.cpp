#include "ConfigFixture.h"

#include "config/ConfigDlg.h"
#include "config/ConfigResources.h"
#include "store/AssociationStore.h"

#include <shlwapi.h>

const wchar_t kMainCaption[] = L"Wendrift Configuration";
const wchar_t kInfoCaption[] = L"WendriftConfig : Information";
const wchar_t kErrorCaption[] = L"WendriftConfig : ERROR";
const wchar_t kBrowserCaption[] = L"Browse for Folder";
const wchar_t kPickerTitlePrefix[] = L"Choose a new directory to associate with the file type [";
const wchar_t kCantAddCaption[] = L"Wendrift : Can't add directory";

namespace {

// Every extension and file type the dialog tests may create.
const wchar_t* const kOwnExtensions[] = {
    L".wdcfga", L".wdcfgb", L".wdcfgc", L".wdcfgd", L".wdcfge", L".wdcfgdoc", L".wdcfg",
    L".wdcfg.tar.gz", L".wdcfglost", L".new"};
const wchar_t kOwnFileType[] = L"wdcfgdocfile";

void RemoveOwnKeys() {
    for (const wchar_t* extension : kOwnExtensions) {
        RemoveExtension(extension);
        SHDeleteKeyW(HKEY_CLASSES_ROOT, extension);
    }
    SHDeleteKeyW(HKEY_CLASSES_ROOT, kOwnFileType);
    std::vector<std::wstring> stored;
    ListExtensions(stored);
    // Long test names are made up at run time: remove them by their prefix.
    for (const std::wstring& extension : stored) {
        if (extension.rfind(L".wdcfg", 0) == 0) {
            RemoveExtension(extension);
            SHDeleteKeyW(HKEY_CLASSES_ROOT, extension.c_str());
        }
    }
}

void SetClassValue(const std::wstring& path, const std::wstring& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

}  // namespace

void ConfigFixture::SetUp() {
    watchdog_.reset(new Watchdog(
        40, ::testing::UnitTest::GetInstance()->current_test_info()->name()));
    RemoveOwnKeys();
    // A file type the shell knows by name, so the list's type-name column can be checked.
    SetClassValue(L".wdcfgdoc", kOwnFileType);
    SetClassValue(kOwnFileType, L"Wendrift Test Document");

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    scratch_ = std::wstring(temp) + L"wdcfg-test";
    CreateDirectoryW(scratch_.c_str(), nullptr);
}

void ConfigFixture::TearDown() {
    if (main_ != nullptr && IsWindow(main_)) {
        // Close whatever a failed test left on top of the main dialog, then the dialog itself.
        for (int i = 0; i < 5; ++i) {
            HWND top = GetLastActivePopup(main_);
            if (top == main_ || top == nullptr) break;
            PostMessageW(top, WM_COMMAND, IDCANCEL, 0);
            PostMessageW(top, WM_CLOSE, 0, 0);
            WaitUntilGone(top, 1000);
        }
        PostMessageW(main_, WM_CLOSE, 0, 0);
    }
    ui_.reset();
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) RemoveDirectoryW(it->c_str());
    RemoveDirectoryW(scratch_.c_str());
    RemoveOwnKeys();
    watchdog_.reset();
}

void ConfigFixture::SaveScreenshot(HWND window, const wchar_t* fileName) {
    const std::wstring folder = BuildDir();
    ASSERT_FALSE(folder.empty());
    // Let the window finish painting first.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(150);
    EXPECT_TRUE(SaveWindowPng(window, folder + L"\\" + fileName));
}

void ConfigFixture::StoreExtension(const std::wstring& extension,
                                   const std::vector<std::wstring>& directories) {
    ASSERT_TRUE(AddExtension(extension));
    for (const std::wstring& directory : directories) {
        ASSERT_TRUE(AssociateDirectory(extension, directory));
    }
}

std::vector<std::wstring> ConfigFixture::StoredDirectories(const std::wstring& extension) {
    std::vector<std::wstring> directories;
    std::wstring directory;
    while (NextDirectory(extension, directory)) directories.push_back(directory);
    return directories;
}

bool ConfigFixture::ClassKeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::wstring ConfigFixture::ClassValue(const std::wstring& path, const std::wstring& name) {
    wchar_t data[1024] = {};
    DWORD bytes = sizeof(data) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name.empty() ? nullptr : name.c_str(),
                     RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS) {
        return L"<missing>";
    }
    return data;
}

std::wstring ConfigFixture::Folder(const std::wstring& name) {
    std::wstring path = scratch_ + L"\\" + name;
    CreateDirectoryW(path.c_str(), nullptr);
    folders_.push_back(path);
    return path;
}

HWND ConfigFixture::OpenMain() {
    ui_.reset(new UiThread([] {
        ConfigDlg dialog;
        dialog.DoModal(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CONFIG), nullptr);
    }));
    main_ = WaitForDialog(kMainCaption);
    EXPECT_NE(main_, nullptr);
    return main_;
}

bool ConfigFixture::CloseMain() {
    Click(main_, IDOK);
    bool gone = WaitUntilGone(main_);
    ui_.reset();
    return gone;
}

HWND ConfigFixture::OpenAdd() {
    Click(main_, IDC_ADD_EXTENSION);
    HWND dialog = WaitForDialog(L"Wendrift: [.new]");
    EXPECT_NE(dialog, nullptr);
    return dialog;
}

void ConfigFixture::PickFolder(HWND editDialog, const std::wstring& path) {
    // The picker is titled with the extension the edit dialog's caption shows in brackets.
    const std::wstring caption = WindowText(editDialog);
    const std::wstring bracketed = caption.substr(caption.find(L'['));
    Click(editDialog, IDC_ADD_DIRECTORY);
    HWND picker = WaitForFolderDialog(kPickerTitlePrefix + bracketed.substr(1) + L":");
    ASSERT_NE(picker, nullptr) << "no picker titled for " << bracketed.size();
    ChooseInFolderDialog(picker, path);
    ASSERT_TRUE(WaitUntilGone(picker));
    // The dialog goes on with the picked folder once the picker has gone.
    Settle(editDialog);
}
