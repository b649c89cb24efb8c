// WendriftConfig.exe started as the user starts it, from a folder of its own: the checks it
// makes before its main dialog, the dialog's list, and its exit codes.
#include "LanguageValue.h"
#include "UiDriver.h"

#include "store/AssociationStore.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace {

const wchar_t kMainCaption[] = L"Wendrift Configuration";

class ProgramStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"wdcfg-program";
        CreateDirectoryW(folder_.c_str(), nullptr);
    }

    void TearDown() override {
        if (process_.hProcess != nullptr) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 99);
            }
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        RemoveDirectoryW((folder_ + L"\\Wendrift.dll").c_str());
        DeleteFileW((folder_ + L"\\Wendrift.dll").c_str());
        DeleteFileW((folder_ + L"\\" + exeName_).c_str());
        RemoveDirectoryW(folder_.c_str());
        if (!appDefaults_.empty()) SHDeleteKeyW(HKEY_CURRENT_USER, appDefaults_.c_str());
        RemoveExtension(L".wdcfgprog");
    }

    // Copies the built program into the test folder (as `name`) and starts it there.
    void Start(const std::wstring& name = L"WendriftConfig.exe") {
        exeName_ = name;
        const std::wstring built = ProductDir() + L"\\config\\WendriftConfig.exe";
        const std::wstring copy = folder_ + L"\\" + name;
        ASSERT_TRUE(CopyFileW(built.c_str(), copy.c_str(), FALSE)) << "no program at the build";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + copy + L"\"";
        ASSERT_TRUE(CreateProcessW(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                   nullptr, folder_.c_str(), &startup, &process_));
    }

    HWND ProgramWindow(const wchar_t* caption, DWORD timeoutMs = 8000) {
        return WaitForProcessWindow(process_.dwProcessId, L"#32770", caption, timeoutMs);
    }

    // The exit code once the program has ended, or -1 while it still runs.
    long ExitCode(DWORD timeoutMs = 8000) {
        if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

    // Answers the program's message box with OK and returns its text.
    std::wstring AnswerProgramBox(const wchar_t* caption) {
        HWND box = ProgramWindow(caption);
        if (box == nullptr) return L"<no box>";
        std::wstring text = MessageBoxText(box);
        ClickButton(box, IDOK);
        return text;
    }

    // Makes Wine report another Windows version to programs of this file name.
    void ReportWindowsVersion(const std::wstring& exeName, const wchar_t* version) {
        appDefaults_ = L"Software\\Wine\\AppDefaults\\" + exeName;
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, appDefaults_.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                       static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }

    void PlaceLibraryFile() {
        HANDLE file = CreateFileW((folder_ + L"\\Wendrift.dll").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }

    std::wstring folder_;
    std::wstring exeName_;
    std::wstring appDefaults_;
    PROCESS_INFORMATION process_ = {};
};

}  // namespace

TEST_F(ProgramStartTest, WithoutTheLibraryBesideItTheProgramStopsWithExitCode1) {
    Watchdog watchdog(30, "start without library");
    Start();
    EXPECT_EQ(AnswerProgramBox(L"WendriftConfig : ERROR"),
              L"Fatal Error: Couldn't establish location of Wendrift.dll; you should consider "
              L"re-installing the application.");
    EXPECT_EQ(ExitCode(), 1);
}

TEST_F(ProgramStartTest, ADirectoryNamedLikeTheLibraryIsAcceptedAndEscapeDoesNotEndIt) {
    Watchdog watchdog(30, "start with a directory");
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"\\Wendrift.dll").c_str(), nullptr));
    Start();
    HWND main = ProgramWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    PostMessageW(GetDlgItem(main, 1002), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(ExitCode(500), -1);
    // The close box ends it normally.
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(ExitCode(), 0);
}

TEST_F(ProgramStartTest, ANormalStartListsEveryStoredExtensionAndOkEndsWithExitCode0) {
    Watchdog watchdog(30, "normal start");
    ASSERT_TRUE(AddExtension(L".wdcfgprog"));
    ASSERT_TRUE(AssociateDirectory(L".wdcfgprog", L"c:\\wdcfg\\one"));
    std::vector<std::wstring> stored;
    const int count = ListExtensions(stored);
    PlaceLibraryFile();
    Start();
    HWND main = ProgramWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    HWND list = GetDlgItem(main, 1002);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), count);
    ClickButton(main, IDOK);
    EXPECT_EQ(ExitCode(), 0);
    // Starting and closing wrote nothing.
    EXPECT_EQ(CountDirectories(L".wdcfgprog"), 1);
}

