// The UI driver against real windows: a message box and a dialog run on the test thread while
// a second thread reads and answers them.
#include "UiDriver.h"

#include "SupportTestResources.h"

#include <gtest/gtest.h>

#include <wincodec.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

const wchar_t kDialogCaption[] = L"Driver Test Dialog";
const wchar_t kQuestionCaption[] = L"Driver Test : Question";

// Written by the dialog's thread, read by the driving thread.
std::atomic<WPARAM> g_lastCommand{0};
std::atomic<LPARAM> g_lastCommandControl{0};

// Shows the answer to its question box in the edit; ends on OK and Cancel.
INT_PTR CALLBACK DriverTestProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetDlgItemTextW(dialog, IDC_DRIVER_EDIT, L"initial text");
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    if (LOWORD(wParam) != IDC_DRIVER_EDIT) {  // edit notifications are not clicks
        g_lastCommand = wParam;
        g_lastCommandControl = lParam;
    }
    switch (LOWORD(wParam)) {
    case IDC_DRIVER_ASK: {
        int answer = MessageBoxW(dialog, L"Really?", kQuestionCaption, MB_YESNO | MB_ICONQUESTION);
        SetDlgItemTextW(dialog, IDC_DRIVER_EDIT, answer == IDYES ? L"yes" : L"no");
        return TRUE;
    }
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR RunDriverDialog() {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DRIVER_TEST), nullptr,
                           DriverTestProc, 0);
}

bool ReadPngSize(const std::wstring& path, UINT& width, UINT& height) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    GUID container = {};
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&factory))) &&
              SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                           WICDecodeMetadataCacheOnDemand,
                                                           &decoder)) &&
              SUCCEEDED(decoder->GetContainerFormat(&container)) &&
              IsEqualGUID(container, GUID_ContainerFormatPng) &&
              SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height));
    if (frame) frame->Release();
    if (decoder) decoder->Release();
    if (factory) factory->Release();
    CoUninitialize();
    return ok;
}

}  // namespace

TEST(UiDriverPaths, UnixPathsMapToDriveZ) {
    struct Case {
        const char* unix;
        const wchar_t* windows;
    };
    const Case cases[] = {
        {"/tmp/a b/c.txt", L"Z:\\tmp\\a b\\c.txt"},
        {"/", L"Z:\\"},
        {"/work/\xc3\xa4\xe2\x82\xac", L"Z:\\work\\\x00e4\x20ac"},
        {"relative/dir", L"relative\\dir"},
        {"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnixToWindowsPath(c.unix), c.windows) << c.unix;
    }
}

TEST(UiDriverPaths, BuildDirNamesTheBuildFolderAsWindowsSeesIt) {
    std::wstring dir = BuildDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.compare(0, 3, L"Z:\\"), 0);
    EXPECT_NE(dir.back(), L'\\');
    DWORD attributes =
        GetFileAttributesW((dir + L"\\tests\\support\\support_ui_driver_tests.exe").c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);

    std::string saved = std::getenv("WENDRIFT_BUILD_DIR");
    _putenv("WENDRIFT_BUILD_DIR=");
    EXPECT_EQ(BuildDir(), L"");
    _putenv(("WENDRIFT_BUILD_DIR=" + saved + "/").c_str());
    EXPECT_EQ(BuildDir(), dir);
    _putenv(("WENDRIFT_BUILD_DIR=" + saved).c_str());
}

TEST(UiDriverWaits, WaitUntilReportsTheConditionOrTheTimeout) {
    EXPECT_TRUE(WaitUntil([] { return true; }, 0));
    DWORD start = GetTickCount();
    EXPECT_FALSE(WaitUntil([] { return false; }, 150));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 150u);
    EXPECT_LT(elapsed, 1000u);
    int polls = 0;
    EXPECT_TRUE(WaitUntil([&] { return ++polls == 3; }, 2000));
}

