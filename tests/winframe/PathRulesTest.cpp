// The path rules every part of both programs goes by.
#include "winframe/PathRules.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(FileNameOf, TakesTheTextAfterTheLastSeparator) {
    struct Case { const wchar_t* path; const wchar_t* name; };
    const Case cases[] = {
        {L"C:\\dir\\file.txt", L"file.txt"},
        {L"dir/file.txt", L"file.txt"},
        {L"C:\\a/b\\c.mp3", L"c.mp3"},     // the backslash wins over a later '/'
        {L"C:\\a\\b/c.mp3", L"b/c.mp3"},
        {L"file.txt", L""},
        {L"C:\\dir\\", L""},
        {L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
}

TEST(JoinPath, AddsOneSeparatorOnlyWhenMissing) {
    EXPECT_EQ(JoinPath(L"C:\\dest", L"a.txt"), L"C:\\dest\\a.txt");
    EXPECT_EQ(JoinPath(L"C:\\dest\\", L"a.txt"), L"C:\\dest\\a.txt");
    EXPECT_EQ(JoinPath(L"C:\\dest/", L"a.txt"), L"C:\\dest/a.txt");
    EXPECT_EQ(JoinPath(L"d:\\m\u00fcsic", L"r\u00f6ck.mp3"), L"d:\\m\u00fcsic\\r\u00f6ck.mp3");
}

TEST(PathRoot, IsTheDriveOrShareAPathLiesOn) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"E:\\photos\\2024", L"E:\\"},
        {L"e:/photos", L"e:\\"},
        {L"E:", L"E:\\"},
        {L"\\\\nas\\share\\photos", L"\\\\nas\\share\\"},
        {L"\\\\nas\\share", L"\\\\nas\\share\\"},
        {L"\\\\?\\E:\\photos", L"\\\\?\\E:\\"},
        {L"\\\\?\\UNC\\nas\\share\\photos", L"\\\\?\\UNC\\nas\\share\\"},
        {L"\\\\nas", L""},  // no share
        {L"\\\\nas\\\\x", L""},
        {L"c:dest", L""},  // relative to the drive's current folder
        {L"\\dest", L""},
        {L"relative dst", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(PathRoot(c.first), c.second) << c.first;
}

TEST(FolderOf, IsTheFolderAPathLiesInWithARootKeepingItsBackslash) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"c:\\photos\\a.jpg", L"c:\\photos"},
        {L"c:\\photos\\sub\\\\", L"c:\\photos"},  // trailing separators ignored
        {L"c:\\a.jpg", L"c:\\"},
        {L"c:/x/a.jpg", L"c:/x"},
        {L"\\\\nas\\share\\a.jpg", L"\\\\nas\\share\\"},
        {L"c:\\", L""},  // above a root there is nothing
        {L"\\\\nas\\share", L""},
        {L"a.jpg", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(FolderOf(c.first), c.second) << c.first;
}

TEST(PathExtension, IsTheTextFromTheLastDotOfTheWholePath) {
    struct {
        const wchar_t* path;
        const wchar_t* extension;
    } cases[] = {
        {L"c:\\music\\song.MP3", L".MP3"},
        {L"c:\\a\\archive.tar.gz", L".gz"},
        {L"c:\\my.files\\readme", L".files\\readme"},
        {L"c:\\a\\readme", L""},
        {L"c:\\a\\trailing.", L"."},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(PathExtension(c.path), c.extension) << c.path;
}

TEST(SelectionExtension, IsTheFirstFilesExtension) {
    EXPECT_EQ(SelectionExtension({L"c:\\music\\song.MP3", L"c:\\x\\y.txt"}), L".MP3");
    EXPECT_EQ(SelectionExtension({L"c:\\files\\readme"}), L"");
    EXPECT_EQ(SelectionExtension({}), L"");
}

}  // namespace
