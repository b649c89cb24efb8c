// The Uninstall export: every stored extension is unhooked from its file type and removed from
// the store with what the folder picker remembered, a failure is reported in a message box and
// does not stop the others.
#include "ShellextKit.h"

#include "UiDriver.h"
#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"
#include "tests/store/RegistryTree.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using UninstallEntry = int(__cdecl*)();

const std::wstring kStore = kStoreBaseKey;
const wchar_t kCaption[] = L"Wendrift Uninstall : ERROR";

class UninstallExport : public ::testing::Test {
protected:
    // Uninstall removes every stored extension: keep whatever another test left, and put it back.
    void SetUp() override {
        saved_ = RegistryTree::Read(HKEY_CURRENT_USER, kStore);
        std::vector<std::wstring> extensions;
        ListExtensions(extensions);
        for (const std::wstring& extension : extensions) RemoveExtension(extension);
        uninstall_ = reinterpret_cast<UninstallEntry>(
            reinterpret_cast<void*>(shellkit::Export("Uninstall")));
        ASSERT_NE(uninstall_, nullptr);
    }
    void TearDown() override { saved_.Restore(HKEY_CURRENT_USER, kStore); }

    RegistryTree saved_;
    UninstallEntry uninstall_ = nullptr;
};

TEST_F(UninstallExport, WithAnEmptyStoreAnswers0AndShowsNothing) {
    HKEY base = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kStore.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &base, nullptr);
    RegCloseKey(base);
    std::wstring shown;
    std::thread user([&] { shown = AnswerMessageBox(kCaption, IDOK, 500); });
    EXPECT_EQ(uninstall_(), 0);
    user.join();
    EXPECT_TRUE(shown.empty()) << "no message box";
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kStore));
}

TEST_F(UninstallExport, WithThreeExtensionsAnswers3AndReportsTheOneThatFailed) {
    // .wdtest4 has a file type of its own, .wdtest5 none (it gets the ProgID as its type),
    // .wdtest6 is in the store only: unregistering it fails.
    RegistryTree classes4 = RegistryTree::Read(HKEY_CLASSES_ROOT, L".wdtest4");
    RegistryTree type4 = RegistryTree::Read(HKEY_CLASSES_ROOT, L"wdtest4file");
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CLASSES_ROOT, L".wdtest4", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"wdtest4file"), 11 * sizeof(wchar_t));
    RegCloseKey(key);
    ASSERT_TRUE(RegisterExtension(L".wdtest4", true));
    ASSERT_TRUE(RegisterExtension(L".wdtest5", true));
    for (const wchar_t* extension : {L".wdtest4", L".wdtest5", L".wdtest6"}) {
        ASSERT_TRUE(AddExtension(extension));
        ASSERT_TRUE(AssociateDirectory(extension, L"c:\\somewhere"));
    }
    ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"wdtest4file\\shellex\\ContextMenuHandlers\\Wendrift"));
    // What "Other folder..." kept for next time goes as well.
    HKEY picker = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wendrift\\Picker\\Last folders", 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &picker, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(picker);
    // And so does the language chosen (English here, so the message below reads as it does).
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wendrift", L"Language", REG_SZ, L"en", 4),
              ERROR_SUCCESS);
    RegistryTree server = RegistryTree::Read(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + kShellCallbackClassIdText);

    Watchdog guard(30, "Uninstall waits for a message box nobody answers");
    std::wstring shown;
    std::thread user([&] { shown = AnswerMessageBox(kCaption, IDOK, 10000); });
    EXPECT_EQ(uninstall_(), 3);
    user.join();
    EXPECT_EQ(shown,
              L"An error occurred while unregistering the file type [.wdtest6]. Either this file "
              L"type is not currently registered, or you may need to manually remove the registry "
              L"entries.");

    std::vector<std::wstring> left;
    EXPECT_EQ(ListExtensions(left), 0) << "all three left the store, the failed one included";
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kStore)) << "the base key stays";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Wendrift\\Picker"));
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wendrift", L"Language", RRF_RT_ANY,
                           nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"wdtest4file\\shellex\\ContextMenuHandlers\\Wendrift"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"wdtest4file"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L".wdtest4\\CLSID\\") + kShellCallbackClassIdText));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L".wdtest5\\CLSID\\") + kShellCallbackClassIdText));
    EXPECT_EQ(RegistryTree::Read(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + kShellCallbackClassIdText), server)
        << "the COM server registration is not Uninstall's business";

    classes4.Restore(HKEY_CLASSES_ROOT, L".wdtest4");
    type4.Restore(HKEY_CLASSES_ROOT, L"wdtest4file");
    SHDeleteKeyW(HKEY_CLASSES_ROOT, L".wdtest5");
}

}  // namespace
