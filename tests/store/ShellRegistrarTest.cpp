// The shell registration against HKEY_CLASSES_ROOT of the Wine prefix (writes land in
// HKLM\Software\Classes). Other test programs register the real server in the same prefix:
// every key touched here is read first and put back afterwards.
#include "store/ShellRegistrar.h"
#include "tests/store/RegistryTree.h"
#include "winframe/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::wstring kClsid = kShellCallbackClassIdText;
const std::wstring kServer = L"CLSID\\" + kClsid;
const std::wstring kProgIdKey = kProgId;
const std::wstring kSharedHandler = kProgIdKey + L"\\shellex\\ContextMenuHandlers\\Wendrift";
const std::wstring kLibrary = L"C:\\Program Files\\Wendrift\\Wendrift.dll";

// Keys this test changes; restored after each test.
const std::vector<std::wstring> kTouched = {kServer,     kProgIdKey,  L".txt",     L"txtfile",
                                            L".zwdrg1",  L".zwdrg2",  L".zwdrg3",  L"zwdrgtype"};

std::wstring Marker(const std::wstring& extension) { return extension + L"\\CLSID\\" + kClsid; }
std::wstring Handler(const std::wstring& fileType) {
    return fileType + L"\\shellex\\ContextMenuHandlers\\Wendrift";
}

RegistryTree Read(const std::wstring& path) { return RegistryTree::Read(HKEY_CLASSES_ROOT, path); }

// Expects a REG_SZ value written with exactly 2 bytes per unit (plus the terminator the
// registry adds itself when the data is followed by one).
void ExpectString(const std::wstring& path, const std::wstring& name, const std::wstring& text) {
    SCOPED_TRACE(testing::Message() << "key " << std::string(path.begin(), path.end()));
    RegistryValue value;
    ASSERT_TRUE(ReadRawValue(HKEY_CLASSES_ROOT, path, name, value));
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.data.size(), text.size() * 2 + 2);
    EXPECT_EQ(AsText(value).substr(0, text.size()), text);
}

void MakeKey(const std::wstring& path, const wchar_t* defaultValue, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (defaultValue) {
        ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(defaultValue), bytes),
                  ERROR_SUCCESS);
    }
    RegCloseKey(key);
}

void MakeKey(const std::wstring& path, const std::wstring& defaultValue) {
    MakeKey(path, defaultValue.c_str(), static_cast<DWORD>(defaultValue.size() * 2));
}

class ShellRegistrarTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& path : kTouched) saved_.push_back(Read(path));
        for (const auto& path : kTouched) SHDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
    }
    void TearDown() override {
        for (size_t i = 0; i < kTouched.size(); ++i) saved_[i].Restore(HKEY_CLASSES_ROOT, kTouched[i]);
    }
    std::vector<RegistryTree> saved_;
};

TEST_F(ShellRegistrarTest, RegisterServerWritesTheFourEntries) {
    ASSERT_EQ(RegisterServer(kLibrary, true), S_OK);
    ExpectString(kServer + L"\\InprocServer32", L"", kLibrary);
    ExpectString(kServer + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    ExpectString(kProgIdKey + L"\\CLSID", L"", kClsid);
    ExpectString(kSharedHandler, L"", kClsid);
    // Nothing else: the server key holds only InprocServer32 with its two values.
    RegistryTree server = Read(kServer);
    EXPECT_TRUE(server.values.empty());
    ASSERT_EQ(server.subkeys.size(), 1u);
    EXPECT_EQ(server.subkeys.begin()->second.values.size(), 2u);
    EXPECT_EQ(Read(kProgIdKey).subkeys.size(), 2u);  // CLSID and shellex
}

TEST_F(ShellRegistrarTest, RegisteringTwiceRewritesTheSameValues) {
    ASSERT_EQ(RegisterServer(L"C:\\old\\Wendrift.dll", true), S_OK);
    RegistryTree firstProgId = Read(kProgIdKey);
    ASSERT_EQ(RegisterServer(kLibrary, true), S_OK);
    ExpectString(kServer + L"\\InprocServer32", L"", kLibrary);
    EXPECT_EQ(Read(kServer + L"\\InprocServer32").values.size(), 2u);
    EXPECT_TRUE(Read(kProgIdKey) == firstProgId);

    ASSERT_TRUE(RegisterExtension(L".zwdrg1", true));
    RegistryTree once = Read(L".zwdrg1");
    ASSERT_TRUE(RegisterExtension(L".zwdrg1", true));
    EXPECT_TRUE(Read(L".zwdrg1") == once);
}

TEST_F(ShellRegistrarTest, UnregisterServerDeletesBothTrees) {
    ASSERT_EQ(RegisterServer(kLibrary, true), S_OK);
    EXPECT_EQ(RegisterServer(kLibrary, false), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kServer));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kProgIdKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
}

