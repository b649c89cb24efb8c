// Whole transfers through StartTransfer, on their own threads with real dialogs, driven from
// the test thread as a user would: every prompt, the replace questions, Cancel, failures and
// bad input, checked against the files on disk.
#include "LanguageValue.h"
#include "NextRunUndo.h"
#include "TransferTestKit.h"
#include "UiDriver.h"

#include "store/AssociationStore.h"
#include "transfer/NumberFormat.h"
#include "transfer/StartTransfer.h"
#include "transfer/TransferResources.h"
#include "winframe/PathRules.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

using kit::Bytes;
using kit::WaitForDialog;

const wchar_t kExtension[] = L".wdjob";

void ToLowerForTest(std::wstring& text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
}

class JobTest : public ::testing::Test {
protected:
    JobTest() : watchdog_(40, "transfer_job_tests"), root_(L"job") {
        source_ = root_.Path() + L"\\from";
        destination_ = root_.Path() + L"\\to";
        CreateDirectoryW(source_.c_str(), nullptr);
        CreateDirectoryW(destination_.c_str(), nullptr);
    }
    ~JobTest() override {
        kit::EndLeftoverTransfers(before_);
        kit::RestorePlatform();
        RemoveExtension(kExtension);
    }

    // Creates source files name -> payload; returns their full paths in the given order.
    std::vector<std::wstring> Sources(const std::vector<std::wstring>& names, size_t size = 3000) {
        std::vector<std::wstring> paths;
        unsigned seed = 1;
        for (const std::wstring& name : names) {
            std::wstring path = source_ + L"\\" + name;
            EXPECT_TRUE(kit::WriteBytes(path, kit::Payload(size, seed++)));
            original_[path] = Bytes(path);
            paths.push_back(path);
        }
        return paths;
    }
    std::wstring Target(const std::wstring& name) const { return destination_ + L"\\" + name; }
    void Existing(const std::wstring& name, const std::string& bytes) {
        ASSERT_TRUE(kit::WriteBytes(Target(name), bytes));
    }

    void Start(const std::vector<std::wstring>& files, bool isCopy = true) {
        Start(files, destination_, isCopy);
    }
    void Start(const std::vector<std::wstring>& files, const std::wstring& destination,
               bool isCopy) {
        before_ = kit::Threads();
        ASSERT_TRUE(StartTransfer(nullptr, files, destination, isCopy));
    }
    // The transfer's threads are gone (its dialog with them).
    void WaitForEnd() {
        ASSERT_TRUE(kit::WaitForNewThreadsToEnd(before_))
            << "transfer hangs:" << kit::NewThreadsLeft(before_);
    }

    // A copy into a missing folder, stopped at its "Directory not found" question. The question
    // belongs to the job's owner: the progress dialog stays usable meanwhile, and it has its
    // title from its first appearance, before any file has started.
    void StartWithDestinationQuestion(const std::vector<std::wstring>& files,
                                      const std::wstring& missing, HWND& box, HWND& progress) {
        Start(files, missing, true);
        box = WaitForDialog(L"Wendrift : Directory not found");
        ASSERT_TRUE(box);
        progress = WaitForWindow(L"#32770", L"Copying ...", 5000);
        ASSERT_TRUE(progress);
    }

    // Answers the replace question that must come next; returns its window (gone by then).
    HWND Answer(int button) {
        HWND dialog = WaitForDialog(L"Confirm File Replace");
        EXPECT_TRUE(dialog) << "no replace question";
        if (!dialog) return nullptr;
        PostCommand(dialog, button);
        EXPECT_TRUE(WaitForWindowGone(dialog, 5000));
        return dialog;
    }

    // Nothing but the two folders of the test was created next to them.
    void ExpectNothingElseTouched() {
        EXPECT_EQ(kit::Listing(root_.Path()), (std::vector<std::wstring>{L"from", L"to"}));
        for (const auto& file : original_) {
            if (kit::Exists(file.first)) {
                EXPECT_EQ(Bytes(file.first), file.second);
            }
        }
    }
    const std::string& Original(const std::wstring& path) { return original_[path]; }

    Watchdog watchdog_;  // a window nobody answers fails the run instead of hanging it
    kit::Scratch root_;
    std::wstring source_;
    std::wstring destination_;
    std::vector<DWORD> before_;
    std::map<std::wstring, std::string> original_;
};

// ---- a transfer that runs through -------------------------------------------------------

// What a dialog showed, each change once, until it went away.
std::vector<std::wstring> TextsSeen(HWND dialog, int item) {
    std::vector<std::wstring> seen;
    WaitUntil([&] {
        std::wstring text = item ? ControlText(dialog, item) : WindowText(dialog);
        if (!text.empty() && (seen.empty() || seen.back() != text)) seen.push_back(text);
        return !IsWindowVisible(dialog);
    }, 15000);
    return seen;
}

TEST_F(JobTest, CopyShowsEachFileAsItStartsAndTheDialogGoesAwayByItself) {
    kit::StandIn& standIn = kit::InstallSlowStandIn(40);  // each file on screen for about half a second
    auto files = Sources({L"a.wdjob", L"b.wdjob", L"c.wdjob"}, 40000);
    Start(files);
    HWND dialog = kit::WaitForProgressDialog(L"a.wdjob");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(TextsSeen(dialog, IDC_OVERALL_TEXT),
              (std::vector<std::wstring>{L"Overall Progress (file 1 of 3) : 33%",
                                         L"Overall Progress (file 2 of 3) : 66%",
                                         L"Overall Progress (file 3 of 3) : 100%"}));
    WaitForEnd();
    EXPECT_FALSE(IsWindow(dialog));
    auto calls = standIn.Calls();
    ASSERT_EQ(calls.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(calls[i].source, files[i]);
        EXPECT_EQ(calls[i].flags, static_cast<DWORD>(COPY_FILE_FAIL_IF_EXISTS));
        EXPECT_EQ(Bytes(Target(FileNameOf(files[i]))), Original(files[i]));
    }
    ExpectNothingElseTouched();
}

