// The association store against the real registry of the Wine prefix: layout, folding, the
// enumeration cursors and bad input. Uses the store's own base key with extensions of its own
// and puts back whatever it found.
#include "store/AssociationStore.h"
#include "store/RegKey.h"
#include "tests/store/RegistryTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::wstring kBase = kStoreBaseKey;
const std::vector<std::wstring> kOwnExtensions = {L".zwdst1", L".zwdst2", L".zwdst3",
                                                  L".zwdsta", L".zwdstb", L".zwdstc"};

std::wstring ExtensionPath(const std::wstring& extension) { return kBase + L"\\" + extension; }

void SetRawValue(const std::wstring& extension, const std::wstring& name) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ExtensionPath(extension).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), 0),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

std::vector<std::wstring> ListDirectoriesOneByOne(const std::wstring& extension) {
    std::vector<std::wstring> directories;
    std::wstring directory;
    while (NextDirectory(extension, directory)) directories.push_back(directory);
    return directories;
}

class AssociationStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& extension : kOwnExtensions) {
            SHDeleteKeyW(HKEY_CURRENT_USER, ExtensionPath(extension).c_str());
        }
    }
    void TearDown() override { SetUp(); }

    // Adds an extension with directories, checked.
    static void Store(const std::wstring& extension, const std::vector<std::wstring>& dirs) {
        ASSERT_TRUE(AddExtension(extension));
        for (const auto& dir : dirs) ASSERT_TRUE(AssociateDirectory(extension, dir));
    }
};

// The whole base key goes in some tests: it is read first and written back afterwards.
class EmptyStoreTest : public AssociationStoreTest {
protected:
    void SetUp() override {
        saved_ = RegistryTree::Read(HKEY_CURRENT_USER, kBase);
        SHDeleteKeyW(HKEY_CURRENT_USER, kBase.c_str());
    }
    void TearDown() override { saved_.Restore(HKEY_CURRENT_USER, kBase); }
    RegistryTree saved_;
};

TEST_F(AssociationStoreTest, DirectoryIsAnEmptyStringValueNamedByTheFoldedPath) {
    Store(L".zwdst1", {L"D:\\Music\\Rock"});
    EXPECT_EQ(RawValueNames(HKEY_CURRENT_USER, ExtensionPath(L".zwdst1")),
              std::vector<std::wstring>{L"d:\\music\\rock"});
    RegistryValue value;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, ExtensionPath(L".zwdst1"), L"d:\\music\\rock", value));
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.data.size(), 0u);
    EXPECT_EQ(CountDirectories(L".zwdst1"), 1);
    // The extension key holds nothing but its directories.
    RegistryTree tree = RegistryTree::Read(HKEY_CURRENT_USER, ExtensionPath(L".zwdst1"));
    EXPECT_TRUE(tree.subkeys.empty());
    EXPECT_EQ(tree.values.size(), 1u);
}

TEST_F(AssociationStoreTest, FoldingChangesOnlyAToZ) {
    struct Case {
        std::wstring given, stored;
    };
    const std::vector<Case> cases = {
        {L"D:\\Music\\Rock", L"d:\\music\\rock"},
        {L"C:\\\u00C4RGER\\\u00D6l", L"c:\\\u00C4rger\\\u00D6l"},  // Ä and Ö stay capitals
        {L"E:\\@AZ[`az{", L"e:\\@az[`az{"},                       // the neighbours of A-Z stay
        {L"F:\\\u0130\u212A\u00DF", L"f:\\\u0130\u212A\u00DF"},   // İ, Kelvin sign, ß stay
        {L"g:\\already\\lower", L"g:\\already\\lower"},
    };
    ASSERT_TRUE(AddExtension(L".zwdst1"));
    for (const auto& c : cases) ASSERT_TRUE(AssociateDirectory(L".zwdst1", c.given));
    std::vector<std::wstring> stored = RawValueNames(HKEY_CURRENT_USER, ExtensionPath(L".zwdst1"));
    ASSERT_EQ(stored.size(), cases.size());
    for (const auto& c : cases) {
        EXPECT_NE(std::find(stored.begin(), stored.end(), c.stored), stored.end())
            << "missing folded name for a given path";
    }
}

