// The progress routine publishes, the dialog paints what was published on its own thread, with
// the figures Windows passes to the routine and a clock the test sets. Also checks the shipped
// library's dialog templates.
#include "TransferTestKit.h"

#include "transfer/NamedMutex.h"
#include "transfer/ProgressContext.h"
#include "transfer/ProgressDlg.h"
#include "transfer/ProgressState.h"
#include "transfer/TaskbarProgress.h"
#include "transfer/TransferPlatform.h"
#include "transfer/TransferProgressRoutine.h"
#include "transfer/TransferResources.h"
#include "winframe/ApartmentScope.h"
#include "winframe/LibraryContext.h"

#include <commctrl.h>
#include <oleacc.h>
#include <gtest/gtest.h>

#include <type_traits>

namespace {

DWORD gNow = 0;
DWORD WINAPI FakeTick() { return gNow; }

LARGE_INTEGER Large(long long value) {
    LARGE_INTEGER large;
    large.QuadPart = value;
    return large;
}

class ProgressRoutineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mutex_.Create(nullptr, FALSE, L"Wendrift"));
        dialog_.progress = &state_;
        dialog_.mutex = &mutex_;
        ASSERT_TRUE(dialog_.CreateModeless(LibraryModule(), MAKEINTRESOURCEW(IDD_PROGRESS),
                                           nullptr));
        Platform().tickCount = FakeTick;
        gNow = 5000;
        context_.progress = &state_;
        context_.cancelFlag = state_.CancelFlag();
        state_.Start();
        state_.BeginFile(1, 1, L"song.mp3");
    }
    void TearDown() override {
        DestroyWindow(dialog_.Handle());
        kit::RestorePlatform();
    }

    // One call as CopyFileExW makes it for a file with one stream.
    DWORD Call(long long size, long long done) {
        return TransferProgressRoutine(Large(size), Large(done), Large(size), Large(done), 1,
                                       CALLBACK_CHUNK_FINISHED, nullptr, nullptr, &context_);
    }
    std::wstring Current() { return ControlText(dialog_.Handle(), IDC_CURRENT_TEXT); }
    std::wstring Rate() { return ControlText(dialog_.Handle(), IDC_RATE_TEXT); }
    std::wstring Elapsed() { return ControlText(dialog_.Handle(), IDC_ELAPSED_TEXT); }
    int CurrentBar() {
        return static_cast<int>(
            SendDlgItemMessageW(dialog_.Handle(), IDC_CURRENT_BAR, PBM_GETPOS, 0, 0));
    }

    NamedMutex mutex_;
    ProgressState state_;
    ProgressDlg dialog_;
    ProgressContext context_;
};

TEST_F(ProgressRoutineTest, TheRoutinePublishesAndTheNextPaintShowsItInItsOwnWording) {
    dialog_.Render();
    EXPECT_EQ(WindowText(dialog_.Handle()), L"Copying ...");
    EXPECT_EQ(ControlText(dialog_.Handle(), IDC_OVERALL_TEXT),
              L"Overall Progress (file 1 of 1) : 100%");
    EXPECT_EQ(Current(), L"Current file 'song.mp3' : 0%");
    EXPECT_EQ(Rate(), L"Transfer Rate: calculating...");
    EXPECT_EQ(Call(1000, 250), static_cast<DWORD>(PROGRESS_CONTINUE));
    EXPECT_EQ(Current(), L"Current file 'song.mp3' : 0%") << "published, not sent";
    dialog_.Render();
    EXPECT_EQ(Current(), L"Current file: 'song.mp3' : 25%");
    EXPECT_EQ(CurrentBar(), 25);
    Call(1000, 1000);
    dialog_.Render();
    EXPECT_EQ(Current(), L"Current file: 'song.mp3' : 100%");
}