TEST_F(JobTest, MoveTakesTheFilesAway) {
    kit::StandIn& standIn = kit::InstallSlowStandIn(30);
    standIn.crossVolume = true;  // a copy and a delete, slow enough to watch
    auto files = Sources({L"a.wdjob", L"b.wdjob", L"c.wdjob"}, 20000);
    std::vector<std::string> contents;
    for (auto& file : files) contents.push_back(Original(file));
    Start(files, false);
    HWND dialog = kit::WaitForProgressDialog(L"a.wdjob");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(TextsSeen(dialog, 0), std::vector<std::wstring>{L"Moving ..."});
    WaitForEnd();
    auto calls = standIn.Calls();
    ASSERT_EQ(calls.size(), 3u);
    // No REPLACE_EXISTING: the move itself says when a target exists.
    EXPECT_EQ(calls[0].flags, static_cast<DWORD>(MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(kit::Exists(files[i]));
        EXPECT_EQ(Bytes(Target(FileNameOf(files[i]))), contents[i]);
    }
}


TEST_F(JobTest, EscAndTheCloseBoxLeaveTheTransferRunning) {
    kit::StandIn& standIn = kit::InstallSlowStandIn(10);
    auto files = Sources({L"a.wdjob", L"b.wdjob"}, 40000);
    Start(files);
    HWND dialog = kit::WaitForProgressDialog(L"a.wdjob");
    ASSERT_TRUE(dialog);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // what Esc sends
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);                        // the close box
    WaitForEnd();
    EXPECT_EQ(standIn.Calls().size(), 2u);
    for (auto& file : files) EXPECT_EQ(Bytes(Target(FileNameOf(file))), Original(file));
}

TEST_F(JobTest, CancelStopsTheRunningFileAndStartsNoOther) {
    kit::StandIn& standIn = kit::InstallSlowStandIn(20);
    auto files = Sources({L"a.wdjob", L"b.wdjob", L"c.wdjob"}, 400000);
    Start(files);
    HWND dialog = kit::WaitForProgressDialog(L"a.wdjob");
    ASSERT_TRUE(dialog);
    HWND cancel = GetDlgItem(dialog, IDC_PROGRESS_CANCEL);
    SendMessageW(cancel, BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(cancel));
    WaitForEnd();
    EXPECT_EQ(standIn.Calls().size(), 1u);
    EXPECT_TRUE(kit::Listing(destination_).empty()) << "the aborted copy leaves nothing";
    EXPECT_TRUE(!FindWindowW(L"#32770", L"Wendrift : ERROR")) << "a cancel is not reported";
    ExpectNothingElseTouched();
}

TEST_F(JobTest, TwoTransfersAtOnceCancelStopsOnlyOne) {
    kit::InstallSlowStandIn(15);
    auto first = Sources({L"a1.wdjob", L"a2.wdjob"}, 200000);
    auto second = Sources({L"b1.wdjob", L"b2.wdjob"}, 200000);
    std::wstring otherDestination = root_.Path() + L"\\to2";
    CreateDirectoryW(otherDestination.c_str(), nullptr);
    before_ = kit::Threads();
    ASSERT_TRUE(StartTransfer(nullptr, first, destination_, true));
    ASSERT_TRUE(StartTransfer(nullptr, second, otherDestination, true));
    HWND firstDialog = kit::WaitForProgressDialog(L"a1.wdjob");
    HWND secondDialog = kit::WaitForProgressDialog(L"b1.wdjob");
    ASSERT_TRUE(firstDialog && secondDialog);
    ASSERT_NE(firstDialog, secondDialog);
    PostCommand(firstDialog, IDC_PROGRESS_CANCEL);
    WaitForEnd();
    // The cancelled transfer stops within its first files; what it finished is whole.
    EXPECT_FALSE(kit::Exists(Target(L"a2.wdjob")));
    if (kit::Exists(Target(L"a1.wdjob"))) {
        EXPECT_EQ(Bytes(Target(L"a1.wdjob")), Original(first[0]));
    }
    for (auto& file : second) {
        EXPECT_EQ(Bytes(otherDestination + L"\\" + FileNameOf(file)), Original(file));
    }
}

TEST_F(JobTest, ScreenshotsOfTheProgressAndReplaceDialogs) {
    kit::InstallSlowStandIn(10);
    auto files = Sources({L"holiday-video.wdjob", L"notes.wdjob"}, 1000000);
    Existing(L"notes.wdjob", "an older version");
    Start(files);
    HWND dialog = kit::WaitForProgressDialog(L"holiday-video.wdjob");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(WaitUntil([&] {
        return ControlText(dialog, IDC_CURRENT_TEXT).find(L"Current file: ") == 0 &&
               ControlText(dialog, IDC_RATE_TEXT) != L"Transfer Rate: calculating...";
    }, 5000)) << "the rate shows after a second";
    EXPECT_TRUE(SaveWindowPng(dialog, BuildDir() + L"\\progress-dialog.png"));
    HWND question = WaitForDialog(L"Confirm File Replace");
    ASSERT_TRUE(question);
    EXPECT_TRUE(SaveWindowPng(question, BuildDir() + L"\\replace-dialog.png"));
    PostCommand(question, IDCANCEL);
    WaitForEnd();
}

