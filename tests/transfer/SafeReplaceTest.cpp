// Replacing an existing file never loses it: whatever fails or is cancelled while its
// successor is written, the existing target stays byte for byte, the source stays, and no
// staging file is left behind. Real faults under Wine where Wine can make them; the stand-in
// for the platform copy for a cancel and a read error in the middle of a file.
#include "NextRunUndo.h"
#include "TransferTestKit.h"
#include "UiDriver.h"

#include "transfer/FileTransfer.h"
#include "transfer/ProgressContext.h"
#include "transfer/StagingFolder.h"
#include "transfer/StartTransfer.h"
#include "transfer/TransferPlatform.h"
#include "transfer/TransferResources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>

namespace {

using kit::Bytes;

// A destination in which nothing new can be created (immutable, to root as well), while the
// existing files in it can still be written: the staging folder cannot be made there.
class ImmutableDestination {
public:
    explicit ImmutableDestination(const std::wstring& folder)
        : unixPath_(kit::UnixPathOf(folder)),
          undo_(L"immutable", L"chattr -i '" + unixPath_ + L"'") {
        made_ = kit::RunUnix(L"chattr +i '" + unixPath_ + L"'");
        std::wstring probe = folder + L"\\probe";
        if (made_ && CreateDirectoryW(probe.c_str(), nullptr)) {
            RemoveDirectoryW(probe.c_str());
            made_ = false;
        }
    }
    ~ImmutableDestination() { kit::RunUnix(L"chattr -i '" + unixPath_ + L"'"); }
    bool Made() const { return made_; }

private:
    std::wstring unixPath_;
    NextRunUndo undo_;  // a killed run would leave the folder undeletable
    bool made_ = false;
};

class SafeReplaceTest : public ::testing::Test {
protected:
    SafeReplaceTest()
        : watchdog_(40, "transfer_replace_tests"), root_(L"replace") {
        source_ = root_ / L"from";
        destination_ = root_ / L"to";
        CreateDirectoryW(source_.c_str(), nullptr);
        CreateDirectoryW(destination_.c_str(), nullptr);
        for (const wchar_t* name : {L"a.wdrep", L"b.wdrep"}) {
            std::wstring path = source_ + L"\\" + name;
            kit::WriteBytes(path, kit::Payload(200000, name[0]));
            sources_.push_back(path);
            kit::WriteBytes(Target(name), std::string("existing ") + static_cast<char>(name[0]));
        }
    }
    ~SafeReplaceTest() override {
        kit::EndLeftoverTransfers(before_);
        kit::RestorePlatform();
    }

    std::wstring Target(const std::wstring& name) const { return destination_ + L"\\" + name; }

    // Starts the job and says Yes to All when the replace question comes.
    void StartReplacing(const std::vector<std::wstring>& files, bool isCopy) {
        before_ = kit::Threads();
        ASSERT_TRUE(StartTransfer(nullptr, files, destination_, isCopy));
        HWND question = kit::WaitForDialog(L"Confirm File Replace");
        ASSERT_TRUE(question);
        PostCommand(question, files.size() > 1 ? IDC_REPLACE_YES_TO_ALL : IDC_REPLACE_YES);
    }
    // Answers the error report that must come and returns its text.
    std::wstring ReportAnswered(int button) {
        HWND box = kit::WaitForDialog(L"Wendrift : ERROR");
        EXPECT_TRUE(box) << "no error report";
        if (!box) return std::wstring();
        std::wstring text = MessageBoxText(box);
        PostCommand(box, button);
        EXPECT_TRUE(WaitForWindowGone(box, 5000));
        return text;
    }
    void WaitForEnd() { ASSERT_TRUE(kit::WaitForNewThreadsToEnd(before_)); }
    void ExpectTwinsLeftAlone(const std::wstring& home, const std::wstring& destination,
                              const std::wstring& alreadyThere = std::wstring());

