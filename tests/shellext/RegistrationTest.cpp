// The library registered by Wine's own regsvr32, exactly as the shell will look for it, and
// unregistered again.
#include "ShellextKit.h"

#include "WendriftClassIds.h"
#include "store/ShellRegistrar.h"
#include "tests/store/RegistryTree.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

const std::wstring kClassKey = std::wstring(L"CLSID\\") + kShellCallbackClassIdText;
const std::wstring kProgIdKey = kProgId;

std::set<std::wstring> Names(const RegistryTree& tree) {
    std::set<std::wstring> names;
    for (const auto& entry : tree.subkeys) names.insert(entry.first);
    return names;
}

std::set<std::wstring> ValueNames(const RegistryTree& tree) {
    std::set<std::wstring> names;
    for (const auto& entry : tree.values) names.insert(entry.first);
    return names;
}

// A REG_SZ written without terminator: Wine may add one of its own when it reads back, so the
// byte count is 2n or 2n + 2 with a zero last unit; anything else is a different value.
void ExpectString(const RegistryTree& key, const std::wstring& name, const std::wstring& text) {
    SCOPED_TRACE(name.empty() ? std::wstring(L"(default)") : name);
    auto found = key.values.find(name);
    ASSERT_NE(found, key.values.end());
    const RegistryValue& value = found->second;
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    size_t bytes = text.size() * sizeof(wchar_t);
    ASSERT_TRUE(value.data.size() == bytes || value.data.size() == bytes + 2)
        << value.data.size() << " bytes for " << text.size() << " characters";
    std::wstring stored = AsText(value);
    if (value.data.size() == bytes + 2) {
        EXPECT_EQ(stored.back(), L'\0');
        stored.pop_back();
    }
    EXPECT_EQ(stored, text);
}

class Registration : public ::testing::Test {
protected:
    void TearDown() override {
        // Leave the server registered for the tests that create the handler through COM.
        EXPECT_EQ(shellkit::Regsvr32(L"/s"), 0);
    }
};

TEST_F(Registration, Regsvr32WritesTheFourServerEntriesAndNothingElse) {
    ASSERT_EQ(shellkit::Regsvr32(L"/s"), 0);

    RegistryTree server = RegistryTree::Read(HKEY_CLASSES_ROOT, kClassKey);
    ASSERT_TRUE(server.exists);
    EXPECT_TRUE(server.values.empty());
    EXPECT_EQ(Names(server), std::set<std::wstring>{L"InprocServer32"});
    const RegistryTree& inproc = server.subkeys[L"InprocServer32"];
    EXPECT_EQ(ValueNames(inproc), (std::set<std::wstring>{L"", L"ThreadingModel"}));
    ExpectString(inproc, L"", shellkit::LibraryPath());
    ExpectString(inproc, L"ThreadingModel", L"Apartment");
    EXPECT_TRUE(inproc.subkeys.empty());

    RegistryTree progId = RegistryTree::Read(HKEY_CLASSES_ROOT, kProgIdKey);
    ASSERT_TRUE(progId.exists);
    EXPECT_TRUE(progId.subkeys.count(L"CLSID"));
    EXPECT_TRUE(progId.subkeys.count(L"shellex"));
    ExpectString(progId.subkeys[L"CLSID"], L"", kClassIdText);
    EXPECT_EQ(ValueNames(progId.subkeys[L"CLSID"]), std::set<std::wstring>{L""});
    RegistryTree& handlers = progId.subkeys[L"shellex"].subkeys[L"ContextMenuHandlers"];
    ASSERT_TRUE(handlers.subkeys.count(L"Wendrift"));
    ExpectString(handlers.subkeys[L"Wendrift"], L"", kClassIdText);

    // Registering twice rewrites the same values.
    ASSERT_EQ(shellkit::Regsvr32(L"/s"), 0);
    EXPECT_EQ(RegistryTree::Read(HKEY_CLASSES_ROOT, kClassKey), server);
}

TEST_F(Registration, UnregisteringRemovesBothTreesAndFailsWhenTheProgIdIsGone) {
    ASSERT_EQ(shellkit::Regsvr32(L"/s"), 0);
    ASSERT_EQ(shellkit::Regsvr32(L"/u /s"), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kProgIdKey));

    auto unregister = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(shellkit::Export("DllUnregisterServer")));
    ASSERT_NE(unregister, nullptr);
    EXPECT_EQ(unregister(), E_FAIL);
    // The server key it had to open on the way is gone again.
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_NE(shellkit::Regsvr32(L"/u /s"), 0) << "regsvr32 reports the failure";
}

TEST_F(Registration, ExportsAnswerWhatCallersExpect) {
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(shellkit::Export("DllCanUnloadNow")));
    auto registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(shellkit::Export("DllRegisterServer")));
    ASSERT_NE(canUnload, nullptr);
    ASSERT_NE(registerServer, nullptr);
    EXPECT_NE(shellkit::Export("Uninstall"), nullptr);
    EXPECT_EQ(canUnload(), S_FALSE);
    EXPECT_EQ(registerServer(), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);
}

TEST_F(Registration, ALibraryWhosePathDoesNotFitIsNotRegisteredUnderACutPath) {
    // A copy of the library in a folder deep enough that its full path exceeds MAX_PATH.
    shellkit::ScratchFolder root(L"deep");
    std::wstring folder = root.Path();
    std::vector<std::wstring> made;
    while (folder.size() < 280) {
        folder += L"\\" + std::wstring(40, L'd');
        made.push_back(L"\\\\?\\" + folder);
        ASSERT_TRUE(CreateDirectoryW(made.back().c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
    }
    std::wstring copy = L"\\\\?\\" + folder + L"\\Wendrift.dll";
    ASSERT_TRUE(CopyFileW(shellkit::LibraryPath().c_str(), copy.c_str(), FALSE)) << GetLastError();
    HMODULE library = LoadLibraryW(copy.c_str());
    if (library == nullptr) GTEST_SKIP() << "this platform cannot load a library from so deep a path";
    auto registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllRegisterServer")));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_EQ(shellkit::Regsvr32(L"/u /s"), 0);
    EXPECT_EQ(registerServer(), E_FAIL);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    FreeLibrary(library);
    DeleteFileW(copy.c_str());
    for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(it->c_str());
}

}  // namespace