TEST_F(AssociationStoreTest, TheSameDirectoryInAnyCaseIsStoredOnce) {
    Store(L".zwdst1", {L"D:\\X", L"d:\\x", L"D:\\x"});
    EXPECT_EQ(CountDirectories(L".zwdst1"), 1);
}

TEST_F(AssociationStoreTest, ListingEndsWithEmptyOutputAndStartsOver) {
    Store(L".zwdst1", {L"c:\\one", L"c:\\two"});
    std::vector<std::wstring> order = RawValueNames(HKEY_CURRENT_USER, ExtensionPath(L".zwdst1"));
    ASSERT_EQ(order.size(), 2u);
    std::wstring directory;
    ASSERT_TRUE(NextDirectory(L".zwdst1", directory));
    EXPECT_EQ(directory, order[0]);
    ASSERT_TRUE(NextDirectory(L".zwdst1", directory));
    EXPECT_EQ(directory, order[1]);
    directory = L"left over";
    EXPECT_FALSE(NextDirectory(L".zwdst1", directory));
    EXPECT_EQ(directory, L"");
    ASSERT_TRUE(NextDirectory(L".zwdst1", directory));
    EXPECT_EQ(directory, order[0]);
    EXPECT_EQ(ListDirectoriesOneByOne(L".zwdst1"), std::vector<std::wstring>{order[1]});
}

TEST_F(AssociationStoreTest, EachListingOfAnotherExtensionStartsAtItsFirstDirectory) {
    Store(L".zwdst1", {L"c:\\a1", L"c:\\a2", L"c:\\a3"});
    Store(L".zwdst2", {L"c:\\b1", L"c:\\b2"});
    EXPECT_EQ(ListDirectoriesOneByOne(L".zwdst1").size(), 3u);
    EXPECT_EQ(ListDirectoriesOneByOne(L".zwdst2"),
              (std::vector<std::wstring>{L"c:\\b1", L"c:\\b2"}));
    EXPECT_EQ(CountDirectories(L".zwdst2"), 2);
    EXPECT_EQ(CountDirectories(L".zwdst1"), 3);
}

TEST_F(AssociationStoreTest, AnEarlyMatchStillLeavesTheNextListingComplete) {
    Store(L".zwdst1", {L"c:\\first", L"c:\\second", L"c:\\third"});
    Store(L".zwdst2", {L"c:\\b1", L"c:\\b2"});
    std::wstring first = RawValueNames(HKEY_CURRENT_USER, ExtensionPath(L".zwdst1"))[0];
    EXPECT_TRUE(IsDirectoryAssociated(L".zwdst1", first));
    EXPECT_EQ(CountDirectories(L".zwdst2"), 2);
    EXPECT_TRUE(IsDirectoryAssociated(L".zwdst1", first));
    EXPECT_EQ(ListDirectoriesOneByOne(L".zwdst2").size(), 2u);
    EXPECT_TRUE(IsDirectoryAssociated(L".zwdst1", first));
    EXPECT_EQ(ListDirectoriesOneByOne(L".zwdst1").size(), 3u);
}

TEST_F(AssociationStoreTest, IsDirectoryAssociatedComparesExactly) {
    Store(L".zwdst1", {L"C:\\Data"});
    EXPECT_TRUE(IsDirectoryAssociated(L".zwdst1", L"c:\\data"));
    EXPECT_FALSE(IsDirectoryAssociated(L".zwdst1", L"C:\\Data"));  // callers fold first
    EXPECT_FALSE(IsDirectoryAssociated(L".zwdst1", L"c:\\dat"));
    EXPECT_FALSE(IsDirectoryAssociated(L".zwdst2", L"c:\\data"));
    EXPECT_EQ(ListDirectoriesOneByOne(L".zwdst1"), std::vector<std::wstring>{L"c:\\data"});
}

