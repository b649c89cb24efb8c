// The configuration program's decisions that need no window: the typed-extension rule, which
// extensions can be stored, the dialog's title, the display texts of directories, the start
// checks, the About box's address and the Recycle Bin test.
#include "config/AboutText.h"
#include "config/DirectoryList.h"
#include "config/ExtensionText.h"
#include "winframe/RecycleBin.h"
#include "config/StartChecks.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

TEST(ExtensionTextTest, TypedTextGetsOneLeadingDotAndIsOtherwiseKept) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* extension;
    };
    const Case cases[] = {{L"txt", L".txt"},       {L".txt", L".txt"},
                          {L"", L""},               {L"TXT", L".TXT"},
                          {L"tar.gz", L".tar.gz"}, {L"..x", L"..x"},
                          {L".", L"."},             {L" mp3", L". mp3"}};
    for (const Case& c : cases) {
        EXPECT_EQ(ExtensionFromTyped(c.typed), c.extension) << "typed: " << c.typed;
    }
}

TEST(ExtensionTextTest, OnlyCharactersNoFileNameCanHoldMakeAnExtensionUnusable) {
    for (const wchar_t* bad : {L".a\\b", L".a/b", L".a:b", L".a*", L".a?", L".\"a\"", L".<a",
                               L".a>", L".a|b", L"\\", L".txt\\shell"}) {
        EXPECT_FALSE(IsUsableExtension(bad)) << bad;
    }
    for (const wchar_t* good : {L".txt", L".tar.gz", L".a b", L".\u00E4", L".c++", L".x-y_z~",
                                L""}) {
        EXPECT_TRUE(IsUsableExtension(good)) << good;
    }
}

TEST(ExtensionTextTest, ProbeName) {
    EXPECT_EQ(FileTypeProbeName(L".txt"), L"Dummy.txt");
}

TEST(DirectoryListTest, ShortPathsShowWholeLongOnesShortenedToFiftyOneCharacters) {
    std::wstring display;
    ASSERT_TRUE(CompactDirectoryForDisplay(L"c:\\music\\rock", display));
    EXPECT_EQ(display, L"c:\\music\\rock");

    // (Wine already shortens a path of exactly 51 characters; 50 always fit.)
    const std::wstring fits = L"c:\\" + std::wstring(47, L'a');
    ASSERT_TRUE(CompactDirectoryForDisplay(fits, display));
    EXPECT_EQ(display, fits);
    for (size_t length = 51; length <= 60; ++length) {
        ASSERT_TRUE(CompactDirectoryForDisplay(L"c:\\" + std::wstring(length - 3, L'b'), display));
        EXPECT_LE(display.size(), kDirectoryDisplayChars) << length;
    }

    std::wstring longest = L"c:\\archive";
    while (longest.size() < 259) longest += L"\\level";
    longest.resize(259);
    ASSERT_TRUE(CompactDirectoryForDisplay(longest, display));
    EXPECT_LE(display.size(), kDirectoryDisplayChars);
    EXPECT_NE(display.find(L"..."), std::wstring::npos);
}

TEST(StartChecksTest, WindowsXpOrLaterIsRequired) {
    struct Case {
        DWORD major, minor;
        bool supported;
    };
    const Case cases[] = {{0, 0, false}, {4, 90, false}, {5, 0, false}, {5, 1, true},
                          {5, 2, true},  {6, 0, true},   {6, 1, true},  {10, 0, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsSupportedWindowsVersion(c.major, c.minor), c.supported)
            << c.major << "." << c.minor;
    }
}

TEST(StartChecksTest, TheLibraryIsLookedForBesideTheProgramAndAnythingOfItsNameCounts) {
    EXPECT_EQ(LibraryPathBeside(L"C:\\Tools\\"), L"C:\\Tools\\Wendrift.dll");
    EXPECT_EQ(LibraryPathBeside(L""), L"Wendrift.dll");

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"wdcfg-rules\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring library = LibraryPathBeside(folder);
    EXPECT_FALSE(LibraryIsPresent(library));
    ASSERT_TRUE(CreateDirectoryW(library.c_str(), nullptr));
    EXPECT_TRUE(LibraryIsPresent(library));
    RemoveDirectoryW(library.c_str());
    HANDLE file = CreateFileW(library.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_TRUE(LibraryIsPresent(library));
    DeleteFileW(library.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(AboutTextTest, TheLinkAddressIsComparedExactly) {
    EXPECT_TRUE(IsProductPageUrl(kProductPageUrl));
    EXPECT_TRUE(IsProductPageUrl(std::wstring(kProductPageUrl).c_str()));
    EXPECT_FALSE(IsProductPageUrl(L"HTTPS://WENDRIFT.EXAMPLE.ORG/"));
    EXPECT_FALSE(IsProductPageUrl(L"https://wendrift.example.org"));
    EXPECT_FALSE(IsProductPageUrl(L"https://wendrift.example.org/x"));
    EXPECT_FALSE(IsProductPageUrl(L""));
    EXPECT_FALSE(IsProductPageUrl(nullptr));
}

TEST(AboutTextTest, FourParagraphsEndingInAnAnchorToTheProductPage) {
    const std::wstring markup = AboutLinkMarkup(L"Wendrift Version 1.0.0.1", L"Windows XP/2003 Shell Extension");
    const std::wstring url = kProductPageUrl;
    EXPECT_EQ(markup.rfind(L"<a href=\"" + url + L"\">" + url + L"</a>"),
              markup.size() - (url.size() * 2 + 15));
    size_t paragraphs = 1;
    for (size_t at = markup.find(L"\n\n"); at != std::wstring::npos;
         at = markup.find(L"\n\n", at + 2)) {
        ++paragraphs;
    }
    EXPECT_EQ(paragraphs, 4u);
    EXPECT_EQ(markup.find(L"Wendrift Version 1.0.0.1\n\nWindows XP/2003 Shell Extension\n\n"), 0u);
    EXPECT_NE(markup.find(L"\u00A9 2026 The Wendrift authors"), std::wstring::npos);
    EXPECT_NE(markup.find(L"@wendrift.example.org"), std::wstring::npos);
}

TEST(RecycleBinTest, OnlyTheRecycleBinItselfIsRecognised) {
    EXPECT_FALSE(IsRecycleBin(nullptr));
    for (int csidl : {CSIDL_BITBUCKET, CSIDL_DRIVES, CSIDL_DESKTOP, CSIDL_WINDOWS}) {
        PIDLIST_ABSOLUTE item = nullptr;
        ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, csidl, &item), S_OK) << csidl;
        EXPECT_EQ(IsRecycleBin(item), csidl == CSIDL_BITBUCKET) << csidl;
        CoTaskMemFree(item);
    }
}
