// The five dialogs of both programs at 100%, 150% and 200% scaling, in every language, each
// filled with the longest texts it shows: nothing clipped, nothing overlapping, no access key
// twice, icons at the size the DPI asks for. The configuration program's dialogs also follow a
// move to a monitor of another scale. Wine reads the prefix's LogPixels when a process starts:
// the test sets it and runs itself once per DPI.
#include "LayoutCheck.h"
#include "NextRunUndo.h"
#include "UiDriver.h"

#include "config/AboutDlg.h"
#include "config/ConfigDlg.h"
#include "config/ConfigResources.h"
#include "config/ExtensionModifyDlg.h"
#include "store/AssociationStore.h"
#include "transfer/PathText.h"
#include "transfer/ProgressDlg.h"
#include "transfer/ReplaceConfirmDlg.h"
#include "transfer/NumberFormat.h"
#include "transfer/TransferResources.h"
#include "texts/TextIds.h"
#include "winframe/LibraryContext.h"
#include "winframe/TextHelpers.h"
#include "winframe/ThemeChoice.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

namespace {

const wchar_t kDpiVariable[] = L"WENDRIFT_TEST_DPI";
// English, German, Spanish, French, Italian, Brazilian Portuguese, Russian, Japanese, Korean,
// simplified Chinese.
const LANGID kLanguages[] = {0x0409, 0x0407, 0x0C0A, 0x040C, 0x0410,
                             0x0416, 0x0419, 0x0411, 0x0412, 0x0804};
const wchar_t kExtension[] = L".wdcfgdpi";
const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// The DPI this process was started for; 0 in the process ctest runs.
UINT ChildDpi() {
    static const UINT dpi = [] {
        wchar_t value[16] = {};
        return GetEnvironmentVariableW(kDpiVariable, value, 16) ? _wtoi(value) : 0;
    }();
    return dpi;
}

// This program again at `dpi`, running only the dialog checks; its exit code.
DWORD RunAtDpi(UINT dpi) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=DialogsAtDpi.*";
    SetEnvironmentVariableW(kDpiVariable, std::to_wstring(dpi).c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessW(self, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &process);
    SetEnvironmentVariableW(kDpiVariable, nullptr);
    if (!started) return 100;
    DWORD code = 101;
    if (WaitForSingleObject(process.hProcess, 90000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// A sparse file of `bytes`, written on the weekday and in the month with the longest names.
void LongestDescribedFile(const std::wstring& path, LONGLONG bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = bytes;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    SYSTEMTIME wednesday = {2026, 9, 3, 30, 12, 59, 59, 0};
    FILETIME local, utc;
    SystemTimeToFileTime(&wednesday, &local);
    LocalFileTimeToFileTime(&local, &utc);
    SetFileTime(file, &utc, &utc, &utc);
    CloseHandle(file);
}

// Lets the dialogs of this thread paint.
void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

// A screenshot in the build folder, taken from another thread while this one paints: the
// display shows what a thread painted once its message loop has run.
bool Screenshot(HWND window, const std::string& name) {
    std::atomic<bool> saved{false}, done{false};
    std::thread shot([&] {
        Sleep(200);
        saved = SaveWindowPng(window, BuildDir() + L"\\" + UnixToWindowsPath(name));
        done = true;
    });
    while (!done) Pump(10);
    shot.join();
    return saved;
}

// What Windows suggests for a move to a monitor of `to` DPI: the client area scaled, the frame
// as the platform draws it.
RECT SuggestedRect(HWND dialog, UINT from, UINT to) {
    RECT window, client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    return {window.left, window.top, window.right + MulDiv(client.right, to, from) - client.right,
            window.bottom + MulDiv(client.bottom, to, from) - client.bottom};
}

void ExpectClean(HWND window, UINT dpi, const char* when) {
    std::string lines;
    for (const std::string& problem : LayoutProblems(window, dpi)) lines += "\n  " + problem;
    EXPECT_TRUE(lines.empty()) << when << " at " << dpi << " DPI:" << lines;
}

class DialogsAtDpi : public ::testing::Test {
protected:
    void SetUp() override {
        if (ChildDpi() == 0) GTEST_SKIP() << "runs in the processes started for each DPI";
        watchdog_.reset(new Watchdog(60, "dialogs at DPI"));
        library_ = LoadLibraryW((BuildDir() + L"\\shellext\\Wendrift.dll").c_str());
        ASSERT_NE(library_, nullptr);
        // The transfer's own texts (sizes in the replace question) come from the library.
        SetLibraryModule(library_);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LINK_CLASS | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        // A type the shell names, with folders whose display texts are as long as they get.
        SHSetValueW(HKEY_CLASSES_ROOT, kExtension, nullptr, REG_SZ, L"wdcfgdpifile", 26);
        SHSetValueW(HKEY_CLASSES_ROOT, L"wdcfgdpifile", nullptr, REG_SZ,
                    L"Wendrift Test Document", 46);
        AddExtension(kExtension);
        AssociateDirectory(kExtension, L"c:\\users\\public\\documents\\wendrift\\photographs of "
                                       L"the summer holiday in the mountains");
        AssociateDirectory(kExtension, L"d:\\archive\\music\\classical\\beethoven - symphonies "
                                       L"1-9 (berliner philharmoniker)");
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"wddpi";
        CreateDirectoryW(folder_.c_str(), nullptr);
        source_ = folder_ + L"\\Quarterly figures of the northern region 2026.xlsx";
        target_ = folder_ + L"\\Quarterly figures of the northern region 2026 (old).xlsx";
        LongestDescribedFile(source_, 9876543210LL);
        LongestDescribedFile(target_, 123456789LL);
    }

    void TearDown() override {
        if (ChildDpi() == 0) return;
        DeleteFileW(source_.c_str());
        DeleteFileW(target_.c_str());
        RemoveDirectoryW(folder_.c_str());
        RemoveExtension(kExtension);
        SHDeleteKeyW(HKEY_CLASSES_ROOT, kExtension);
        SHDeleteKeyW(HKEY_CLASSES_ROOT, L"wdcfgdpifile");
        SetLibraryModule(nullptr);
        if (library_ != nullptr) FreeLibrary(library_);
    }

    std::unique_ptr<Watchdog> watchdog_;
    HMODULE library_ = nullptr;
    std::wstring folder_, source_, target_;
};

}  // namespace

TEST(Dpi, EveryDialogLaysOutCleanlyAt100And150And200Percent) {
    // The prefix is shared: its value (none, in a fresh one) comes back, after a killed run too.
    DWORD old = 0, size = sizeof(old);
    const bool had = SHGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", nullptr, &old,
                                 &size) == ERROR_SUCCESS;
    const std::wstring value = L"'HKCU\\" + std::wstring(kDesktopKey) + L"' /v LogPixels /f";
    NextRunUndo undo(L"dpi", had ? L"wine reg add " + value + L" /t REG_DWORD /d " +
                                       std::to_wstring(old)
                                 : L"wine reg delete " + value);
    for (DWORD dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        SHSetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
        EXPECT_EQ(RunAtDpi(dpi), 0u);
    }
    if (had) SHSetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &old, size);
    else SHDeleteValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
}

// Both programs' icons hold a 32-bit image of exactly each size a scale asks for, so none is
// drawn stretched from another size.
TEST(Dpi, BothIconsHoldA32BitImageForEverySize) {
    for (auto icon : {std::make_pair(L"\\config\\WendriftConfig.exe", IDI_PROGRAM),
                      std::make_pair(L"\\shellext\\Wendrift.dll", IDI_TRANSFER_ICON)}) {
        HMODULE module = LoadLibraryExW((BuildDir() + icon.first).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
        const auto bytes = [module](LPCWSTR name, LPCWSTR type) {
            return static_cast<BYTE*>(
                LockResource(LoadResource(module, FindResourceW(module, name, type))));
        };
        BYTE* group = bytes(MAKEINTRESOURCEW(icon.second), RT_GROUP_ICON);
        ASSERT_NE(group, nullptr);
        for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
            SCOPED_TRACE(size);
            const BYTE* image = bytes(MAKEINTRESOURCEW(LookupIconIdFromDirectoryEx(
                                          group, TRUE, size, size, LR_DEFAULTCOLOR)),
                                      RT_ICON);
            ASSERT_NE(image, nullptr);
            if (std::memcmp(image, "\x89PNG", 4) == 0) {
                // The header chunk's width, and colour type 6: RGBA.
                EXPECT_EQ(image[18] << 8 | image[19], size);
                EXPECT_EQ(image[25], 6);
            } else {
                EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(image)->biWidth, size);
                EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(image)->biBitCount, 32);
            }
        }
        FreeLibrary(module);
    }
}