TEST_F(AssociationStoreTest, DisassociateDeletesOnlyTheNamedDirectory) {
    Store(L".zwdst1", {L"c:\\keep", L"c:\\drop"});
    EXPECT_TRUE(DisassociateDirectory(L".zwdst1", L"c:\\drop"));
    EXPECT_FALSE(DisassociateDirectory(L".zwdst1", L"c:\\drop"));
    EXPECT_EQ(ListDirectoriesOneByOne(L".zwdst1"), std::vector<std::wstring>{L"c:\\keep"});
    EXPECT_FALSE(DisassociateDirectory(L".zwdst2", L"c:\\keep"));
}

TEST_F(AssociationStoreTest, RemoveExtensionDeletesAKeyThatHoldsDirectories) {
    Store(L".zwdst1", {L"c:\\a", L"c:\\b"});
    Store(L".zwdst2", {L"c:\\c"});
    EXPECT_TRUE(RemoveExtension(L".zwdst1"));
    EXPECT_FALSE(ExtensionExists(L".zwdst1"));
    EXPECT_EQ(CountDirectories(L".zwdst1"), 0);
    EXPECT_FALSE(RemoveExtension(L".zwdst1"));
    EXPECT_TRUE(ExtensionExists(L".zwdst2"));
    EXPECT_EQ(CountDirectories(L".zwdst2"), 1);
}

TEST_F(AssociationStoreTest, ExtensionsAreAddressedWithoutRegardToCase) {
    Store(L".zwdst1", {L"c:\\x"});
    EXPECT_TRUE(ExtensionExists(L".ZWDST1"));
    EXPECT_EQ(CountDirectories(L".ZwdSt1"), 1);
}

TEST_F(AssociationStoreTest, AssociatingWithAMissingExtensionCreatesNothing) {
    EXPECT_FALSE(AssociateDirectory(L".zwdst1", L"c:\\x"));
    EXPECT_FALSE(ExtensionExists(L".zwdst1"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ExtensionPath(L".zwdst1")));
}

TEST_F(AssociationStoreTest, AMissingExtensionAnswersFalseOrZero) {
    std::wstring directory = L"unchanged";
    EXPECT_FALSE(NextDirectory(L".zwdst1", directory));
    EXPECT_EQ(directory, L"unchanged");
    EXPECT_EQ(CountDirectories(L".zwdst1"), 0);
    EXPECT_FALSE(DisassociateDirectory(L".zwdst1", L"c:\\x"));
    EXPECT_FALSE(IsDirectoryAssociated(L".zwdst1", L"c:\\x"));
    EXPECT_FALSE(RemoveExtension(L".zwdst1"));
    EXPECT_FALSE(ExtensionExists(L".zwdst1"));
}

TEST_F(AssociationStoreTest, AVanishedExtensionEndsTheListingSoTheNextStartsAtTheFirst) {
    Store(L".zwdst1", {L"c:\\a1", L"c:\\a2", L"c:\\a3"});
    std::wstring directory;
    ASSERT_TRUE(NextDirectory(L".zwdst1", directory));
    ASSERT_TRUE(NextDirectory(L".zwdst1", directory));
    EXPECT_FALSE(NextDirectory(L".zwdst2", directory));  // no such key
    EXPECT_EQ(ListDirectoriesOneByOne(L".zwdst1").size(), 3u);
}