TEST_F(ProgramStartTest, WindowsOlderThanXpIsRefusedAndXpIsAccepted) {
    Watchdog watchdog(30, "version check");
    PlaceLibraryFile();
    ReportWindowsVersion(L"WendriftConfigOld.exe", L"win2k");
    Start(L"WendriftConfigOld.exe");
    EXPECT_EQ(AnswerProgramBox(L"WendriftConfig : Operating System Too Old"),
              L"This program is designed strictly for Windows XP +. Sorry!");
    EXPECT_EQ(ExitCode(), 1);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};

    ReportWindowsVersion(L"WendriftConfigOld.exe", L"winxp");
    Start(L"WendriftConfigOld.exe");
    HWND main = ProgramWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    ClickButton(main, IDOK);
    EXPECT_EQ(ExitCode(), 0);
}

// What Windows reads from the program's manifest: per-monitor scaling (system DPI where that is
// unknown), every Windows from Vista to 11 as supported, and administrator rights.
TEST(ProgramManifest, AsksForPerMonitorScalingOnEverySupportedWindowsAsAdministrator) {
    const std::wstring program = ProductDir() + L"\\config\\WendriftConfig.exe";
    ACTCTXW request = {};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = program.c_str();
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE);

    const auto setting = [&](const wchar_t* space, const wchar_t* name) {
        wchar_t value[64] = {};
        QueryActCtxSettingsW(0, context, space, name, value, 64, nullptr);
        return std::wstring(value);
    };
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
              L"PerMonitorV2, System");
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
              L"true");

    // The record as Windows 10 and Wine lay it out (the headers here lack MaxVersionTested).
    struct {
        DWORD count;
        struct {
            GUID id;
            DWORD type;
            ULONGLONG maxVersionTested;
        } elements[8];
    } compatibility = {};
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext,
                             &compatibility, sizeof(compatibility), nullptr));
    std::vector<std::wstring> systems;
    for (DWORD i = 0; i < compatibility.count && i < 8; ++i) {
        wchar_t id[40] = {};
        StringFromGUID2(compatibility.elements[i].id, id, 40);
        systems.push_back(id);
    }
    EXPECT_EQ(systems, (std::vector<std::wstring>{L"{E2011457-1546-43C5-A5FE-008DEEE3D3F0}",
                                                  L"{35138B9A-5D96-4FBD-8E2D-A2440225F93A}",
                                                  L"{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38}",
                                                  L"{1F676C76-80E1-4239-95BB-83D0F6D0DA78}",
                                                  L"{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}"}));

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel = {};
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext,
                             &runLevel, sizeof(runLevel), nullptr));
    EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_REQUIRE_ADMIN);
    ReleaseActCtx(context);
}

// The program speaks the language chosen when it starts, an unknown one as English, and offers
// the choice: picking a language stores its tag and opens the window again in it; "Windows
// display language" removes the value.
TEST_F(ProgramStartTest, SpeaksTheChosenLanguageAndOffersTheChoice) {
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"\\Wendrift.dll").c_str(), nullptr));
    const auto itemText = [](HWND window, int id) {
        wchar_t text[64] = {};
        GetDlgItemTextW(window, id, text, 64);
        return std::wstring(text);
    };
    {
        LanguageValue unknown(L"xx-YY");
        Start();
        HWND main = ProgramWindow(kMainCaption);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(itemText(main, 1006), L"A&bout");
        PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(ExitCode(), 0);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = {};
    }
    LanguageValue german(L"de");
    Start();
    HWND main = ProgramWindow(L"Wendrift-Konfiguration");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(itemText(main, 1003), L"&Hinzuf\u00fcgen...");
    EXPECT_EQ(itemText(main, 1007), L"&Sprache:");
    HWND list = GetDlgItem(main, 1008);
    EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 2) << "after the display language and English";
    wchar_t first[64] = {};
    SendMessageW(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, L"Windows-Anzeigesprache");
    // Japanese, by its own name: stored, and the window comes back in it.
    const LRESULT japanese = SendMessageW(list, CB_FINDSTRINGEXACT, -1,
                                          reinterpret_cast<LPARAM>(L"\u65e5\u672c\u8a9e"));
    ASSERT_NE(japanese, CB_ERR);
    SendMessageW(list, CB_SETCURSEL, japanese, 0);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(1008, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    main = ProgramWindow(L"Wendrift \u306e\u69cb\u6210");
    ASSERT_NE(main, nullptr);
    wchar_t stored[16] = {};
    DWORD bytes = sizeof(stored);
    SHGetValueW(HKEY_CURRENT_USER, L"Software\\Wendrift", L"Language", nullptr, stored, &bytes);
    EXPECT_STREQ(stored, L"ja");
    // The display language: no value, and the window in English again.
    list = GetDlgItem(main, 1008);
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(1008, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    main = ProgramWindow(kMainCaption);
    ASSERT_NE(main, nullptr);
    bytes = sizeof(stored);
    EXPECT_NE(SHGetValueW(HKEY_CURRENT_USER, L"Software\\Wendrift", L"Language", nullptr, stored,
                          &bytes),
              ERROR_SUCCESS);
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(ExitCode(), 0);
}