// ---- the replace question ----------------------------------------------------------------

TEST_F(JobTest, OneFileAsksWithYesInNosPlaceAndDescribesBothFiles) {
    kit::InstallStandIn();
    auto files = Sources({L"r&d.wdjob"}, 1536);
    Existing(L"r&d.wdjob", "old");
    Start(files);
    HWND dialog = WaitForDialog(L"Confirm File Replace");
    ASSERT_TRUE(dialog);
    HWND yes = GetDlgItem(dialog, IDC_REPLACE_YES), no = GetDlgItem(dialog, IDC_REPLACE_NO);
    EXPECT_TRUE(IsWindowVisible(yes));
    EXPECT_FALSE(IsWindowVisible(no));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_REPLACE_YES_TO_ALL)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
    RECT yesRect, noRect;
    GetWindowRect(yes, &yesRect);
    GetWindowRect(no, &noRect);
    EXPECT_EQ(yesRect.left, noRect.left);
    EXPECT_EQ(yesRect.top, noRect.top);
    // An "&" in the name is shown as it is, not as an underline.
    EXPECT_EQ(ControlText(dialog, IDC_REPLACE_QUESTION),
              L"The file 'r&d.wdjob' already exists in the destination directory. Would you "
              L"like to replace this file:");
    EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(dialog, IDC_REPLACE_QUESTION), GWL_STYLE) &
                SS_NOPREFIX);
    std::wstring separator = GetLocaleString(LOCALE_STHOUSAND);
    std::wstring incoming = ControlText(dialog, IDC_INCOMING_TEXT);
    std::wstring existing = ControlText(dialog, IDC_EXISTING_TEXT);
    EXPECT_EQ(incoming.find(L"1" + separator + L"536 Bytes (1.50 KB)\nCreated: "), 0u) << incoming;
    EXPECT_NE(incoming.find(L"\nModified: "), std::wstring::npos);
    EXPECT_EQ(existing.find(L"3 Bytes (3 Bytes)\nCreated: "), 0u) << existing;
    EXPECT_TRUE(SendDlgItemMessageW(dialog, IDC_INCOMING_ICON, STM_GETICON, 0, 0));
    // The progress dialog owns the question and waits, disabled, behind it.
    HWND progress = GetWindow(dialog, GW_OWNER);
    EXPECT_TRUE(WaitUntil([&] {
        return WindowText(progress) == L"Copying ..." &&
               ControlText(progress, IDC_OVERALL_TEXT) == L"Overall Progress (file 1 of 1) : 100%" &&
               ControlText(progress, IDC_CURRENT_TEXT) == L"Current file 'r&d.wdjob' : 0%";
    }, 2000)) << ControlText(progress, IDC_CURRENT_TEXT);
    EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(progress, IDC_CURRENT_TEXT), GWL_STYLE) &
                SS_NOPREFIX);
    EXPECT_FALSE(IsWindowEnabled(progress));
    PostCommand(dialog, IDC_REPLACE_YES);
    WaitForEnd();
    EXPECT_EQ(Bytes(Target(L"r&d.wdjob")), Original(files[0]));
}

// A transfer speaks the language chosen when it started, to its end, whatever is chosen
// meanwhile; an unknown choice is English.
TEST_F(JobTest, TheDialogsSpeakTheLanguageChosenWhenTheTransferStarted) {
    kit::InstallStandIn();
    auto files = Sources({L"a.wdjob", L"b.wdjob"});
    Existing(L"a.wdjob", "old a");
    Existing(L"b.wdjob", "old b");
    {
        LanguageValue german(L"de-AT");
        Start(files);
    }
    LanguageValue french(L"fr");
    for (int question = 0; question < 2; ++question) {
        HWND dialog = WaitForDialog(L"Ersetzen der Datei best\u00e4tigen");
        ASSERT_TRUE(dialog) << "question " << question;
        EXPECT_EQ(ControlText(dialog, IDC_REPLACE_YES_TO_ALL), L"Ja f\u00fcr a&lle");
        EXPECT_EQ(ControlText(dialog, IDCANCEL), L"&Abbrechen");
        EXPECT_EQ(ControlText(dialog, IDC_REPLACE_QUESTION).find(L"Die Datei \u201ea.wdjob\u201c"),
                  question == 0 ? 0u : std::wstring::npos);
        EXPECT_EQ(ControlText(dialog, IDC_EXISTING_TEXT).find(L"5 Bytes (5 Bytes)\nErstellt: "), 0u);
        HWND progress = GetWindow(dialog, GW_OWNER);
        EXPECT_TRUE(WaitUntil([&] { return WindowText(progress) == L"Wird kopiert ..."; }, 2000));
        PostCommand(dialog, IDC_REPLACE_NO);
        EXPECT_TRUE(WaitForWindowGone(dialog, 5000));
    }
    WaitForEnd();
    LanguageValue unknown(L"xx");
    Start(files);
    Answer(IDCANCEL);  // "Confirm File Replace"
    WaitForEnd();
}