TEST_F(ShellRegistrarTest, UnregisteringANeverRegisteredServerFailsAndLeavesNothing) {
    EXPECT_EQ(RegisterServer(kLibrary, false), E_FAIL);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kServer + L"\\InprocServer32"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kServer));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kProgIdKey));
}

TEST_F(ShellRegistrarTest, AnExtensionTheShellNeverSawGetsOurProgIdAsFileType) {
    ASSERT_TRUE(RegisterExtension(L".zwdrg1", true));
    std::wstring directory;
    ASSERT_TRUE(GetModuleDirectory(directory));
    // Plain values of the marker key, not subkeys.
    ExpectString(Marker(L".zwdrg1"), L"InprocServer32", directory + L"Wendrift.dll");
    ExpectString(Marker(L".zwdrg1"), L"ThreadingModel", L"Apartment");
    EXPECT_TRUE(Read(Marker(L".zwdrg1")).subkeys.empty());
    ExpectString(L".zwdrg1", L"", kProgIdKey);
    // Its handler is the shared one RegisterServer writes; nothing else is added for it.
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".zwdrg1\\shellex"));
}

TEST_F(ShellRegistrarTest, TxtHooksIntoTxtfileAndLeavesTheRestOfItAlone) {
    MakeKey(L".txt", L"txtfile");
    MakeKey(L"txtfile\\shell\\open\\command", L"notepad.exe \"%1\"");
    MakeKey(L"txtfile\\shellex\\ContextMenuHandlers\\Other", L"{00000000-1111-2222-3333-444444444444}");
    RegistryTree before = Read(L"txtfile");

    ASSERT_TRUE(RegisterExtension(L".txt", true));
    ExpectString(Handler(L"txtfile"), L"", kClsid);
    ExpectString(L".txt", L"", L"txtfile");
    RegistryTree after = Read(L"txtfile");
    after.subkeys[L"shellex"].subkeys[L"ContextMenuHandlers"].subkeys.erase(L"Wendrift");
    EXPECT_TRUE(after == before);

    ASSERT_TRUE(RegisterExtension(L".txt", false));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, Handler(L"txtfile")));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, Marker(L".txt")));
    EXPECT_TRUE(Read(L"txtfile") == before);
    ExpectString(L".txt", L"", L"txtfile");
}

TEST_F(ShellRegistrarTest, ADefaultValueOfZeroBytesMeansNoFileType) {
    MakeKey(L".zwdrg1", L"", 0);
    ASSERT_TRUE(RegisterExtension(L".zwdrg1", true));
    ExpectString(L".zwdrg1", L"", kProgIdKey);

    MakeKey(L".zwdrg2", L"", 0);
    ASSERT_TRUE(RegisterFileTypeHandler(L".zwdrg2", false));  // nothing of ours is left for it
    RegistryValue value;
    ASSERT_TRUE(ReadRawValue(HKEY_CLASSES_ROOT, L".zwdrg2", L"", value));
    EXPECT_EQ(value.data.size(), 0u);
}

TEST_F(ShellRegistrarTest, UnregisteringAMissingExtensionFailsAndDeletesNothing) {
    ASSERT_EQ(RegisterServer(kLibrary, true), S_OK);
    RegistryTree server = Read(kServer), progId = Read(kProgIdKey);
    EXPECT_FALSE(RegisterExtension(L".zwdrg1", false));
    EXPECT_FALSE(RegisterFileTypeHandler(L".zwdrg1", false));
    EXPECT_FALSE(RegisterFileTypeHandler(L".zwdrg1", true));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".zwdrg1"));
    EXPECT_TRUE(Read(kServer) == server);
    EXPECT_TRUE(Read(kProgIdKey) == progId);
}