TEST_F(ProgressRoutineTest, AnEmptyFileOrAnEmptyStreamIsComplete) {
    TransferProgressRoutine(Large(0), Large(0), Large(0), Large(0), 1, CALLBACK_STREAM_SWITCH,
                            nullptr, nullptr, &context_);
    dialog_.Render();
    EXPECT_EQ(Current(), L"Current file: 'song.mp3' : 100%");
    state_.BeginFile(1, 1, L"song.mp3");
    context_.lastPercent = 0;
    // A stream size of 0 next to a non-empty file: no division by zero.
    TransferProgressRoutine(Large(4096), Large(0), Large(0), Large(0), 2, CALLBACK_STREAM_SWITCH,
                            nullptr, nullptr, &context_);
    dialog_.Render();
    EXPECT_EQ(Current(), L"Current file: 'song.mp3' : 100%");
}

// The rate is what the job moved since the last figure, a second or more back, per second.
TEST_F(ProgressRoutineTest, RateIsWhatMovedOverTheLastSecondPerSecond) {
    state_.StartClock(gNow);
    struct Case { long long bytes; DWORD windowMs; const wchar_t* text; };
    const Case cases[] = {
        {3 * 1048576LL, 1000, L"Transfer Rate: 3.00 MB/sec"},
        {1048576LL, 1000, L"Transfer Rate: 1024.00 KB/sec"},  // exactly 1024 KB stays in KB
        {524288LL, 1000, L"Transfer Rate: 512.00 KB/sec"},
        {2 * 1048576LL, 2000, L"Transfer Rate: 1024.00 KB/sec"},  // a paint that came late
        {0, 1000, L"Transfer Rate: 0.00 KB/sec"},                  // nothing moved, still ticks
    };
    std::wstring before = L"Transfer Rate: calculating...";
    long long done = 0;
    for (const Case& c : cases) {
        done += c.bytes;
        Call(done * 4, done);
        gNow += 999;
        dialog_.Render();
        EXPECT_EQ(Rate(), before) << "less than a second";
        gNow += c.windowMs - 999;
        dialog_.Render();
        EXPECT_EQ(Rate(), c.text);
        before = c.text;
    }
    // A file that failed part-way: the next one counts on from less than was published.
    state_.SetBytesDone(done - 1048576);
    gNow += 1000;
    dialog_.Render();
    EXPECT_EQ(Rate(), L"Transfer Rate: 0.00 KB/sec");
}

// Ticks with the clock: no copy call has to report, so a question may be open meanwhile.
TEST_F(ProgressRoutineTest, ElapsedTimeTicksWithTheClockInHoursMinutesSeconds) {
    dialog_.Render();
    EXPECT_EQ(Elapsed(), L"Elapsed Time: 00:00:00") << "before the first copy call";
    state_.StartClock(gNow);
    gNow += 3725000;
    dialog_.Render();
    EXPECT_EQ(Elapsed(), L"Elapsed Time: 01:02:05");
    gNow = 5000 + 100u * 3600000u;  // hours are not wrapped at 24 or 99
    dialog_.Render();
    EXPECT_EQ(Elapsed(), L"Elapsed Time: 100:00:00");
}

TEST_F(ProgressRoutineTest, AnswersCancelOnceTheFlagIsSet) {
    EXPECT_EQ(Call(100, 10), static_cast<DWORD>(PROGRESS_CONTINUE));
    state_.Cancel();
    EXPECT_EQ(Call(100, 90), static_cast<DWORD>(PROGRESS_CANCEL));
    EXPECT_EQ(TransferProgressRoutine(Large(1), Large(1), Large(1), Large(1), 1, 0, nullptr,
                                      nullptr, nullptr),
              static_cast<DWORD>(PROGRESS_CONTINUE));
}

TEST_F(ProgressRoutineTest, CancelButtonSetsTheFlagOnceAndEscOrCloseDoNothing) {
    HWND window = dialog_.Handle();
    HWND cancel = GetDlgItem(window, IDC_PROGRESS_CANCEL);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // Esc
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);                        // close box
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(state_.Cancelled());
    EXPECT_TRUE(IsWindowEnabled(cancel));

    dialog_.progress = nullptr;  // no transfer behind it: the click is ignored
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_CANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindowEnabled(cancel));

    dialog_.progress = &state_;
    SendMessageW(cancel, BM_CLICK, 0, 0);
    EXPECT_TRUE(state_.Cancelled());
    EXPECT_FALSE(IsWindowEnabled(cancel));
}