TEST_F(JobTest, SeveralFilesNoKeepsOneYesToAllAsksNoMore) {
    kit::StandIn& standIn = kit::InstallStandIn();
    auto files = Sources({L"a.wdjob", L"b.wdjob", L"c.wdjob"});
    Existing(L"a.wdjob", "old a");
    Existing(L"b.wdjob", "old b");
    Existing(L"c.wdjob", "old c");
    Start(files);
    HWND dialog = WaitForDialog(L"Confirm File Replace");
    ASSERT_TRUE(dialog);
    for (int id : {IDC_REPLACE_YES, IDC_REPLACE_YES_TO_ALL, IDC_REPLACE_NO, IDCANCEL}) {
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, id))) << id;
    }
    Answer(IDC_REPLACE_NO);
    HWND second = WaitForDialog(L"Confirm File Replace");
    ASSERT_TRUE(second);
    EXPECT_TRUE(WaitUntil([&] {
        return ControlText(GetWindow(second, GW_OWNER), IDC_OVERALL_TEXT) ==
               L"Overall Progress (file 2 of 3) : 66%";
    }, 2000));
    Answer(IDC_REPLACE_YES_TO_ALL);
    WaitForEnd();  // no third question, or this would hang
    EXPECT_EQ(Bytes(Target(L"a.wdjob")), "old a");
    EXPECT_EQ(Bytes(Target(L"b.wdjob")), Original(files[1]));
    EXPECT_EQ(Bytes(Target(L"c.wdjob")), Original(files[2]));
    auto calls = standIn.Calls();  // each refused as existing, then c replaced without a question
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[4].source, files[2]);
    ExpectNothingElseTouched();
}

// Between copy calls (here while the question is open, before any byte moved) the clock goes on.
TEST_F(JobTest, ElapsedTimeAndRateTickWhileAQuestionIsOpen) {
    kit::InstallStandIn();
    auto files = Sources({L"a.wdjob"});
    Existing(L"a.wdjob", "old a");
    Start(files);
    HWND question = WaitForDialog(L"Confirm File Replace");
    ASSERT_TRUE(question);
    HWND progress = GetWindow(question, GW_OWNER);
    EXPECT_TRUE(WaitUntil([&] {
        return ControlText(progress, IDC_ELAPSED_TEXT) == L"Elapsed Time: 00:00:02";
    }, 5000)) << ControlText(progress, IDC_ELAPSED_TEXT);
    EXPECT_EQ(ControlText(progress, IDC_RATE_TEXT), L"Transfer Rate: 0.00 KB/sec");
    Answer(IDCANCEL);
    WaitForEnd();
}

TEST_F(JobTest, TheLastOfSeveralFilesStillOffersAllFourAnswers) {
    kit::InstallStandIn();
    auto files = Sources({L"a.wdjob", L"b.wdjob"});
    Existing(L"b.wdjob", "old b");
    Start(files);
    HWND dialog = WaitForDialog(L"Confirm File Replace");
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_REPLACE_NO)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_REPLACE_YES_TO_ALL)));
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box cancels
    WaitForEnd();
    EXPECT_EQ(Bytes(Target(L"b.wdjob")), "old b");
    EXPECT_EQ(Bytes(Target(L"a.wdjob")), Original(files[0]));
}

TEST_F(JobTest, CancelInTheQuestionStartsNoLaterFile) {
    kit::StandIn& standIn = kit::InstallStandIn();
    auto files = Sources({L"a.wdjob", L"b.wdjob", L"c.wdjob"});
    Existing(L"a.wdjob", "old a");
    Start(files);
    Answer(IDCANCEL);
    WaitForEnd();
    EXPECT_EQ(standIn.Calls().size(), 1u) << "only the call that found a.wdjob there";
    EXPECT_EQ(kit::Listing(destination_), std::vector<std::wstring>{L"a.wdjob"});
    EXPECT_EQ(Bytes(Target(L"a.wdjob")), "old a");
}

// ---- the destination ---------------------------------------------------------------------

// A folder picked for this transfer only ("Other folder...") has no association to speak of.
TEST_F(JobTest, AMissingDestinationIsCreatedWithItsMissingParentsOnYes) {
    kit::InstallStandIn();
    auto files = Sources({L"a.wdjob"});
    std::wstring missing = destination_ + L"\\new\\deeper";
    Start(files, missing, true);
    HWND box = WaitForDialog(L"Wendrift : Directory not found");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), L"The destination directory:\n\n" + missing +
                                       L"\n\ndoes not exist. Would you like to create it?");
    PostCommand(box, IDYES);
    WaitForEnd();
    EXPECT_EQ(Bytes(missing + L"\\a.wdjob"), Original(files[0]));

    // No ends the transfer without a word about an association.
    std::wstring other = destination_ + L"\\other";
    Start(files, other, true);
    box = WaitForDialog(L"Wendrift : Directory not found");
    ASSERT_TRUE(box);
    PostCommand(box, IDNO);
    WaitForEnd();
    EXPECT_FALSE(kit::Exists(other));
}

TEST_F(JobTest, AMissingDestinationIsDisassociatedOnNo) {
    std::wstring missing = destination_ + L"\\gone";
    ASSERT_TRUE(AddExtension(kExtension));
    ASSERT_TRUE(AssociateDirectory(kExtension, missing));
    ASSERT_TRUE(AssociateDirectory(kExtension, L"c:\\kept"));
    auto files = Sources({L"a.wdjob"});
    Start(files, missing, true);
    HWND box = WaitForDialog(L"Wendrift : Directory not found");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box),
              L"The destination directory:\n\n" + missing +
                  L"\n\nhas either been moved or renamed since its association with Wendrift. "
                  L"Would you like to create it?");
    PostCommand(box, IDNO);
    HWND notice = WaitForDialog(L"Wendrift : Removing association");
    ASSERT_TRUE(notice);
    EXPECT_EQ(MessageBoxText(notice), L"The inaccessible directory:\n\n" + missing +
                                       L"\n\nwill now be disassociated with Wendrift.");
    PostCommand(notice, IDOK);
    WaitForEnd();
    std::wstring folded = missing;
    ToLowerForTest(folded);
    EXPECT_FALSE(IsDirectoryAssociated(kExtension, folded));
    EXPECT_TRUE(IsDirectoryAssociated(kExtension, L"c:\\kept"));
    EXPECT_FALSE(kit::Exists(missing));
    ExpectNothingElseTouched();
}