// Written by other software: a default value and a name of the registry's full length between
// two directories (Wine enumerates values sorted by name, the default value first).
TEST_F(AssociationStoreTest, EveryListingPassesOverTheDefaultValueAndReadsFullLengthNames) {
    const std::wstring full = L"c:\\b" + std::wstring(16383 - 4, L'v');
    SetRawValue(L".zwdst1", L"");
    SetRawValue(L".zwdst1", L"c:\\a");
    SetRawValue(L".zwdst1", full);
    SetRawValue(L".zwdst1", L"c:\\c");
    const std::vector<std::wstring> expected = {L"c:\\a", full, L"c:\\c"};
    std::wstring first;
    ASSERT_TRUE(NextDirectory(L".zwdst1", first));  // a listing under way ...
    std::vector<std::wstring> listed = {L"stale"};
    EXPECT_EQ(ListDirectories(L".zwdst1", listed), 3);
    EXPECT_EQ(listed, expected);
    std::vector<std::wstring> rest = ListDirectoriesOneByOne(L".zwdst1");  // ... goes on
    rest.insert(rest.begin(), first);
    EXPECT_EQ(rest, expected);
    EXPECT_EQ(CountDirectories(L".zwdst1"), 3);
    EXPECT_EQ(ListDirectories(L".zwdst2", listed), 0);  // no such key
    EXPECT_TRUE(listed.empty());
}

TEST_F(AssociationStoreTest, TwoThreadsListingAtOnceEachSeeTheirWholeList) {
    const std::vector<std::wstring> first = {L"c:\\a1", L"c:\\a2", L"c:\\a3", L"c:\\a4",
                                             L"c:\\a5"};
    const std::vector<std::wstring> second = {L"d:\\b1", L"d:\\b2", L"d:\\b3", L"d:\\b4",
                                              L"d:\\b5", L"d:\\b6", L"d:\\b7"};
    Store(L".zwdst1", first);
    Store(L".zwdst2", second);
    std::atomic<int> ready{0};
    std::atomic<int> wrongListings{0};
    auto lister = [&](const std::wstring& extension, const std::vector<std::wstring>& expected) {
        ++ready;
        while (ready < 2) std::this_thread::yield();
        for (int round = 0; round < 300; ++round) {
            if (ListDirectoriesOneByOne(extension) != expected) ++wrongListings;
            if (CountDirectories(extension) != static_cast<int>(expected.size())) ++wrongListings;
        }
    };
    std::thread one(lister, L".zwdst1", first);
    std::thread two(lister, L".zwdst2", second);
    one.join();
    two.join();
    EXPECT_EQ(wrongListings, 0);
}

TEST_F(EmptyStoreTest, ListExtensionsWithoutBaseKeyAnswersZeroAndEmptiesTheList) {
    std::vector<std::wstring> listed = {L"stale"};
    EXPECT_EQ(ListExtensions(listed), 0);
    EXPECT_TRUE(listed.empty());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kBase));
}

TEST_F(EmptyStoreTest, AddExtensionCreatesBaseAndExtensionInOneCall) {
    EXPECT_TRUE(AddExtension(L".zwdsta"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, ExtensionPath(L".zwdsta")));
    EXPECT_TRUE(AddExtension(L".zwdsta"));  // already there: still true
}

TEST_F(EmptyStoreTest, ListExtensionsListsEveryExtensionInRegistryOrderAndStartsOver) {
    for (const auto* extension : {L".zwdstb", L".zwdsta", L".zwdstc"}) {
        ASSERT_TRUE(AddExtension(extension));
    }
    std::vector<std::wstring> listed;
    ASSERT_EQ(ListExtensions(listed), 3);
    // The registry enumerates subkeys sorted; the listing keeps that order.
    EXPECT_EQ(listed, (std::vector<std::wstring>{L".zwdsta", L".zwdstb", L".zwdstc"}));
    std::vector<std::wstring> again;
    EXPECT_EQ(ListExtensions(again), 3);
    EXPECT_EQ(again, listed);
}