TEST_F(ProgressRoutineTest, ShowOperationsFillTheirItems) {
    dialog_.ShowOverall(66, L"Overall Progress (file 2 of 3) : 66%");
    EXPECT_EQ(ControlText(dialog_.Handle(), IDC_OVERALL_TEXT),
              L"Overall Progress (file 2 of 3) : 66%");
    EXPECT_EQ(SendDlgItemMessageW(dialog_.Handle(), IDC_OVERALL_BAR, PBM_GETPOS, 0, 0), 66);
    dialog_.ShowElapsed(0);
    EXPECT_EQ(Elapsed(), L"Elapsed Time: 00:00:00");
    dialog_.ShowRate(L"Transfer Rate: calculating...");
    EXPECT_EQ(Rate(), L"Transfer Rate: calculating...");
}
// A text or position already shown is not sent again; each item must still end up showing the
// last thing it was given, whatever the other items were given in between.
TEST_F(ProgressRoutineTest, EveryItemShowsWhatItWasLastGivenThroughRepeatsAndReturns) {
    struct Step {
        const wchar_t* item;  // overall, current or rate
        int percent;
        const wchar_t* text;
    };
    const Step steps[] = {
        {L"overall", 0, L"Overall Progress (file 1 of 2) : 0%"},
        {L"current", 0, L"Current file 'a.txt' : 0%"},
        {L"rate", 0, L"Transfer Rate: calculating..."},
        {L"current", 0, L"Current file 'a.txt' : 0%"},          // repeated
        {L"current", 100, L"Current file: 'a.txt' : 100%"},
        {L"current", 0, L"Current file 'a.txt' : 0%"},          // back to an earlier one
        {L"rate", 0, L"Transfer Rate: 1.00 MB/sec"},
        {L"rate", 0, L"Transfer Rate: calculating..."},
        {L"overall", 50, L"Overall Progress (file 2 of 2) : 50%"},
        {L"current", 0, L"Overall Progress (file 2 of 2) : 50%"},  // another item's text
        {L"overall", 50, L"Overall Progress (file 2 of 2) : 50%"},
    };
    std::wstring overall, current, rate;
    int overallBar = -1, currentBar = -1;
    for (size_t i = 0; i < sizeof(steps) / sizeof(steps[0]); ++i) {
        const Step& step = steps[i];
        std::wstring item = step.item;
        if (item == L"overall") {
            dialog_.ShowOverall(step.percent, step.text);
            overall = step.text;
            overallBar = step.percent;
        } else if (item == L"current") {
            dialog_.ShowCurrent(step.percent, step.text);
            current = step.text;
            currentBar = step.percent;
        } else {
            dialog_.ShowRate(step.text);
            rate = step.text;
        }
        SCOPED_TRACE(testing::Message() << "after step " << i);
        EXPECT_EQ(ControlText(dialog_.Handle(), IDC_OVERALL_TEXT), overall);
        EXPECT_EQ(Current(), current);
        EXPECT_EQ(Rate(), rate);
        if (overallBar >= 0) {
            EXPECT_EQ(SendDlgItemMessageW(dialog_.Handle(), IDC_OVERALL_BAR, PBM_GETPOS, 0, 0),
                      overallBar);
        }
        if (currentBar >= 0) {
            EXPECT_EQ(CurrentBar(), currentBar);
        }
    }
}