bool StartsAndEndsWith(const std::wstring& text, const std::wstring& head,
                       const std::wstring& tail) {
    return text.size() > head.size() + tail.size() + 2 && text.compare(0, head.size(), head) == 0 &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// An unplugged disk, an offline share, or a folder that answers with an error other than "not
// found" (here a name the file system refuses): said with the system's text, nothing moved,
// the association kept, nothing asked.
TEST_F(JobTest, ADestinationThatIsNotAvailableNowIsKept) {
    DWORD drives = GetLogicalDrives();
    wchar_t letter = L'Q';
    while (letter < L'Z' && (drives & (1u << (letter - L'A')))) ++letter;
    ASSERT_LT(letter, L'Z') << "no free drive letter";
    ASSERT_TRUE(AddExtension(kExtension));
    const std::wstring unreachable = L": the drive or network share it is on cannot be reached";
    const struct { std::wstring path, reason; } cases[] = {
        {std::wstring(1, letter) + L":\\photos", unreachable},
        {L"\\\\nosuchhost\\share\\photos", unreachable},
        {destination_ + L"\\bad|name", L""},
    };
    for (const auto& c : cases) {
        std::wstring away = c.path;
        SCOPED_TRACE(away);
        ASSERT_TRUE(AssociateDirectory(kExtension, away));
        auto files = Sources({L"a.wdjob"});
        Start(files, away, false);
        HWND box = WaitForDialog(L"Wendrift : Directory not available");
        ASSERT_TRUE(box);
        EXPECT_TRUE(StartsAndEndsWith(
            MessageBoxText(box),
            L"The destination directory:\n\n" + away + L"\n\nis not available now" + c.reason +
                L". Windows reports:\n\n",
            L"\nNothing was transferred, and the directory stays associated with Wendrift."))
            << MessageBoxText(box);
        PostCommand(box, IDOK);
        WaitForEnd();
        ToLowerForTest(away);
        EXPECT_TRUE(IsDirectoryAssociated(kExtension, away));
        EXPECT_EQ(Bytes(files[0]), Original(files[0]));
    }
    EXPECT_TRUE(kit::Listing(destination_).empty());
    ExpectNothingElseTouched();
}

// The user asked for the folder, not to forget it.
TEST_F(JobTest, AFolderThatCannotBeCreatedIsReportedAndStaysAssociated) {
    std::wstring file = destination_ + L"\\plain.txt";
    ASSERT_TRUE(kit::WriteBytes(file, "not a folder"));
    ASSERT_TRUE(AddExtension(kExtension));
    ASSERT_TRUE(AssociateDirectory(kExtension, file));
    auto files = Sources({L"a.wdjob"});
    Start(files, file, true);
    HWND box = WaitForDialog(L"Wendrift : Directory not found");
    ASSERT_TRUE(box);
    PostCommand(box, IDYES);
    HWND error = WaitForDialog(L"Wendrift : ERROR");
    ASSERT_TRUE(error);
    EXPECT_TRUE(StartsAndEndsWith(
        MessageBoxText(error),
        L"An error occurred while attempting to create the directory:\n\n" + file + L"\n\n",
        L"\nNothing was transferred, and the directory stays associated with Wendrift.\n\n"
        L"Win32 error: 183"))
        << MessageBoxText(error);
    PostCommand(error, IDOK);
    WaitForEnd();
    std::wstring folded = file;
    ToLowerForTest(folded);
    EXPECT_TRUE(IsDirectoryAssociated(kExtension, folded));
    EXPECT_EQ(Bytes(file), "not a folder");
    EXPECT_EQ(Bytes(files[0]), Original(files[0]));
}

TEST_F(JobTest, CancelWhileTheDestinationQuestionIsOpenEndsBeforeTheFirstFile) {
    kit::StandIn& standIn = kit::InstallStandIn();
    auto files = Sources({L"a.wdjob"});
    std::wstring missing = destination_ + L"\\new";
    HWND box = nullptr, progress = nullptr;
    StartWithDestinationQuestion(files, missing, box, progress);
    if (HasFatalFailure()) return;
    HWND cancel = GetDlgItem(progress, IDC_PROGRESS_CANCEL);
    ASSERT_TRUE(IsWindowEnabled(cancel));
    SendMessageW(cancel, BM_CLICK, 0, 0);
    PostCommand(box, IDYES);
    WaitForEnd();
    EXPECT_TRUE(kit::Exists(missing));
    EXPECT_TRUE(kit::Listing(missing).empty());
    EXPECT_TRUE(standIn.Calls().empty());
}

// ---- pause and resume ---------------------------------------------------------------------

long long SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Held in the middle of a file, through the progress routine: no byte more is written until
// Resume, then the file completes. Cancel while held removes the partial copy and starts no
// other file, as it does otherwise.
TEST_F(JobTest, PauseHoldsMidFileUntilResumeAndCancelWhilePausedEndsAsEver) {
    for (bool resume : {true, false}) {
        SCOPED_TRACE(resume ? "resume" : "cancel");
        kit::StandIn& standIn = kit::InstallSlowStandIn(10);
        auto files = Sources({L"a.wdjob", L"b.wdjob"}, 400000);
        Start(files);
        HWND dialog = kit::WaitForProgressDialog(L"a.wdjob");
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(WaitUntil([&] { return SizeOf(Target(L"a.wdjob")) > 0; }, 5000));
        ClickButton(dialog, IDC_PROGRESS_PAUSE);
        ASSERT_TRUE(WaitUntil([&] {
            return ControlText(dialog, IDC_RATE_TEXT) == L"Transfer Rate: paused";
        }, 2000));
        // Measured once the dialog shows the pause, a timer tick later: the chunk the copy call
        // was writing when the button was pressed completes, as the platform's call does, and
        // the next chunk boundary holds.
        long long held = SizeOf(Target(L"a.wdjob"));
        EXPECT_EQ(ControlText(dialog, IDC_PROGRESS_PAUSE), L"&Resume");
        std::wstring elapsed = ControlText(dialog, IDC_ELAPSED_TEXT);
        Sleep(1500);
        EXPECT_EQ(SizeOf(Target(L"a.wdjob")), held) << "nothing written while paused";
        EXPECT_LT(held, 400000);
        EXPECT_EQ(ControlText(dialog, IDC_ELAPSED_TEXT), elapsed);
        EXPECT_EQ(standIn.Calls().size(), 1u);
        ClickButton(dialog, resume ? IDC_PROGRESS_PAUSE : IDC_PROGRESS_CANCEL);
        WaitForEnd();
        if (resume) {
            for (auto& file : files) EXPECT_EQ(Bytes(Target(FileNameOf(file))), Original(file));
        } else {
            EXPECT_EQ(standIn.Calls().size(), 1u);
            EXPECT_TRUE(kit::Listing(destination_).empty()) << "the partial copy is removed";
        }
        for (auto& file : files) DeleteFileW(Target(FileNameOf(file)).c_str());
    }
}

// Paused before a file starts (here while the destination question is open, which leaves the
// progress dialog usable): the question stays until answered, and no file starts until Resume.
TEST_F(JobTest, PauseBetweenFilesStartsNoFileUntilResume) {
    kit::StandIn& standIn = kit::InstallStandIn();
    auto files = Sources({L"a.wdjob"});
    std::wstring missing = destination_ + L"\\new";
    HWND box = nullptr, progress = nullptr;
    StartWithDestinationQuestion(files, missing, box, progress);
    if (HasFatalFailure()) return;
    ClickButton(progress, IDC_PROGRESS_PAUSE);
    Sleep(300);
    EXPECT_TRUE(IsWindow(box)) << "the question stays open";
    PostCommand(box, IDYES);
    ASSERT_TRUE(WaitForWindowGone(box, 5000));
    Sleep(500);
    EXPECT_TRUE(standIn.Calls().empty());
    ClickButton(progress, IDC_PROGRESS_PAUSE);
    WaitForEnd();
    EXPECT_EQ(Bytes(missing + L"\\a.wdjob"), Original(files[0]));
}

// ---- the files' own folder ------------------------------------------------------------------

// A second drive letter of the prefix onto `folder` (a link in its dosdevices, as Windows
// reaches one folder through another letter), removed by the destructor; empty when none.
class SecondLetter {
public:
    explicit SecondLetter(const std::wstring& folder) {
        wchar_t prefix[MAX_PATH] = {};
        GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
        wchar_t letter = L'Y';
        while (letter > L'M' && (GetLogicalDrives() & (1u << (letter - L'A')))) --letter;
        link_ = L"'" + std::wstring(prefix) + L"/dosdevices/" + wchar_t(towlower(letter)) + L":'";
        if (!prefix[0]) return;
        journal_.reset(new NextRunUndo(L"second-letter", L"rm -f " + link_));
        if (kit::RunUnix(L"rm -f " + link_ + L" && ln -s '" + kit::UnixPathOf(folder) + L"' " +
                         link_)) {
            root_ = std::wstring(1, letter) + L":\\";
        }
    }
    ~SecondLetter() { kit::RunUnix(L"rm -f " + link_); }
    const std::wstring& Root() const { return root_; }

private:
    std::wstring link_ = L"''", root_;
    std::unique_ptr<NextRunUndo> journal_;
};

// Sent into the folder the files are in, under another spelling: one notice for the whole
// selection, no replace question, every file as it was; a file of the selection that lives
// elsewhere still goes.
TEST_F(JobTest, TheFilesOwnFolderUnderAnotherSpellingSaysSoOnceAndTheOthersGo) {
    kit::InstallStandIn();
    auto files = Sources({L"a.wdjob", L"b.wdjob", L"c.wdjob"});
    std::wstring upper = source_, other = root_.Path() + L"\\elsewhere.wdjob";
    for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
    SecondLetter letter(source_);
    ASSERT_FALSE(letter.Root().empty()) << "no second drive letter could be made";
    const std::pair<std::wstring, const wchar_t*> cases[] = {
        {upper, L"The selected files are already in the destination directory:"},
        {letter.Root(), L"3 of the selected files are already in the destination directory:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        auto selection = files;
        bool withOther = c.second[0] == L'3';
        if (withOther) {
            ASSERT_TRUE(kit::WriteBytes(other, "elsewhere"));
            selection.push_back(other);
        }
        Start(selection, c.first, false);  // a move would delete the only copy
        HWND notice = WaitForDialog(L"Wendrift : Already there");
        ASSERT_TRUE(notice);
        EXPECT_EQ(MessageBoxText(notice).find(c.second), 0u) << MessageBoxText(notice);
        PostCommand(notice, IDOK);
        WaitForEnd();
        EXPECT_FALSE(FindWindowW(L"#32770", L"Confirm File Replace"));
        EXPECT_FALSE(FindWindowW(L"#32770", L"Wendrift : Already there")) << "said once";
        for (auto& file : files) EXPECT_EQ(Bytes(file), Original(file));
        if (withOther) {
            EXPECT_EQ(Bytes(source_ + L"\\elsewhere.wdjob"), "elsewhere");
        }
    }
}

// ---- skipped and failed files ----------------------------------------------------------

TEST_F(JobTest, ATargetLongerThanMaxPathIsSkippedWithItsWarning) {
    kit::StandIn& standIn = kit::InstallStandIn();
    std::wstring longName = std::wstring(150, L'n') + L".wdjob";
    auto files = Sources({L"a.wdjob", longName, L"c.wdjob"});
    std::wstring deep = destination_ + L"\\" + std::wstring(100, L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    std::wstring longTarget = deep + L"\\" + longName;
    ASSERT_GT(longTarget.size(), 260u);
    Start(files, deep, true);
    HWND warning = WaitForDialog(L"Wendrift : Can't copy file");
    ASSERT_TRUE(warning);
    EXPECT_EQ(MessageBoxText(warning), L"The following destination path:\n\n" + longTarget +
                                        L"\n\nis longer than MAX_PATH characters, and cannot be "
                                        L"created.");
    PostCommand(warning, IDOK);
    WaitForEnd();
    auto calls = standIn.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].source, files[2]);
    EXPECT_EQ(kit::Listing(deep), (std::vector<std::wstring>{L"a.wdjob", L"c.wdjob"}));
}

// The report names both paths and ends with the system's own text (never compared exactly).
void ExpectReport(HWND box, const std::wstring& verb, const std::wstring& source,
                  const std::wstring& target, bool multiple) {
    std::wstring text = MessageBoxText(box);
    std::wstring head = L"While attempting to " + verb + L":\n\n" + source + L"\n\nto\n\n" +
                        target + L"\n\nThe following error occurred:\n\n";
    ASSERT_EQ(text.compare(0, head.size(), head), 0) << text;
    std::wstring rest = text.substr(head.size());
    std::wstring suffix = L"\nWould you like Wendrift to continue with the next file?";
    bool hasSuffix = rest.size() > suffix.size() &&
                     rest.compare(rest.size() - suffix.size(), suffix.size(), suffix) == 0;
    EXPECT_EQ(hasSuffix, multiple) << text;
    EXPECT_GT(rest.size(), multiple ? suffix.size() + 2 : 2u) << "the system's text is missing";
    EXPECT_EQ(GetDlgItem(box, IDYES) != nullptr, multiple);
}

TEST_F(JobTest, ALockedTargetIsReportedAndOneFileEndsWithOk) {
    auto files = Sources({L"a.wdjob"});
    Existing(L"a.wdjob", "old a");
    HANDLE lock = CreateFileW(Target(L"a.wdjob").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Start(files);
    Answer(IDC_REPLACE_YES);
    HWND box = WaitForDialog(L"Wendrift : ERROR");
    ASSERT_TRUE(box);
    ExpectReport(box, L"copy", files[0], Target(L"a.wdjob"), false);
    PostCommand(box, IDOK);
    WaitForEnd();
    CloseHandle(lock);
    EXPECT_EQ(Bytes(Target(L"a.wdjob")), "old a");
    ExpectNothingElseTouched();
}

TEST_F(JobTest, NoToTheContinueQuestionEndsTheTransfer) {
    auto files = Sources({L"a.wdjob", L"b.wdjob", L"c.wdjob"});
    Existing(L"a.wdjob", "old a");
    HANDLE lock = CreateFileW(Target(L"a.wdjob").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Start(files, false);
    Answer(IDC_REPLACE_YES);
    HWND box = WaitForDialog(L"Wendrift : ERROR");
    ASSERT_TRUE(box);
    ExpectReport(box, L"move", files[0], Target(L"a.wdjob"), true);
    PostCommand(box, IDNO);
    WaitForEnd();
    CloseHandle(lock);
    EXPECT_EQ(kit::Listing(destination_), std::vector<std::wstring>{L"a.wdjob"});
    EXPECT_EQ(Bytes(Target(L"a.wdjob")), "old a");
    for (auto& file : files) EXPECT_EQ(Bytes(file), Original(file)) << "sources stay";
}

TEST_F(JobTest, VanishedDirectoryAndUnreadableSourcesAreReportedAndTheRestGoesThrough) {
    auto files = Sources({L"gone.wdjob", L"locked.wdjob", L"fine.wdjob"});
    std::wstring folder = source_ + L"\\folder.wdjob";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    files.insert(files.begin() + 1, folder);
    ASSERT_TRUE(DeleteFileW(files[0].c_str()));  // vanished between right-click and its turn
    HANDLE lock = CreateFileW(files[2].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Start(files);
    for (int i = 0; i < 3; ++i) {
        HWND box = WaitForDialog(L"Wendrift : ERROR");
        ASSERT_TRUE(box) << i;
        ExpectReport(box, L"copy", files[i], Target(FileNameOf(files[i])), true);
        PostCommand(box, IDYES);
        ASSERT_TRUE(WaitForWindowGone(box, 5000));
    }
    WaitForEnd();
    CloseHandle(lock);
    EXPECT_EQ(kit::Listing(destination_), std::vector<std::wstring>{L"fine.wdjob"});
    EXPECT_EQ(Bytes(Target(L"fine.wdjob")), Original(files[3]));
    EXPECT_TRUE(kit::Exists(folder));
}

// Without a system text for the error the report still comes, with the number; an abort the
// user did not ask for (a filter or a redirector ended the call) is reported like any failure.
TEST_F(JobTest, AFailureWithoutASystemTextOrAnAbortNobodyAskedForIsReported) {
    // An application's own code (the system has no text for it), then a lone abort.
    for (DWORD failure : {0x20001234ul, static_cast<DWORD>(ERROR_REQUEST_ABORTED)}) {
        SCOPED_TRACE(failure);
        kit::StandIn& standIn = kit::InstallStandIn();
        standIn.failAfterBytes = 0;
        standIn.failError = failure;
        auto files = Sources({L"a.wdjob", L"b.wdjob"});
        Start(files);
        for (const std::wstring& file : files) {
            HWND box = WaitForDialog(L"Wendrift : ERROR");
            ASSERT_TRUE(box);
            ExpectReport(box, L"copy", file, Target(FileNameOf(file)), true);
            if (failure == 0x20001234) {
                EXPECT_NE(MessageBoxText(box).find(L"Error 536875572 (0x20001234)"),
                          std::wstring::npos);
            }
            PostCommand(box, IDYES);
            ASSERT_TRUE(WaitForWindowGone(box, 5000));
        }
        WaitForEnd();
    }
}

TEST_F(JobTest, AFolderUnderTheTargetNameIsAskedAboutThenReportedAndKept) {
    auto files = Sources({L"a.wdjob"});
    ASSERT_TRUE(CreateDirectoryW(Target(L"a.wdjob").c_str(), nullptr));
    Start(files);
    HWND question = WaitForDialog(L"Confirm File Replace");
    ASSERT_TRUE(question);
    EXPECT_EQ(ControlText(question, IDC_EXISTING_TEXT), L"") << "a folder cannot be described";
    EXPECT_NE(ControlText(question, IDC_INCOMING_TEXT), L"");
    PostCommand(question, IDC_REPLACE_YES);
    HWND box = WaitForDialog(L"Wendrift : ERROR");
    ASSERT_TRUE(box);
    ExpectReport(box, L"copy", files[0], Target(L"a.wdjob"), false);
    PostCommand(box, IDOK);
    WaitForEnd();
    EXPECT_EQ(kit::Listing(destination_), std::vector<std::wstring>{L"a.wdjob"});
    EXPECT_TRUE(GetFileAttributesW(Target(L"a.wdjob").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(kit::Listing(Target(L"a.wdjob")).empty());
}

// A host's process reference (SHSetInstanceExplorer), counting who holds it.
class HostProcess : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = IsEqualIID(iid, IID_IUnknown) ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&count); }
    STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&count); }
    volatile LONG count = 1;
};

// The transfer's threads behave as shell code: the host's process is held until the transfer
// ends, and the worker, which calls the shell, has an apartment.
TEST_F(JobTest, TheHostsProcessIsHeldUntilTheTransferEndsAndTheWorkerHasAnApartment) {
    using SetInstance = void(WINAPI*)(IUnknown*);
    auto setInstanceExplorer = reinterpret_cast<SetInstance>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"shell32.dll"), "SHSetInstanceExplorer")));
    ASSERT_TRUE(setInstanceExplorer);
    HostProcess host;
    setInstanceExplorer(&host);
    kit::StandIn& standIn = kit::InstallSlowStandIn(30);
    auto files = Sources({L"a.wdjob"}, 40000);
    Start(files);
    EXPECT_TRUE(WaitUntil([&] { return !standIn.Calls().empty(); }, 5000));
    EXPECT_EQ(host.count, 2) << "held while the copy runs";
    WaitForEnd();
    EXPECT_EQ(host.count, 1) << "given back when the transfer has ended";
    setInstanceExplorer(nullptr);
    auto calls = standIn.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].apartment, S_FALSE) << "the worker initialised an apartment";
}

TEST_F(JobTest, AnEmptySelectionEndsAtOnceAndTouchesNothing) {
    Start({});
    WaitForEnd();
    EXPECT_TRUE(kit::Listing(destination_).empty());
    ExpectNothingElseTouched();
}

TEST_F(JobTest, ADestinationOnATooLongPathSkipsEveryFile) {
    kit::StandIn& standIn = kit::InstallStandIn();
    std::wstring deep = destination_;
    while (deep.size() < 262) {
        deep += L"\\" + std::wstring(60, L'x');
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << deep.size();
    }
    auto files = Sources({L"a.wdjob", L"b.wdjob"});
    Start(files, deep, true);
    for (int i = 0; i < 2; ++i) {
        HWND warning = WaitForDialog(L"Wendrift : Can't copy file");
        ASSERT_TRUE(warning);
        PostCommand(warning, IDOK);
        ASSERT_TRUE(WaitForWindowGone(warning, 5000));
    }
    WaitForEnd();
    EXPECT_TRUE(standIn.Calls().empty());
    EXPECT_TRUE(kit::Listing(deep).empty());
}

}  // namespace