TEST_F(EmptyStoreTest, AnOverlongKeyNameEndsTheListingWithoutSkippingTheNextOne) {
    // 256 units: Wine accepts it, Windows' own limit and the listing's buffer are 255.
    ASSERT_TRUE(AddExtension(L".zwdsta"));
    HKEY key = nullptr;
    std::wstring overlong = kBase + L"\\.zwdstb" + std::wstring(256 - 7, L'b');
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, overlong.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_TRUE(AddExtension(L".zwdstc"));
    std::vector<std::wstring> listed;
    EXPECT_EQ(ListExtensions(listed), 1);
    EXPECT_EQ(listed, std::vector<std::wstring>{L".zwdsta"});
    EXPECT_EQ(ListExtensions(listed), 1);
    EXPECT_EQ(listed, std::vector<std::wstring>{L".zwdsta"});
}

// Names outside what the store can address or list again: every call answers false or 0 and
// the base key stays exactly as it was.
TEST_F(AssociationStoreTest, BadExtensionNamesChangeNothing) {
    Store(L".zwdst1", {L"c:\\a"});
    const std::vector<std::wstring> badExtensions = {
        L"",                                   // would address the base key itself
        L".zwdst1\\sub",                       // a key nested under another extension
        L"\\",                                 // the base key again
        std::wstring(L".zwdst1\0x", 9),        // cut short at the null
        L"." + std::wstring(255, L'k'),        // 256 units: over the registry's limit
        L"." + std::wstring(400, L'k'),
    };
    RegistryTree before = RegistryTree::Read(HKEY_CURRENT_USER, kBase);
    for (const auto& extension : badExtensions) {
        SCOPED_TRACE(testing::Message() << "extension of " << extension.size() << " units");
        EXPECT_FALSE(AddExtension(extension));
        EXPECT_FALSE(ExtensionExists(extension));
        EXPECT_FALSE(AssociateDirectory(extension, L"c:\\b"));
        EXPECT_EQ(CountDirectories(extension), 0);
        std::wstring directory = L"unchanged";
        EXPECT_FALSE(NextDirectory(extension, directory));
        EXPECT_EQ(directory, L"unchanged");
        EXPECT_FALSE(IsDirectoryAssociated(extension, L"c:\\a"));
        EXPECT_FALSE(DisassociateDirectory(extension, L"c:\\a"));
        EXPECT_FALSE(RemoveExtension(extension));
        EXPECT_TRUE(RegistryTree::Read(HKEY_CURRENT_USER, kBase) == before);
    }
    EXPECT_EQ(ListDirectoriesOneByOne(L".zwdst1"), std::vector<std::wstring>{L"c:\\a"});
}

TEST_F(AssociationStoreTest, DirectoriesThatAreNotAbsoluteOrCannotBeListedAreNotStored) {
    ASSERT_TRUE(AddExtension(L".zwdst1"));
    const std::vector<std::wstring> badDirectories = {
        L"",                              // would write the key's default value
        L"relative dst", L"dest", L"\\dest", L"c:dest", L"\\\\server",
        L"c:\\" + std::wstring(16381, L'd'),  // one beyond the registry's limit
        L"c:\\" + std::wstring(40000, L'd'),
        std::wstring(L"c:\\x\0y", 6),
    };
    for (const auto& directory : badDirectories) {
        SCOPED_TRACE(testing::Message() << "directory of " << directory.size() << " units");
        EXPECT_FALSE(AssociateDirectory(L".zwdst1", directory));
        EXPECT_FALSE(IsDirectoryAssociated(L".zwdst1", directory));
        EXPECT_FALSE(DisassociateDirectory(L".zwdst1", directory));
        EXPECT_EQ(CountDirectories(L".zwdst1"), 0);
    }
    // The longest name the registry holds is stored and comes back whole.
    std::wstring longest = L"c:\\" + std::wstring(16380, L'e');
    EXPECT_TRUE(AssociateDirectory(L".zwdst1", longest));
    EXPECT_EQ(ListDirectoriesOneByOne(L".zwdst1"), std::vector<std::wstring>{longest});
    EXPECT_TRUE(IsDirectoryAssociated(L".zwdst1", longest));
    EXPECT_TRUE(DisassociateDirectory(L".zwdst1", longest));
}

}  // namespace