TEST(UiDriverWaits, HiddenWindowsCountOnlyWhenAskedFor) {
    HWND hidden = CreateWindowExW(0, L"STATIC", L"Hidden Driver Window", WS_POPUP, 0, 0, 50, 50,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(WaitForWindow(L"STATIC", L"Hidden Driver Window", 60), nullptr);
    EXPECT_EQ(WaitForWindow(L"STATIC", L"Hidden Driver Window", 60, false), hidden);
    EXPECT_EQ(WaitForWindow(L"STATIC", L"Hidden Driver", 60, false), nullptr);  // exact caption
    EXPECT_EQ(WaitForWindowPrefix(L"static", L"Hidden Driver", 60, false), hidden);
    EXPECT_EQ(WaitForWindow(L"BUTTON", L"Hidden Driver Window", 60, false), nullptr);
    EXPECT_FALSE(WaitForNoWindow(L"STATIC", L"Hidden Driver Window", 60));
    ShowWindow(hidden, SW_SHOWNOACTIVATE);
    EXPECT_EQ(WaitForWindow(nullptr, L"Hidden Driver Window", 60), hidden);
    EXPECT_EQ(WindowText(hidden), L"Hidden Driver Window");
    EXPECT_FALSE(WaitForWindowGone(hidden, 60));
    DestroyWindow(hidden);
    EXPECT_TRUE(WaitForWindowGone(hidden, 0));
    EXPECT_TRUE(WaitForNoWindow(L"STATIC", L"Hidden Driver Window", 0));
    EXPECT_EQ(WindowText(hidden), L"");
}

TEST(UiDriverMessageBoxes, AnswerMessageBoxReadsTheTextAndPressesTheButton) {
    Watchdog dog(30, "message box test");
    std::wstring seen;
    std::thread user([&] { seen = AnswerMessageBox(L"Driver Test : Information", IDOK, 5000); });
    int result = MessageBoxW(nullptr, L"Text of the box\nsecond line", L"Driver Test : Information",
                             MB_OK | MB_ICONINFORMATION);
    user.join();
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(seen, L"Text of the box\nsecond line");

    std::thread no([&] { seen = AnswerMessageBox(kQuestionCaption, IDNO, 5000); });
    result = MessageBoxW(nullptr, L"Proceed?", kQuestionCaption, MB_YESNO | MB_ICONQUESTION);
    no.join();
    EXPECT_EQ(result, IDNO);
    EXPECT_EQ(seen, L"Proceed?");

    DWORD start = GetTickCount();
    EXPECT_EQ(AnswerMessageBox(L"Driver Test : Never Shown", IDOK, 100), L"");
    EXPECT_GE(GetTickCount() - start, 100u);
}

TEST(UiDriverDialogs, DriveADialogLikeAUserAndTakeAScreenshot) {
    Watchdog dog(30, "dialog test");
    const DWORD testThread = GetCurrentThreadId();
    const std::wstring png = BuildDir() + L"\\tests\\support\\driver-dialog.png";
    DeleteFileW(png.c_str());
    struct Seen {
        HWND dialog = nullptr;
        HWND byThread = nullptr;
        HWND byOtherThread = nullptr;
        HWND byProcess = nullptr;
        HWND byPrefix = nullptr;
        std::wstring caption, initial, question, answer;
        bool shot = false;
        RECT rect = {};
        bool gone = false;
    } seen;
    std::thread user([&] {
        seen.dialog = WaitForWindow(L"#32770", kDialogCaption, 5000);
        if (seen.dialog == nullptr) {
            return;
        }
        seen.byThread = WaitForThreadWindow(testThread, L"#32770", kDialogCaption, 1000);
        seen.byOtherThread =
            WaitForThreadWindow(GetCurrentThreadId(), L"#32770", kDialogCaption, 60);
        seen.byProcess = WaitForProcessWindow(GetCurrentProcessId(), L"#32770", kDialogCaption, 1000);
        seen.byPrefix = WaitForWindowPrefix(L"#32770", L"Driver Test", 1000);
        seen.caption = WindowText(seen.dialog);
        seen.initial = ControlText(seen.dialog, IDC_DRIVER_EDIT);
        ClickButton(seen.dialog, IDC_DRIVER_ASK);
        seen.question = AnswerMessageBox(kQuestionCaption, IDYES, 5000);
        WaitUntil([&] { return ControlText(seen.dialog, IDC_DRIVER_EDIT) == L"yes"; }, 3000);
        seen.answer = ControlText(seen.dialog, IDC_DRIVER_EDIT);
        GetWindowRect(seen.dialog, &seen.rect);
        seen.shot = SaveWindowPng(seen.dialog, png);
        ClickButton(seen.dialog, IDOK);
        seen.gone = WaitForWindowGone(seen.dialog, 5000);
    });
    INT_PTR result = RunDriverDialog();
    user.join();
    ASSERT_NE(seen.dialog, nullptr);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(seen.byThread, seen.dialog);
    EXPECT_EQ(seen.byOtherThread, nullptr);
    EXPECT_EQ(seen.byProcess, seen.dialog);
    EXPECT_EQ(seen.byPrefix, seen.dialog);
    EXPECT_EQ(seen.caption, kDialogCaption);
    EXPECT_EQ(seen.initial, L"initial text");
    EXPECT_EQ(seen.question, L"Really?");
    EXPECT_EQ(seen.answer, L"yes");
    EXPECT_TRUE(seen.gone);
    ASSERT_TRUE(seen.shot);
    UINT width = 0;
    UINT height = 0;
    ASSERT_TRUE(ReadPngSize(png, width, height));
    EXPECT_EQ(width, static_cast<UINT>(seen.rect.right - seen.rect.left));
    EXPECT_EQ(height, static_cast<UINT>(seen.rect.bottom - seen.rect.top));
}

TEST(UiDriverDialogs, PostCommandReachesADialogDisabledByAModalChild) {
    Watchdog dog(30, "post command test");
    HWND cancel = nullptr;
    bool gone = false;
    std::thread user([&] {
        HWND dialog = WaitForWindow(L"#32770", kDialogCaption, 5000);
        if (dialog == nullptr) {
            return;
        }
        cancel = GetDlgItem(dialog, IDCANCEL);
        // As while a message box it owns is open: no input reaches the dialog.
        EnableWindow(dialog, FALSE);
        g_lastCommand = 0;
        PostCommand(dialog, IDCANCEL);
        gone = WaitForWindowGone(dialog, 5000);
    });
    INT_PTR result = RunDriverDialog();
    user.join();
    EXPECT_TRUE(gone);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(g_lastCommand.load(), MAKEWPARAM(IDCANCEL, BN_CLICKED));
    EXPECT_EQ(g_lastCommandControl.load(), reinterpret_cast<LPARAM>(cancel));
}

TEST(UiDriverWatchdog, ADisarmedWatchdogLetsTheProcessLive) {
    { Watchdog dog(1); }
    Sleep(1300);
    SUCCEED();
}

TEST(UiDriverWatchdogDeathTest, AWatchdogThatRunsOutEndsTheProcessWithAMessage) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            Watchdog dog(1, "dialog never answered");
            Sleep(10000);
        },
        ::testing::ExitedWithCode(3), "WATCHDOG: still running after 1 s: dialog never answered");
}
