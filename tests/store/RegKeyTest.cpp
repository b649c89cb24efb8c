// RegKey against the real registry: strings stored without terminator, read back whole, and
// the name limits of the two listings. Works in a scratch key of its own.
#include "store/RegKey.h"
#include "tests/store/RegistryTree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::wstring kScratch = L"Software\\WendriftStoreTest";

class RegKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        SHDeleteKeyW(HKEY_CURRENT_USER, kScratch.c_str());
        ASSERT_TRUE(key_.Open(HKEY_CURRENT_USER, kScratch, true));
    }
    void TearDown() override {
        key_.Close();
        SHDeleteKeyW(HKEY_CURRENT_USER, kScratch.c_str());
    }
    void SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(RegSetValueExW(key_.Handle(), name.c_str(), 0, type,
                                 static_cast<const BYTE*>(data), bytes),
                  ERROR_SUCCESS);
    }
    void AddSubkey(const std::wstring& name) {
        HKEY sub = nullptr;
        ASSERT_EQ(RegCreateKeyExW(key_.Handle(), name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &sub, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(sub);
    }
    RegKey key_;
};

// The registry itself counts a terminator that directly follows the data but was left out of
// the count, and std::wstring always has one there: "abc" is kept as 8 bytes whether 6 or 8
// were passed. What tells the byte count apart is an empty text (0 bytes, not 2) and a text
// whose last unit is itself a null (6 bytes for "ab\0", not 8).
TEST_F(RegKeyTest, StringsAreWrittenAsTwoBytesPerUnitWithoutTerminator) {
    struct Case {
        std::wstring name, text;
        size_t stored;
    };
    const std::vector<Case> cases = {
        {L"empty", L"", 0},
        {L"ends in null", std::wstring(L"ab\0", 3), 6},
        {L"three", L"abc", 8},
        {L"umlaut", L"\u00C4", 4},
        {L"long", std::wstring(1000, L'x'), 2002},
        {L"", L"default", 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value of " << c.text.size() << " units");
        ASSERT_TRUE(c.name.empty() ? key_.SetDefaultString(c.text) : key_.SetString(c.name, c.text));
        // Read straight from the registry: type and the byte count it keeps.
        BYTE data[4096];
        DWORD type = 0, bytes = sizeof(data);
        ASSERT_EQ(RegQueryValueExW(key_.Handle(), c.name.c_str(), nullptr, &type, data, &bytes),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(bytes, c.stored);
        ASSERT_GE(bytes, c.text.size() * 2);
        EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(data), c.text.size()), c.text);
    }
}

TEST_F(RegKeyTest, QueryStringReadsBackWhatSetStringWrote) {
    for (const std::wstring& text : {std::wstring(L"abc"), std::wstring(L"Apartment"),
                                     std::wstring(L"c:\\\u00C4 x"), std::wstring(5000, L'q')}) {
        ASSERT_TRUE(key_.SetString(L"v", text));
        std::wstring read;
        EXPECT_TRUE(key_.QueryString(L"v", read));
        EXPECT_EQ(read, text);
    }
    ASSERT_TRUE(key_.SetDefaultString(L"txtfile"));
    std::wstring type;
    EXPECT_TRUE(key_.QueryDefaultString(type));
    EXPECT_EQ(type, L"txtfile");
}

TEST_F(RegKeyTest, QueryStringOfNothingAnswersFalseAndKeepsTheOutput) {
    ASSERT_TRUE(key_.SetString(L"empty", L""));
    std::wstring out = L"unchanged";
    EXPECT_FALSE(key_.QueryString(L"empty", out));    // 0 bytes
    EXPECT_FALSE(key_.QueryString(L"missing", out));
    EXPECT_FALSE(key_.QueryDefaultString(out));        // no default value
    EXPECT_EQ(out, L"unchanged");
}

TEST_F(RegKeyTest, QueryStringStopsAtTheFirstNullAndCopesWithOddData) {
    const wchar_t withNull[] = {L'a', L'b', 0, L'c', L'd'};
    SetRaw(L"null", REG_SZ, withNull, sizeof(withNull));
    const wchar_t terminated[] = L"xyz";
    SetRaw(L"terminated", REG_SZ, terminated, sizeof(terminated));
    const char odd[] = {'a', 0, 'b'};  // three bytes: half a unit at the end
    SetRaw(L"odd", REG_BINARY, odd, 3);
    std::wstring out;
    EXPECT_TRUE(key_.QueryString(L"null", out));
    EXPECT_EQ(out, L"ab");
    EXPECT_TRUE(key_.QueryString(L"terminated", out));
    EXPECT_EQ(out, L"xyz");
    EXPECT_TRUE(key_.QueryString(L"odd", out));
    EXPECT_EQ(out, L"a");
}

TEST_F(RegKeyTest, OpenAndCloseKeepTheHandleConsistent) {
    RegKey key;
    EXPECT_EQ(key.Close(), ERROR_SUCCESS);  // nothing open
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kScratch + L"\\missing", false));
    EXPECT_EQ(key.Handle(), nullptr);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kScratch + L"\\missing"));
    EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, kScratch + L"\\made\\deep", true));
    EXPECT_NE(key.Handle(), nullptr);
    EXPECT_EQ(key.Close(), ERROR_SUCCESS);
    EXPECT_EQ(key.Handle(), nullptr);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kScratch + L"\\made\\deep"));
}