// The routine runs per chunk without the mutex: a Cancel that holds it, as the dialog does
// while it sets the flag, neither blocks the routine nor hides a flag already set.
TEST_F(ProgressRoutineTest, AnswersWithoutWaitingForTheMutex) {
    // Taken by this thread through a handle of its own; the routine runs on another one.
    HANDLE held = CreateMutexW(nullptr, FALSE, L"Wendrift");
    ASSERT_TRUE(held);
    ASSERT_EQ(WaitForSingleObject(held, 1000), WAIT_OBJECT_0);
    using Self = std::remove_pointer_t<decltype(this)>;
    DWORD answer = 0;
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID self) -> DWORD { return static_cast<Self*>(self)->Call(100, 40); },
        this, 0, nullptr);
    ASSERT_TRUE(thread);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    GetExitCodeThread(thread, &answer);
    EXPECT_EQ(answer, static_cast<DWORD>(PROGRESS_CONTINUE));
    CloseHandle(thread);
    state_.Cancel();
    EXPECT_EQ(Call(100, 50), static_cast<DWORD>(PROGRESS_CANCEL));
    ReleaseMutex(held);
    CloseHandle(held);
}

// ---- pause, resume and the taskbar ---------------------------------------------------------

TEST_F(ProgressRoutineTest, PauseStopsTheClockAndTheRateUntilResume) {
    HWND pause = GetDlgItem(dialog_.Handle(), IDC_PROGRESS_PAUSE);
    EXPECT_EQ(WindowText(pause), L"&Pause");
    state_.StartClock(gNow);
    gNow += 2000;
    Call(8 * 1048576LL, 2 * 1048576LL);
    SendMessageW(pause, BM_CLICK, 0, 0);
    EXPECT_EQ(WindowText(pause), L"&Resume");
    EXPECT_EQ(Rate(), L"Transfer Rate: paused");
    EXPECT_EQ(Elapsed(), L"Elapsed Time: 00:00:02");
    gNow += 60000;
    dialog_.Render();
    EXPECT_EQ(Elapsed(), L"Elapsed Time: 00:00:02") << "the clock stands still";
    EXPECT_EQ(Rate(), L"Transfer Rate: paused");

    SendMessageW(pause, BM_CLICK, 0, 0);
    EXPECT_EQ(WindowText(pause), L"&Pause");
    EXPECT_EQ(Rate(), L"Transfer Rate: calculating...");
    gNow += 1000;
    Call(8 * 1048576LL, 4 * 1048576LL);
    dialog_.Render();
    EXPECT_EQ(Elapsed(), L"Elapsed Time: 00:00:03");
    EXPECT_EQ(Rate(), L"Transfer Rate: 2.00 MB/sec") << "measured from the resume, not across";
}

std::vector<TaskbarProgress> gTaskbar;
bool gTaskbarTakes = true;
bool RecordTaskbar(HWND, const TaskbarProgress& progress) {
    gTaskbar.push_back(progress);
    return gTaskbarTakes;
}

TEST_F(ProgressRoutineTest, TheTaskbarButtonShowsProgressPauseAndAnOpenError) {
    gTaskbar.clear();
    gTaskbarTakes = false;  // no button yet: asked again at the next paint
    Platform().showOnTaskbar = RecordTaskbar;
    state_.BeginFile(2, 4, L"song.mp3");
    dialog_.Render();
    gTaskbarTakes = true;
    Call(1000, 500);
    dialog_.Render();
    dialog_.Render();  // nothing changed: nothing sent
    state_.Pause(gNow);
    dialog_.Render();
    state_.Resume(gNow);
    state_.ShowingError(true);
    dialog_.Render();
    state_.ShowingError(false);
    dialog_.Render();
    using S = TaskbarState;
    const std::vector<std::pair<S, ULONGLONG>> expected = {
        {S::Normal, 100}, {S::Normal, 150}, {S::Paused, 150}, {S::Error, 150}, {S::Normal, 150}};
    ASSERT_EQ(gTaskbar.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(gTaskbar[i].state, expected[i].first) << i;
        EXPECT_EQ(gTaskbar[i].completed, expected[i].second) << i;
        EXPECT_EQ(gTaskbar[i].total, 400u) << i;
    }
}