TEST_F(ShellRegistrarTest, AFileTypeKeepsItsOtherHandlersWhenWeUnhook) {
    MakeKey(L".zwdrg1", L"zwdrgtype");
    MakeKey(L"zwdrgtype\\shellex\\ContextMenuHandlers\\Other", L"{other}");
    ASSERT_TRUE(RegisterExtension(L".zwdrg1", true));
    ExpectString(Handler(L"zwdrgtype"), L"", kClsid);
    ExpectString(L".zwdrg1", L"", L"zwdrgtype");
    ASSERT_TRUE(RegisterExtension(L".zwdrg1", false));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, Handler(L"zwdrgtype")));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"zwdrgtype\\shellex\\ContextMenuHandlers\\Other"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, Marker(L".zwdrg1")));
    ExpectString(L".zwdrg1", L"", L"zwdrgtype");
}

TEST_F(ShellRegistrarTest, UnhookingOneOfOurProgIdExtensionsKeepsTheSharedHandler) {
    ASSERT_EQ(RegisterServer(kLibrary, true), S_OK);
    ASSERT_TRUE(RegisterExtension(L".zwdrg1", true));
    ASSERT_TRUE(RegisterExtension(L".zwdrg2", true));
    MakeKey(L".zwdrg3", L"WENDRIFT.shellcallback.1");  // registry names ignore case
    ASSERT_TRUE(RegisterExtension(L".zwdrg3", true));

    EXPECT_TRUE(RegisterExtension(L".zwdrg1", false));
    EXPECT_TRUE(RegisterExtension(L".zwdrg3", false));
    ExpectString(kSharedHandler, L"", kClsid);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, Marker(L".zwdrg1")));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, Marker(L".zwdrg3")));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, Marker(L".zwdrg2")));
    ExpectString(L".zwdrg1", L"", kProgIdKey);  // the file type we gave it stays
    // The server registration is still whole.
    EXPECT_EQ(RegisterServer(kLibrary, false), S_OK);
}

TEST_F(ShellRegistrarTest, AnExtensionWhoseFileTypeWasTakenAwayUnregistersWhenNothingOfOursIsLeft) {
    MakeKey(L".zwdrg1", L"zwdrgtype");
    ASSERT_TRUE(RegisterExtension(L".zwdrg1", true));
    // Other software removes the file type afterwards.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L".zwdrg1", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegDeleteValueW(key, nullptr);
    RegCloseKey(key);
    EXPECT_TRUE(RegisterExtension(L".zwdrg1", false));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, Marker(L".zwdrg1")));
    RegistryValue value;
    EXPECT_FALSE(ReadRawValue(HKEY_CLASSES_ROOT, L".zwdrg1", L"", value));  // not given one now

    // A handler key of ours under the extension itself still serves it: false, marker stays.
    ASSERT_TRUE(RegisterExtension(L".zwdrg2", true));
    HKEY ext = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L".zwdrg2", 0, KEY_ALL_ACCESS, &ext), ERROR_SUCCESS);
    RegDeleteValueW(ext, nullptr);
    RegCloseKey(ext);
    MakeKey(Handler(L".zwdrg2"), kClsid);
    EXPECT_FALSE(RegisterExtension(L".zwdrg2", false));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, Marker(L".zwdrg2")));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, Handler(L".zwdrg2")));
}

TEST_F(ShellRegistrarTest, NamesThatAreNotOneKeyTouchNothing) {
    ASSERT_EQ(RegisterServer(kLibrary, true), S_OK);
    MakeKey(L".zwdrg1", L"zwdrgtype");
    RegistryTree server = Read(kServer), progId = Read(kProgIdKey), ext = Read(L".zwdrg1");
    const std::vector<std::wstring> bad = {L"", L"\\", L".zwdrg1\\sub", std::wstring(L".zwdrg1\0x", 9),
                                           L"." + std::wstring(300, L'k')};
    for (const auto& extension : bad) {
        SCOPED_TRACE(testing::Message() << "extension of " << extension.size() << " units");
        for (bool registering : {true, false}) {
            EXPECT_FALSE(RegisterExtension(extension, registering));
            EXPECT_FALSE(RegisterFileTypeHandler(extension, registering));
        }
        EXPECT_TRUE(Read(kServer) == server);
        EXPECT_TRUE(Read(kProgIdKey) == progId);
        EXPECT_TRUE(Read(L".zwdrg1") == ext);
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"zwdrgtype"));
    }
}

}  // namespace