TEST_F(RegKeyTest, DeleteTreeRemovesEverythingBelowAndNothingBeside) {
    AddSubkey(L"gone\\child\\grandchild");
    AddSubkey(L"kept");
    RegKey other;
    EXPECT_TRUE(other.DeleteTree(HKEY_CURRENT_USER, kScratch + L"\\gone"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kScratch + L"\\gone"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kScratch + L"\\kept"));
    EXPECT_FALSE(other.DeleteTree(HKEY_CURRENT_USER, kScratch + L"\\gone"));
    EXPECT_TRUE(key_.DeleteValue(L"") == false);  // no default value to delete
}

TEST_F(RegKeyTest, ValueNamesOfTheRegistryLimitComeBackWholeAndTheListingGoesOn) {
    std::wstring longest(16383, L'n');  // the registry's maximum; Wine refuses longer ones
    ASSERT_TRUE(key_.SetString(longest, L""));
    ASSERT_TRUE(key_.SetString(L"short", L""));
    std::wstring name;
    ASSERT_TRUE(key_.NextValueName(name));
    EXPECT_EQ(name, longest);
    ASSERT_TRUE(key_.NextValueName(name));
    EXPECT_EQ(name, L"short");
    EXPECT_FALSE(key_.NextValueName(name));
    EXPECT_EQ(name, L"");
}

TEST_F(RegKeyTest, SubkeyNamesOfTheRegistryLimitComeBackWholeALongerOneEndsTheListing) {
    // Wine enumerates subkeys sorted by name.
    const std::wstring limit = L"a" + std::wstring(254, L'k');  // 255 units
    const std::wstring over = L"b" + std::wstring(255, L'k');   // 256: Wine takes it
    AddSubkey(limit);
    AddSubkey(over);
    AddSubkey(L"c");
    std::wstring name;
    ASSERT_TRUE(key_.NextSubkeyName(name));
    EXPECT_EQ(name, limit);
    EXPECT_FALSE(key_.NextSubkeyName(name));
    EXPECT_EQ(name, limit);
    ASSERT_TRUE(key_.NextSubkeyName(name));
    EXPECT_EQ(name, limit);  // started over, not at "c"
    EXPECT_FALSE(key_.NextSubkeyName(name));
}

TEST_F(RegKeyTest, CursorsBelongToNoKey) {
    // One listing's cursor carries over to whatever key the next call is made on.
    ASSERT_TRUE(key_.SetString(L"v0", L""));
    ASSERT_TRUE(key_.SetString(L"v1", L""));
    AddSubkey(L"other");
    RegKey other;
    ASSERT_TRUE(other.Open(HKEY_CURRENT_USER, kScratch + L"\\other", false));
    ASSERT_TRUE(other.SetString(L"w0", L""));
    ASSERT_TRUE(other.SetString(L"w1", L""));
    std::wstring name;
    ASSERT_TRUE(key_.NextValueName(name));
    ASSERT_TRUE(other.NextValueName(name));
    EXPECT_EQ(name, L"w1");
    EXPECT_FALSE(other.NextValueName(name));
    ASSERT_TRUE(key_.NextValueName(name));
    EXPECT_EQ(name, L"v0");
}

}  // namespace