// What a screen reader asks each bar: named by the text above it, valued by its percentage.
TEST_F(ProgressRoutineTest, ScreenReadersReadEachBarsNameAndPercentage) {
    ApartmentScope apartment;  // as the transfer's UI thread has one
    const IID accessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0, 0xAA, 0, 0x38, 0x9B, 0x71}};
    state_.BeginFile(1, 3, L"song.mp3");
    Call(1000, 250);
    dialog_.Render();
    const std::pair<int, std::wstring> bars[] = {
        {IDC_OVERALL_BAR, L"Overall Progress (file 1 of 3) : 33%|33%"},
        {IDC_CURRENT_BAR, L"Current file: 'song.mp3' : 25%|25%"}};
    for (const auto& bar : bars) {
        IAccessible* object = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(GetDlgItem(dialog_.Handle(), bar.first), OBJID_CLIENT,
                                             accessible, reinterpret_cast<void**>(&object)),
                  S_OK);
        VARIANT self, role;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr, value = nullptr;
        object->get_accName(self, &name);
        object->get_accValue(self, &value);
        object->get_accRole(self, &role);
        EXPECT_EQ(std::wstring(name ? name : L"") + L"|" + (value ? value : L""), bar.second);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_PROGRESSBAR);
        SysFreeString(name);
        SysFreeString(value);
        object->Release();
    }
}

// ---- the templates the shipped library carries ------------------------------------------

struct Item {
    DWORD style;
    short x, y, cx, cy;
    int id;
    std::wstring windowClass;
    std::wstring text;
    int textOrdinal = -1;
};

struct Template {
    DWORD style = 0;
    DWORD exStyle = 0;
    short cx = 0, cy = 0;
    std::wstring caption;
    WORD pointSize = 0;
    std::wstring font;
    std::vector<Item> items;
};

const BYTE* ReadText(const BYTE* p, std::wstring& text, int* ordinal) {
    auto* w = reinterpret_cast<const WORD*>(p);
    if (*w == 0xFFFF) {
        if (ordinal) *ordinal = w[1];
        text.clear();
        return p + 4;
    }
    text = reinterpret_cast<const wchar_t*>(w);
    return p + (text.size() + 1) * 2;
}

std::wstring ClassName(int ordinal, const std::wstring& name) {
    switch (ordinal) {
    case 0x80: return L"Button";
    case 0x82: return L"Static";
    default: return name;
    }
}

bool ParseTemplate(HMODULE module, int id, Template& out) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /*RT_DIALOG*/);
    if (!resource) return false;
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    auto word = [&](size_t offset) { return *reinterpret_cast<const WORD*>(p + offset); };
    if (word(0) != 1 || word(2) != 0xFFFF) return false;  // DLGTEMPLATEEX
    out.exStyle = *reinterpret_cast<const DWORD*>(p + 8);
    out.style = *reinterpret_cast<const DWORD*>(p + 12);
    WORD count = word(16);
    out.cx = static_cast<short>(word(22));
    out.cy = static_cast<short>(word(24));
    const BYTE* q = p + 26;
    std::wstring ignored;
    int ordinal = -1;
    q = ReadText(q, ignored, &ordinal);  // menu
    q = ReadText(q, ignored, &ordinal);  // class
    q = ReadText(q, out.caption, nullptr);
    out.pointSize = *reinterpret_cast<const WORD*>(q);
    q += 6;  // point size, weight, italic, charset
    q = ReadText(q, out.font, nullptr);
    for (WORD i = 0; i < count; ++i) {
        q = p + ((q - p + 3) & ~3);
        Item item;
        item.style = *reinterpret_cast<const DWORD*>(q + 8);
        item.x = *reinterpret_cast<const short*>(q + 12);
        item.y = *reinterpret_cast<const short*>(q + 14);
        item.cx = *reinterpret_cast<const short*>(q + 16);
        item.cy = *reinterpret_cast<const short*>(q + 18);
        item.id = *reinterpret_cast<const int*>(q + 20);
        q += 24;
        int classOrdinal = -1;
        std::wstring className;
        q = ReadText(q, className, &classOrdinal);
        item.windowClass = ClassName(classOrdinal, className);
        q = ReadText(q, item.text, &item.textOrdinal);
        WORD extra = *reinterpret_cast<const WORD*>(q);
        q += 2 + extra;
        out.items.push_back(item);
    }
    return true;
}

