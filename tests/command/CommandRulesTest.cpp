// The Windows 11 commands' decisions without COM: which selections show the entries, what a
// job file holds and how rundll32 is started on it, and when the classic menu stays away.
#include "CommandKit.h"

#include "shellext/win11/CommandRules.h"
#include "shellext/handoff/JobFile.h"
#include "shellext/win11/PackagedCommand.h"
#include "shellext/handoff/TransferHandOff.h"
#include "store/AssociationStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t kStored[] = L".wdrule";  // associated, without folders
const wchar_t kUnknown[] = L".wdrulenone";

TEST(CommandState, ShowsOnlyForFilesSharingOneStoredExtension) {
    AddExtension(kStored);
    RemoveExtension(kUnknown);
    struct Case {
        std::vector<std::wstring> names;
        bool allFiles;
        std::wstring extension;  // empty: hidden
    } cases[] = {
        {{L"x.wdrule"}, true, L".wdrule"},
        {{L"x.WDRULE", L"c:\\b\\y.wdrule"}, true, L".WDRULE"},  // the first file's spelling
        {{L"x.wdrule"}, false, L""},  // a folder among them
        {{}, true, L""},
        {{L"x.wdrule", L"y.wdrulenone"}, true, L""},
        {{L"readme"}, true, L""},
        {{L"x.wdrulenone"}, true, L""},  // most right-clicks: the store says no
    };
    for (const Case& c : cases) {
        std::wstring extension = L"stale";
        EXPCMDSTATE state = CommandState(c.names, c.allFiles, extension);
        EXPECT_EQ(state, c.extension.empty() ? ECS_HIDDEN : ECS_ENABLED) << c.names.size();
        EXPECT_EQ(extension, c.extension);
    }
    RemoveExtension(kStored);
}

TEST(CommandState, FileSystemFilesAreFilesAndArchivesNotFolders) {
    EXPECT_TRUE(IsFileSystemFile(SFGAO_FILESYSTEM | SFGAO_STREAM));
    EXPECT_TRUE(IsFileSystemFile(SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_STREAM));  // a .zip
    EXPECT_FALSE(IsFileSystemFile(SFGAO_FILESYSTEM | SFGAO_FOLDER));
    EXPECT_FALSE(IsFileSystemFile(SFGAO_FOLDER));
    EXPECT_FALSE(IsFileSystemFile(SFGAO_STREAM));
}

TEST(JobFile, CarriesTheWholeSelectionThroughAFileAndBack) {
    TransferJob job;
    job.isCopy = false;
    job.destination = L"d:\\archive \x00e9t\x00e9";
    // Far past a command line's 32,767 units.
    for (int i = 0; i < 2000; ++i) {
        job.files.push_back(L"c:\\photos with spaces\\" + std::wstring(150, L'p') +
                            std::to_wstring(i) + L".jpg");
    }
    std::wstring text, path, read;
    ASSERT_TRUE(FormatJob(job, text));
    ASSERT_TRUE(WriteJobFile(text, path));
    ASSERT_TRUE(ReadJobFile(path, read));
    DeleteFileW(path.c_str());
    TransferJob back;
    ASSERT_TRUE(ParseJob(read, back));
    EXPECT_FALSE(back.isCopy);
    EXPECT_EQ(back.destination, job.destination);
    EXPECT_EQ(back.files, job.files);
}

// "Other folder..." hands a job over without a destination: the empty line means "ask".
TEST(JobFile, AJobWithoutADestinationAsksForOne) {
    TransferJob job;
    job.files = {L"c:\\from\\a.txt"};
    std::wstring text;
    ASSERT_TRUE(FormatJob(job, text));
    EXPECT_EQ(text, L"\xFEFF" L"copy\n\nc:\\from\\a.txt\n");
    TransferJob back;
    back.destination = L"c:\\stale";
    ASSERT_TRUE(ParseJob(text, back));
    EXPECT_TRUE(JobAsksForDestination(back));
    EXPECT_EQ(back.files, job.files);
}

TEST(JobFile, RefusesWhatWouldReadAsAnotherJob) {
    TransferJob job;
    job.destination = L"c:\\to";
    std::wstring text;
    EXPECT_FALSE(FormatJob(job, text)) << "no files";
    job.files = {L"c:\\from\\a.txt", L"c:\\from\\b\n.txt"};
    EXPECT_FALSE(FormatJob(job, text)) << "a line break in a path";
    job.files = {L"c:\\from\\a.txt"};
    job.destination = L"c:\\to\r\nc:\\elsewhere";
    EXPECT_FALSE(FormatJob(job, text)) << "a line break in the destination";
    job.destination = L"to";
    EXPECT_FALSE(FormatJob(job, text)) << "a relative destination";

    const wchar_t* bad[] = {
        L"copy\nc:\\to\nc:\\a.txt\n",            // no byte order mark
        L"\xFEFF" L"shred\nc:\\to\nc:\\a.txt\n",  // no operation of ours
        L"\xFEFF" L"copy\nc:\\to\n",             // nothing to transfer
        L"\xFEFF" L"copy\nc:\\to\n\nc:\\a.txt\n",  // an empty line
        L"\xFEFF" L"copy\nc:\\to\nc:\\a.txt",     // cut short
        // Relative paths would be taken from rundll32's current folder.
        L"\xFEFF" L"copy\nto\nc:\\a.txt\n",
        L"\xFEFF" L"move\nc:\\to\na.txt\n",
        L"\xFEFF" L"move\nc:\\to\nc:\\a.txt\nc:b.txt\n",
        L"\xFEFF" L"move\n\\to\nc:\\a.txt\n",
    };
    for (size_t i = 0; i < sizeof(bad) / sizeof(bad[0]); ++i) {
        TransferJob parsed;
        EXPECT_FALSE(ParseJob(bad[i], parsed)) << "case " << i;
    }
}