TEST_F(DialogsAtDpi, NothingClippedOrOverlappingAndIconsAtTheirSize) {
    const UINT dpi = ChildDpi();
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), static_cast<int>(dpi)) << "LogPixels not read";
    ReleaseDC(nullptr, screen);
    const HINSTANCE program = GetModuleHandleW(nullptr);
    struct Case {
        const char* name;
        bool followsMoves;  // the configuration program's dialogs rescale themselves
        HINSTANCE module;
        int resource;
        std::function<BaseDialog*()> make;
        std::function<void(BaseDialog&)> fill;  // the longest texts the dialog shows
    };
    const auto nothing = [](BaseDialog&) {};
    const Case cases[] = {
        {"config-dialog", true, program, IDD_CONFIG, [] { return new ConfigDlg; }, nothing},
        {"edit-dialog", true, program, IDD_EXTENSION,
         [] { return new ExtensionModifyDlg(false, kExtension); }, nothing},
        // A new extension with its text cleared shows the stock question-mark icon.
        {"new-extension-dialog", true, program, IDD_EXTENSION,
         [] { return new ExtensionModifyDlg(true, L""); },
         [](BaseDialog& dialog) { SetDlgItemTextW(dialog.Handle(), IDC_EXTENSION_EDIT, L""); }},
        {"about-dialog", true, program, IDD_ABOUT, [] { return new AboutDlg; }, nothing},
        {"progress-dialog", false, library_, IDD_PROGRESS, [] { return new ProgressDlg; },
         [](BaseDialog& dialog) {
             auto& progress = static_cast<ProgressDlg&>(dialog);
             const std::wstring name = CompactText(L"DSC_20260930_125959_PANORAMA_HDR.JPG", 29);
             progress.SetText(progress.Text(IDS_MOVING));
             progress.ShowOverall(100, progress.Format(IDS_OVERALL, 1000, 1000, 100LL));
             progress.ShowCurrent(100, progress.Format(IDS_CURRENT_FILE, name.c_str(), 100LL));
             progress.ShowElapsed(359999000);
             progress.ShowRate(progress.Format(IDS_RATE_KB, FormatFigure(1023.99).c_str()));
             // Pause as the dialog was made; Resume, its other text, as the user sees it later.
             SetDlgItemTextW(dialog.Handle(), IDC_PROGRESS_PAUSE, progress.Text(IDS_RESUME).c_str());
         }},
        {"replace-dialog", false, library_, IDD_REPLACE,
         [&] { return new ReplaceConfirmDlg(source_, target_, true); }, nothing},
    };
    // A move to the other end of the range (up from 100%, down from 150% and 200%) and back.
    const UINT path[] = {dpi, dpi == 96 ? 192u : 96u, dpi};
    for (const Case& c : cases) for (LANGID language : kLanguages) {
        SCOPED_TRACE(testing::Message() << c.name << " in " << std::hex << language);
        std::unique_ptr<BaseDialog> dialog(c.make());
        dialog->SetLanguage(language);
        HWND window = dialog->CreateModeless(c.module, MAKEINTRESOURCEW(c.resource), nullptr);
        ASSERT_NE(window, nullptr);
        c.fill(*dialog);
        ShowWindow(window, SW_SHOW);
        Pump(20);
        ExpectClean(window, dpi, "made");
        if (dpi == 144 && language == 0x0409) {
            EXPECT_TRUE(Screenshot(window, std::string(c.name) + "-150.png"));
        }
        // The replace question in German and Japanese for the README.
        if (dpi == 96 && std::string(c.name) == "replace-dialog" &&
            (language == 0x0407 || language == 0x0411)) {
            EXPECT_TRUE(Screenshot(window, std::string(c.name) + (language == 0x0407 ? "-de.png" : "-ja.png")));
        }
        for (int step = 1; c.followsMoves && step < 3; ++step) {
            RECT suggested = SuggestedRect(window, path[step - 1], path[step]), now;
            SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(path[step], path[step]),
                         reinterpret_cast<LPARAM>(&suggested));
            GetWindowRect(window, &now);
            // Taken, and only grown where a text needs more room at the new DPI.
            EXPECT_EQ(now.left, suggested.left);
            EXPECT_EQ(now.top, suggested.top);
            EXPECT_GE(now.right, suggested.right);
            EXPECT_GE(now.bottom, suggested.bottom);
            if (language == 0x0409) {
                EXPECT_TRUE(EqualRect(&now, &suggested));
            }
            ExpectClean(window, path[step], "moved");
        }
        DestroyWindow(window);
    }
}

// The replace question as a Windows set to dark apps shows it (a screenshot for the README).
TEST_F(DialogsAtDpi, TheReplaceQuestionInDarkMode) {
    if (ChildDpi() != 96) return;  // one screenshot, at 100%: nothing is skipped at other DPIs
    SetThemeSettingsReader([] { return ThemeSettings{false, false}; });
    ReplaceConfirmDlg dialog(source_, target_, true);
    dialog.SetLanguage(0x0409);
    HWND window = dialog.CreateModeless(library_, MAKEINTRESOURCEW(IDD_REPLACE), nullptr);
    SetThemeSettingsReader(nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.Theme(), WindowTheme::Dark);
    ShowWindow(window, SW_SHOW);
    Pump(20);
    ExpectClean(window, 96, "dark");
    EXPECT_TRUE(Screenshot(window, "replace-dialog-dark.png"));
    DestroyWindow(window);
}