std::wstring LibraryPath() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return std::wstring(folder) + L"\\..\\..\\shellext\\Wendrift.dll";
}

void ExpectItems(const Template& dialog, const std::vector<Item>& expected) {
    ASSERT_EQ(dialog.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Item& got = dialog.items[i];
        const Item& want = expected[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(_wcsicmp(got.windowClass.c_str(), want.windowClass.c_str()), 0)
            << got.windowClass;
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.textOrdinal, want.textOrdinal);
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
    }
}

// The texts come from the string tables at run time: the templates carry none.
TEST(DialogTemplates, TheLibraryCarriesTheProgressDialog) {
    HMODULE library = LoadLibraryExW(LibraryPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(library) << GetLastError();
    Template dialog;
    ASSERT_TRUE(ParseTemplate(library, IDD_PROGRESS, dialog));
    EXPECT_EQ(dialog.style, 0x80CA08C0u);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.cx, 246);
    EXPECT_EQ(dialog.cy, 126);
    EXPECT_EQ(dialog.caption, L"");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.font, L"Tahoma");
    ExpectItems(dialog, {
        {0x50000007, 7, 4, 232, 90, 1001, L"Button", L""},
        {0x50020000, 15, 17, 190, 10, 1005, L"Static", L""},
        {0x50000000, 14, 30, 216, 6, 1002, L"msctls_progress32", L""},
        {0x50020080, 15, 41, 216, 11, 1004, L"Static", L""},  // SS_NOPREFIX: "&" in names
        {0x50000000, 13, 54, 216, 6, 1003, L"msctls_progress32", L""},
        {0x50010000, 60, 102, 58, 15, 1020, L"Button", L""},
        {0x50010000, 128, 102, 58, 15, 1007, L"Button", L""},
        {0x50020000, 15, 65, 128, 9, 1018, L"Static", L""},
        {0x50020000, 15, 79, 128, 9, 1019, L"Static", L""},
    });
    FreeLibrary(library);
}

TEST(DialogTemplates, TheLibraryCarriesTheReplaceDialogAndItsIcon) {
    HMODULE library = LoadLibraryExW(LibraryPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(library) << GetLastError();
    Template dialog;
    ASSERT_TRUE(ParseTemplate(library, IDD_REPLACE, dialog));
    EXPECT_EQ(dialog.style, 0x80C808C0u);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.cx, 281);
    EXPECT_EQ(dialog.cy, 154);
    EXPECT_EQ(dialog.caption, L"");
    EXPECT_EQ(dialog.font, L"Tahoma");
    Item icon = {0x50000003, 12, 9, 20, 20, 1008, L"Static", L""};
    icon.textOrdinal = 5;
    ExpectItems(dialog, {
        {0x50010001, 29, 132, 48, 15, 1011, L"Button", L""},
        {0x50010000, 87, 132, 48, 15, 1012, L"Button", L""},
        {0x50010000, 145, 132, 48, 15, 1016, L"Button", L""},
        {0x50010000, 203, 132, 48, 15, 2, L"Button", L""},
        icon,
        {0x50020080, 54, 10, 189, 25, 1017, L"Static", L""},  // SS_NOPREFIX: "&" in names
        {0x50000003, 54, 42, 20, 20, 1009, L"Static", L""},
        {0x50020000, 54, 72, 59, 8, 1013, L"Static", L""},
        {0x50000003, 54, 91, 20, 20, 1010, L"Static", L""},
        {0x50000010, 29, 123, 222, 1, -1, L"Static", L""},
        {0x50020000, 82, 39, 190, 29, 1015, L"Static", L""},
        {0x50020000, 82, 88, 190, 29, 1014, L"Static", L""},
    });
    EXPECT_TRUE(
        FindResourceW(library, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(14) /*RT_GROUP_ICON*/));
    FreeLibrary(library);
}

}  // namespace