    void ExpectExistingKept(const std::wstring& name) {
        EXPECT_EQ(Bytes(Target(name)), std::string("existing ") + static_cast<char>(name[0]));
    }
    void ExpectSourcesIntact() {
        for (const std::wstring& source : sources_) {
            wchar_t first = source[source.find_last_of(L'\\') + 1];
            EXPECT_EQ(Bytes(source), kit::Payload(200000, first)) << "source changed";
        }
    }
    // Exactly the two targets, nothing staged left over.
    void ExpectNothingLeftBehind() {
        EXPECT_EQ(kit::Listing(destination_), (std::vector<std::wstring>{L"a.wdrep", L"b.wdrep"}));
        EXPECT_EQ(kit::Listing(root_.Path()), (std::vector<std::wstring>{L"from", L"to"}));
    }

    Watchdog watchdog_;
    kit::Scratch root_;
    std::wstring source_;
    std::wstring destination_;
    std::vector<std::wstring> sources_;
    std::vector<DWORD> before_;
};

TEST_F(SafeReplaceTest, ASuccessfulReplaceGoesThroughAHiddenStagingFolder) {
    kit::StandIn& standIn = kit::InstallStandIn();
    StartReplacing({sources_[0]}, true);
    WaitForEnd();
    auto calls = standIn.Calls();
    ASSERT_EQ(calls.size(), 2u);  // the copy that found the target there, then the staged one
    EXPECT_EQ(calls[0].target, Target(L"a.wdrep"));
    EXPECT_EQ(calls[0].flags, static_cast<DWORD>(COPY_FILE_FAIL_IF_EXISTS));
    EXPECT_NE(calls[1].target, Target(L"a.wdrep"));
    EXPECT_EQ(calls[1].target.compare(0, destination_.size() + 1, destination_ + L"\\"), 0);
    ASSERT_NE(calls[1].targetFolderAttributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(calls[1].targetFolderAttributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(Bytes(Target(L"a.wdrep")), Bytes(sources_[0]));
    ExpectNothingLeftBehind();
}

TEST_F(SafeReplaceTest, WithoutAnExistingTargetTheCopyGoesStraightToIt) {
    kit::StandIn& standIn = kit::InstallStandIn();
    DeleteFileW(Target(L"a.wdrep").c_str());
    before_ = kit::Threads();
    ASSERT_TRUE(StartTransfer(nullptr, {sources_[0]}, destination_, true));
    WaitForEnd();
    auto calls = standIn.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].target, Target(L"a.wdrep"));
    EXPECT_EQ(Bytes(Target(L"a.wdrep")), Bytes(sources_[0]));
}

TEST_F(SafeReplaceTest, CancelInTheMiddleOfAFileKeepsTheExistingTarget) {
    kit::InstallSlowStandIn(20);
    StartReplacing({sources_[0]}, true);
    HWND progress = kit::WaitForProgressDialog(L"a.wdrep");
    ASSERT_TRUE(progress);
    ASSERT_TRUE(WaitUntil([&] {
        return ControlText(progress, IDC_CURRENT_TEXT).find(L"Current file: ") == 0;
    }, 5000)) << "part of the file is written";
    PostCommand(progress, IDC_PROGRESS_CANCEL);
    WaitForEnd();
    EXPECT_TRUE(!FindWindowW(L"#32770", L"Wendrift : ERROR"));
    ExpectExistingKept(L"a.wdrep");
    ExpectSourcesIntact();
    ExpectNothingLeftBehind();
}

TEST_F(SafeReplaceTest, AReadErrorInTheMiddleOfAFileKeepsTheExistingTarget) {
    for (bool isCopy : {true, false}) {
        SCOPED_TRACE(isCopy ? "copy" : "move across volumes");
        kit::StandIn& standIn = kit::InstallStandIn();
        standIn.failAfterBytes = 100000;
        standIn.crossVolume = true;
        StartReplacing(sources_, isCopy);
        for (const wchar_t* name : {L"a.wdrep", L"b.wdrep"}) {
            std::wstring text = ReportAnswered(IDYES);
            EXPECT_NE(text.find(L"While attempting to " + std::wstring(isCopy ? L"copy" : L"move") +
                                L":\n\n"),
                      std::wstring::npos);
            EXPECT_NE(text.find(L"\n\nto\n\n" + Target(name) + L"\n\n"), std::wstring::npos)
                << "the report names the real target: " << text;
        }
        WaitForEnd();
        ExpectExistingKept(L"a.wdrep");
        ExpectExistingKept(L"b.wdrep");
        ExpectSourcesIntact();
        ExpectNothingLeftBehind();
    }
}

TEST_F(SafeReplaceTest, AMoveWithinOneVolumeStaysOneRename) {
    kit::StandIn& standIn = kit::InstallStandIn();
    std::string incoming = Bytes(sources_[0]);
    StartReplacing({sources_[0]}, false);
    WaitForEnd();
    auto calls = standIn.Calls();
    ASSERT_EQ(calls.size(), 2u);  // the move that found the target there, then the rename over it
    EXPECT_FALSE(calls[1].isCopy);
    EXPECT_EQ(calls[1].target, Target(L"a.wdrep"));
    EXPECT_EQ(calls[1].flags,
              static_cast<DWORD>(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(Bytes(Target(L"a.wdrep")), incoming);
    EXPECT_FALSE(kit::Exists(sources_[0]));
    ExpectNothingLeftBehind();
}

TEST_F(SafeReplaceTest, AMoveAcrossVolumesGivesUpTheSourceOnlyAfterTheReplace) {
    kit::StandIn& standIn = kit::InstallStandIn();
    standIn.crossVolume = true;
    std::string incoming = Bytes(sources_[0]);
    StartReplacing({sources_[0]}, false);
    WaitForEnd();
    auto calls = standIn.Calls();
    ASSERT_EQ(calls.size(), 2u);  // the refused rename, then the copy aside
    EXPECT_TRUE(calls[1].targetFolderAttributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(Bytes(Target(L"a.wdrep")), incoming);
    EXPECT_FALSE(kit::Exists(sources_[0]));
    ExpectNothingLeftBehind();
}

// ---- real faults under Wine ----------------------------------------------------------------

TEST_F(SafeReplaceTest, ALockedSourceOrALockedTargetLeavesBothAsTheyWere) {
    for (bool lockSource : {true, false}) {
        SCOPED_TRACE(lockSource ? "locked source" : "locked target");
        std::wstring locked = lockSource ? sources_[0] : Target(L"a.wdrep");
        HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        if (lockSource) {
            // The copy cannot read its source: reported at once, nothing to ask about.
            before_ = kit::Threads();
            ASSERT_TRUE(StartTransfer(nullptr, {sources_[0]}, destination_, true));
        } else {
            StartReplacing({sources_[0]}, true);
        }
        std::wstring text = ReportAnswered(IDOK);
        EXPECT_NE(text.find(L"\n\nto\n\n" + Target(L"a.wdrep") + L"\n\n"), std::wstring::npos)
            << text;
        WaitForEnd();
        CloseHandle(lock);
        ExpectExistingKept(L"a.wdrep");
        ExpectSourcesIntact();
        ExpectNothingLeftBehind();
    }
}

TEST_F(SafeReplaceTest, ADestinationWhereNothingCanBeCreatedKeepsTheExistingTarget) {
    if (kit::LacksRoot()) GTEST_SKIP() << "making a folder immutable needs root";
    ImmutableDestination immutable(destination_);
    if (!immutable.Made()) GTEST_SKIP() << "this file system cannot make a folder immutable";
    StartReplacing(sources_, true);
    for (int i = 0; i < 2; ++i) ReportAnswered(IDYES);
    WaitForEnd();
    ExpectExistingKept(L"a.wdrep");
    ExpectExistingKept(L"b.wdrep");
    ExpectSourcesIntact();
    ExpectNothingLeftBehind();
}

// ---- one file under two names ---------------------------------------------------------------

// Whatever the answer to an earlier question, a file whose target is the file itself under its
// other name is reported and left alone. c.wdrep and d.wdrep lie in `home` and show in
// `destination` under their other names; a different file of the first source's name waits there.
// `alreadyThere`, when given, lies in the destination itself under another spelling: it goes
// along, stays as it is and gets one notice.
void SafeReplaceTest::ExpectTwinsLeftAlone(const std::wstring& home,
                                           const std::wstring& destination,
                                           const std::wstring& alreadyThere) {
    for (bool isCopy : {true, false}) {
        for (int answer : {IDC_REPLACE_YES, IDC_REPLACE_YES_TO_ALL}) {
            SCOPED_TRACE(std::string(isCopy ? "copy, " : "move, ") +
                         (answer == IDC_REPLACE_YES ? "Yes" : "Yes to All"));
            kit::RestorePlatform();
            if (!isCopy) kit::InstallStandIn().crossVolume = true;
            ASSERT_TRUE(kit::WriteBytes(destination + L"\\a.wdrep", "existing a"));
            ASSERT_TRUE(kit::WriteBytes(sources_[0], kit::Payload(200000, 'a')));
            std::vector<std::wstring> files = {sources_[0]};
            for (const wchar_t* name : {L"c.wdrep", L"d.wdrep"}) {
                files.push_back(home + L"\\" + name);
                ASSERT_TRUE(kit::WriteBytes(files.back(), kit::Payload(1000, name[0])));
            }
            if (!alreadyThere.empty()) {
                files.push_back(alreadyThere);
                ASSERT_TRUE(kit::WriteBytes(alreadyThere, kit::Payload(1000, 'e')));
            }
            before_ = kit::Threads();
            ASSERT_TRUE(StartTransfer(nullptr, files, destination, isCopy));
            HWND question = kit::WaitForDialog(L"Confirm File Replace");
            ASSERT_TRUE(question);
            PostCommand(question, answer);
            for (int i = 0; i < 2; ++i) {
                HWND box = kit::WaitForDialog(isCopy ? L"Wendrift : Can't copy file"
                                                     : L"Wendrift : Can't move file");
                ASSERT_TRUE(box) << "no report for " << i;
                EXPECT_EQ(MessageBoxText(box).find(
                              L"The source and destination file names are the same:\n\n" +
                              files[i + 1] + L"\n\nand\n\n" + destination + L"\\"),
                          0u)
                    << MessageBoxText(box);
                PostCommand(box, IDOK);
                ASSERT_TRUE(WaitForWindowGone(box, 5000));
            }
            std::vector<std::wstring> listing = {L"a.wdrep", L"c.wdrep", L"d.wdrep"};
            if (!alreadyThere.empty()) {
                HWND notice = kit::WaitForDialog(L"Wendrift : Already there");
                ASSERT_TRUE(notice);
                EXPECT_EQ(MessageBoxText(notice).find(L"One selected file is already in"), 0u);
                PostCommand(notice, IDOK);
                listing.push_back(L"e.wdrep");
            }
            WaitForEnd();
            EXPECT_EQ(Bytes(destination + L"\\a.wdrep"), kit::Payload(200000, 'a'));
            EXPECT_EQ(kit::Exists(sources_[0]), isCopy);
            EXPECT_EQ(Bytes(files[1]), kit::Payload(1000, 'c'));
            EXPECT_EQ(Bytes(files[2]), kit::Payload(1000, 'd'));
            if (!alreadyThere.empty()) {
                EXPECT_EQ(Bytes(alreadyThere), kit::Payload(1000, 'e'));
            }
            EXPECT_EQ(kit::Listing(destination), listing);
        }
    }
}

// Hard links: one file under two names in two folders of one volume.
TEST_F(SafeReplaceTest, AHardLinkedFileIsNeverReplacedByItself) {
    DeleteFileW(Target(L"b.wdrep").c_str());
    for (const wchar_t* name : {L"c.wdrep", L"d.wdrep"}) {
        const std::wstring file = source_ + L"\\" + name;
        ASSERT_TRUE(kit::WriteBytes(file, "twin"));
        ASSERT_TRUE(CreateHardLinkW(Target(name).c_str(), file.c_str(), nullptr));
    }
    ExpectTwinsLeftAlone(source_, destination_);
}

// Two drive letters onto one folder: a tmpfs mounted at <root>/one and bound again at
// <root>/two, each mount point a free drive letter of the prefix, as a second letter or a
// share reaches a folder on Windows. Needs root on the Linux side.
class AliasedDrives {
public:
    explicit AliasedDrives(const std::wstring& root) {
        wchar_t prefix[MAX_PATH] = {};
        GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
        CreateDirectoryW(root.c_str(), nullptr);
        for (wchar_t letter = L'P'; letter < L'Z' && letters_.size() < 2; ++letter) {
            if (!(GetLogicalDrives() & (1u << (letter - L'A')))) letters_ += letter;
        }
        std::wstring q = L"'", base = kit::UnixPathOf(root), links = q + prefix + L"/dosdevices/";
        if (!prefix[0] || base.empty() || letters_.size() < 2) return;
        std::wstring one = q + base + L"/one' ", two = q + base + L"/two' ";
        std::wstring link1 = links + wchar_t(towlower(letters_[0])) + L":' ";
        std::wstring link2 = links + wchar_t(towlower(letters_[1])) + L":' ";
        undo_ = L"rm -f " + link1 + link2 + L"; umount " + two + one + L"2>/dev/null; true";
        journal_.reset(new NextRunUndo(L"aliased-drives", undo_));
        made_ = kit::RunUnix(L"mkdir -p " + one + two + L"&& mount -t tmpfs -o size=16m wdtest " +
                             one + L"&& mount --bind " + one + two + L"&& ln -s " + one + link1 +
                             L"&& ln -s " + two + link2);
    }
    ~AliasedDrives() { kit::RunUnix(undo_); }
    bool Made() const { return made_; }
    std::wstring Drive(size_t i) const { return std::wstring(1, letters_[i]) + L":\\"; }

private:
    std::wstring letters_, undo_ = L"true";
    std::unique_ptr<NextRunUndo> journal_;
    bool made_ = false;
};

// As Windows sees a local folder and a share of it. Wine renames such a file in place where
// Windows refuses as between two volumes (ERROR_NOT_SAME_DEVICE): the move runs on the stand-in.
// The folder itself under the other letter is the selection's own: its file gets the notice.
TEST_F(SafeReplaceTest, AFileReachedUnderTwoDriveLettersIsNeverReplacedByItself) {
    if (kit::LacksRoot()) GTEST_SKIP() << "mounting one file system twice needs root";
    AliasedDrives drives(kit::Scratch::PathFor(L"aliased"));
    ASSERT_TRUE(drives.Made());
    const std::wstring folder = drives.Drive(0) + L"photos", alias = drives.Drive(1) + L"photos";
    const std::wstring twins = drives.Drive(0) + L"twins";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(twins.c_str(), nullptr));
    for (const wchar_t* name : {L"c.wdrep", L"d.wdrep"}) {
        const std::wstring file = twins + L"\\" + name;
        ASSERT_TRUE(kit::WriteBytes(file, "twin"));
        ASSERT_TRUE(CreateHardLinkW((folder + L"\\" + name).c_str(), file.c_str(), nullptr));
    }
    ExpectTwinsLeftAlone(twins, alias, folder + L"\\e.wdrep");
    // Behind the question, the engine's own guard: after the copy across volumes the source's
    // name shows the file just put in place, so the move keeps it.
    kit::StandIn& standIn = kit::InstallStandIn();
    standIn.crossVolume = true;
    ProgressContext context;
    BOOL cancel = FALSE;
    EXPECT_TRUE(ReplaceExistingFile(folder + L"\\c.wdrep", alias + L"\\c.wdrep", false, context,
                                    &cancel));
    EXPECT_EQ(standIn.Calls().size(), 2u) << "the rename refused, then the copy aside";
    EXPECT_EQ(Bytes(folder + L"\\c.wdrep"), kit::Payload(1000, 'c'));
}

// ---- staging folders left behind -----------------------------------------------------------

// Only hidden folders with our name, and only when no transfer holds them, are cleared away.
// A link of our name is never followed: what it leads to stays whole.
TEST(StaleStagingFolders, OnlyOurHiddenFoldersThatNoTransferHoldsGo) {
    kit::Scratch elsewhere(L"stale-elsewhere");  // made first, gone last: the link never dangles
    kit::Scratch folder(L"stale");
    ASSERT_TRUE(kit::WriteBytes(elsewhere / L"f", "someone else's file"));
    struct Case { const wchar_t* name; bool hidden; bool goes; bool link; };
    const Case cases[] = {
        {L"~wd0000ABCD.tmp", true, true, false},
        {L"~wd0000abce.tmp", false, false, false},  // not hidden: someone else's
        {L"~wdNOTAHEX.tmp", true, false, false},
        {L"~wd0000ABCF.tmp.old", true, false, false},
        {L"~wd0000ABC.tmp", true, false, false},
        {L"~wd0000ABD0.tmp", true, false, true},  // Wine shows a symbolic link as a reparse point
    };
    for (const Case& c : cases) {
        std::wstring path = folder / c.name;
        if (c.link) {
            ASSERT_TRUE(kit::RunUnix(L"ln -s '" + kit::UnixPathOf(elsewhere.Path()) + L"' '" +
                                     kit::UnixPathOf(folder.Path()) + L"/" + c.name + L"'"));
        } else {
            ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
            ASSERT_TRUE(kit::WriteBytes(path + L"\\f", "part of a file"));
        }
        if (c.hidden) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
        if (c.link) {  // listed as the sweep sees it: a hidden folder, and a reparse point
            WIN32_FIND_DATAW listed = {};
            FindClose(FindFirstFileW(path.c_str(), &listed));
            const DWORD seen =
                FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_REPARSE_POINT;
            ASSERT_EQ(listed.dwFileAttributes & seen, seen);
        }
    }
    StagingFolder held;
    ASSERT_TRUE(held.Create(folder.Path() + L"\\"));
    ASSERT_TRUE(kit::WriteBytes(held.FilePath(), "being written"));
    EXPECT_EQ(RemoveStaleStagingFolders(folder.Path()), 1u);
    for (const Case& c : cases) EXPECT_EQ(kit::Exists(folder / c.name), !c.goes) << c.name;
    EXPECT_EQ(kit::Bytes(held.FilePath()), "being written");
    EXPECT_EQ(kit::Bytes(elsewhere / L"f"), "someone else's file");
}

// transfer_replace_host, built beside this test, replacing `source` in `destination` slowly;
// null when it did not start.
HANDLE StartReplaceHost(const std::wstring& source, const std::wstring& destination) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring host = self;
    host = host.substr(0, host.find_last_of(L'\\') + 1) + L"transfer_replace_host.exe";
    std::wstring line = L"\"" + host + L"\" \"" + source + L"\" \"" + destination + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

// Our staging folders in `destination` whose staged file has begun.
std::vector<std::wstring> StagingUnderWay(const std::wstring& destination) {
    std::vector<std::wstring> found;
    for (const std::wstring& name : kit::Listing(destination)) {
        // Read without opening it: the copy holds the file without sharing.
        WIN32_FILE_ATTRIBUTE_DATA staged;
        if (IsStagingFolderName(name) &&
            GetFileAttributesExW((destination + L"\\" + name + L"\\f").c_str(),
                                 GetFileExInfoStandard, &staged) &&
            staged.nFileSizeLow > 0) {
            found.push_back(name);
        }
    }
    return found;
}

// The host dies in the middle of a replace (killed as a crashed shell is): its staging folder
// stays until the next transfer into that folder, which leaves alone the one of a host still
// copying.
TEST_F(SafeReplaceTest, ATransferClearsTheStagingFolderOfAKilledHostButNotOneInUse) {
    HANDLE killed = StartReplaceHost(sources_[0], destination_);
    ASSERT_TRUE(killed);
    std::vector<std::wstring> staging;
    EXPECT_TRUE(WaitUntil([&] { return (staging = StagingUnderWay(destination_)).size() == 1; },
                          10000));
    TerminateProcess(killed, 1);
    WaitForSingleObject(killed, 5000);
    CloseHandle(killed);
    ASSERT_EQ(staging.size(), 1u);
    const std::wstring left = staging[0];
    ExpectExistingKept(L"a.wdrep");

    // The next transfer into the folder, in another host, clears what the killed one left.
    HANDLE running = StartReplaceHost(sources_[0], destination_);
    ASSERT_TRUE(running);
    EXPECT_TRUE(WaitUntil([&] {
        staging = StagingUnderWay(destination_);
        return staging.size() == 1 && staging[0] != left;
    }, 10000));
    EXPECT_FALSE(kit::Exists(destination_ + L"\\" + left)) << "left by the killed host";
    ASSERT_EQ(staging.size(), 1u);
    // A transfer here meanwhile leaves the running host's folder alone.
    StartReplacing({sources_[1]}, true);
    WaitForEnd();
    EXPECT_TRUE(kit::Exists(destination_ + L"\\" + staging[0])) << "in use by the running host";

    EXPECT_EQ(WaitForSingleObject(running, 30000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(running, &code);
    CloseHandle(running);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(Bytes(Target(L"a.wdrep")), Bytes(sources_[0])) << "the running host's replace";
    EXPECT_EQ(Bytes(Target(L"b.wdrep")), Bytes(sources_[1]));
    ExpectSourcesIntact();
    ExpectNothingLeftBehind();
}

}  // namespace

// ---- reparse points of our name -------------------------------------------------------------

namespace {

// The tag the platform reports for each name from "~wd" on; every other name as it says.
std::map<std::wstring, DWORD> gTags;

BOOL WINAPI TaggedInformation(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information,
                              DWORD size) {
    if (!GetFileInformationByHandleEx(file, kind, information, size)) return FALSE;
    wchar_t path[MAX_PATH] = {};
    std::wstring name(path, GetFinalPathNameByHandleW(file, path, MAX_PATH, 0) % MAX_PATH);
    auto tagged = gTags.find(name.substr(std::min(name.find(L"~wd"), name.size())));
    if (kind == FileAttributeTagInfo && tagged != gTags.end()) {
        auto* info = static_cast<FILE_ATTRIBUTE_TAG_INFO*>(information);
        info->FileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        info->ReparseTag = tagged->second;
    }
    return TRUE;
}

}  // namespace

// Only a name surrogate (junction, symbolic link, mount point) is never entered or removed;
// a cloud placeholder or a deduplicated file of ours is an ordinary folder or file to the sweep.
TEST(StaleStagingFolders, OnlyNameSurrogatesAreLeftAloneOtherReparsePointsGo) {
    kit::Scratch folder(L"stale-tags");
    struct Case { const wchar_t* name; const wchar_t* tagged; DWORD tag; bool folderGoes; };
    const Case cases[] = {
        {L"~wd000000C1.tmp", L"~wd000000C1.tmp", IO_REPARSE_TAG_CLOUD_1, true},
        {L"~wd000000C2.tmp", L"~wd000000C2.tmp", IO_REPARSE_TAG_MOUNT_POINT, false},
        {L"~wd000000C3.tmp", L"~wd000000C3.tmp\\f", IO_REPARSE_TAG_DEDUP, true},
        {L"~wd000000C4.tmp", L"~wd000000C4.tmp\\f", IO_REPARSE_TAG_SYMLINK, false},
    };
    gTags.clear();
    for (const Case& c : cases) {
        std::wstring path = folder / c.name;
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        ASSERT_TRUE(kit::WriteBytes(path + L"\\f", "part of a file"));
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
        gTags[c.tagged] = c.tag;
    }
    Platform().fileInformation = TaggedInformation;
    EXPECT_EQ(RemoveStaleStagingFolders(folder.Path()), 2u);
    kit::RestorePlatform();
    for (const Case& c : cases) {
        EXPECT_EQ(kit::Exists(folder / c.name), !c.folderGoes) << c.name;
        if (!c.folderGoes) {
            EXPECT_TRUE(kit::Exists(folder / c.name + L"\\f")) << c.name;
        }
    }
}