TEST(HandOff, StartsRundll32OnTheJobFileAndLeavesNoFileWhenItCannot) {
    EXPECT_EQ(HandOffCommandLine(L"C:\\Windows\\system32\\rundll32.exe",
                                 L"C:\\Program Files\\Wendrift\\Wendrift.dll",
                                 L"C:\\Temp\\wdj1.tmp"),
              L"\"C:\\Windows\\system32\\rundll32.exe\" \"C:\\Program Files\\Wendrift\\"
              L"Wendrift.dll\",RunTransfer \"C:\\Temp\\wdj1.tmp\"");
    EXPECT_EQ(JobFileArgument(L"  \"C:\\Temp\\wdj 1.tmp\" "), L"C:\\Temp\\wdj 1.tmp");
    EXPECT_EQ(JobFileArgument(L"C:\\Temp\\wdj1.tmp"), L"C:\\Temp\\wdj1.tmp");
    EXPECT_EQ(JobFileArgument(nullptr), L"");

    int before = commandkit::JobFilesInTemp();
    EXPECT_FALSE(HandOffTransfer({L"c:\\a.txt"}, L"c:\\to", true, L"c:\\no such\\rundll32.exe"));
    EXPECT_EQ(commandkit::JobFilesInTemp(), before);
}

// A job file an hour old that no process holds was never read (its process was ended first):
// the next hand-off removes it. Anything else in the temporary folder stays.
TEST(HandOff, RemovesOnlyJobFilesThatWereNeverReadAndAreNoLongerInUse) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const wchar_t job[] = L"\xFEFF" L"copy\nc:\\to\nc:\\a.txt\n";
    struct Case { const wchar_t* name; const wchar_t* text; bool old, held, goes; } cases[] = {
        {L"wdjF00D.tmp", job, true, false, true},
        {L"wdjF00E.tmp", job, false, false, false},  // just written: its process is starting
        {L"wdjF00F.tmp", job, true, true, false},    // being read
        {L"wdjF010.tmp", L"\xFEFF" L"notes\n", true, false, false},  // not a job
        {L"wdjF011.txt", job, true, false, false},                  // not a job file's name
    };
    FILETIME now, old;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time = {{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= 2ull * 3600 * 10000000;  // two hours back
    old = {time.LowPart, time.HighPart};
    std::vector<HANDLE> held;
    for (const Case& c : cases) {
        HANDLE file = CreateFileW((std::wstring(temp) + c.name).c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, c.text, static_cast<DWORD>(wcslen(c.text) * 2), &written, nullptr);
        if (c.old) SetFileTime(file, &old, &old, &old);
        if (c.held) {
            held.push_back(file);
            continue;
        }
        CloseHandle(file);
    }
    EXPECT_FALSE(HandOffTransfer({L"c:\\a.txt"}, L"c:\\to", true, L"c:\\no such\\rundll32.exe"));
    for (HANDLE file : held) CloseHandle(file);
    for (const Case& c : cases) {
        std::wstring path = std::wstring(temp) + c.name;
        EXPECT_EQ(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES, c.goes) << c.name;
        DeleteFileW(path.c_str());
    }
}

TEST(PackagedCommand, ClassicMenuStaysAwayOnlyRightAfterBothEntriesShowedTheSameFiles) {
    uint32_t shown = SelectionFingerprint({L"c:\\photos\\a.jpg", L"c:\\photos\\B.jpg"});
    EXPECT_EQ(SelectionFingerprint({L"C:\\Photos\\b.JPG", L"c:\\photos\\A.jpg"}), shown);
    EXPECT_NE(SelectionFingerprint({L"c:\\photos\\a.jpg"}), shown);
    EXPECT_NE(SelectionFingerprint({L"c:\\photos\\a.jpg", L"c:\\photos\\b.jpg", L"c:\\photos\\b.jpg"}),
              shown);
    EXPECT_NE(SelectionFingerprint({L"d:\\photos\\a.jpg", L"d:\\photos\\b.jpg"}), shown)
        << "the same names in another folder";

    static int asked = 0;
    bool (*restored)() = [] { return ++asked, true; };
    bool (*notRestored)() = [] { return ++asked, false; };
    uint32_t other = SelectionFingerprint({L"c:\\photos\\a.jpg"});
    struct Case {
        PackagedMenuSighting last[kPackagedEntries];  // Copy To, Move To
        DWORD now;
        bool away;
    } cases[] = {
        {{{1000, shown}, {1000, shown}}, 61000, true},  // a minute at most
        {{{1000, shown}, {30000, shown}}, 61000, true},
        {{{0xFFFFF000, shown}, {0xFFFFF000, shown}}, 0x1000, true},  // the tick count wrapped
        {{{1000, shown}, {1000, shown}}, 61001, false},
        {{{1000, shown}, {30000, shown}}, 61001, false},  // Copy To's is too old
        {{{1000, shown}, {}}, 1200, false},               // Move To never showed
        {{{}, {1000, shown}}, 1200, false},
        {{{1000, shown}, {1000, other}}, 1200, false},
        {{{1000, other}, {1000, other}}, 1200, false},
    };
    for (const Case& c : cases) {
        asked = 0;
        EXPECT_EQ(ClassicMenuStaysAway(c.last, c.now, shown, notRestored), c.away) << c.now;
        EXPECT_EQ(asked, c.away ? 1 : 0) << "the registry is read only when it decides";
        EXPECT_FALSE(ClassicMenuStaysAway(c.last, c.now, shown, restored));
    }
}

}  // namespace
