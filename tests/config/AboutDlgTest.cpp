// The About box: its link text, the link opening the product page on click and on Enter, and
// which keys close it. The web browser is replaced, for the test user only, by a command that
// writes down the address it was given.
#include "ConfigFixture.h"

#include "config/AboutText.h"
#include "config/ConfigResources.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <fstream>

namespace {

// Wine's ShellExecuteW reads the machine's classes only; the test puts the original back.
const wchar_t kBrowserKey[] = L"https\\shell\\open\\command";

std::wstring BrowserCommand() {
    wchar_t data[1024] = {};
    DWORD bytes = sizeof(data) - sizeof(wchar_t);
    RegGetValueW(HKEY_CLASSES_ROOT, kBrowserKey, nullptr, RRF_RT_REG_SZ, nullptr, data, &bytes);
    return data;
}

void SetBrowserCommand(const std::wstring& command) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, kBrowserKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::string ReadFile(const std::wstring& path) {
    std::ifstream in(std::string(path.begin(), path.end()));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text;
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs = 8000) {
    DWORD start = GetTickCount();
    do {
        if (!ReadFile(path).empty()) return true;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

// A point of the link control that lies on its link, found as the mouse would.
bool FindLinkPoint(HWND link, POINT& at) {
    RECT client = {};
    GetClientRect(link, &client);
    for (LONG y = client.top + 1; y < client.bottom; y += 2) {
        for (LONG x = client.left + 1; x < client.right; x += 4) {
            LHITTESTINFO hit = {};
            hit.pt = {x, y};
            if (SendMessageW(link, LM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))) {
                at = hit.pt;
                return true;
            }
        }
    }
    return false;
}

class AboutDlgTest : public ConfigFixture {
protected:
    void SetUp() override {
        ConfigFixture::SetUp();
        originalBrowser_ = BrowserCommand();
        opened_ = scratch_ + L"\\opened.txt";
        DeleteFileW(opened_.c_str());
        SetBrowserCommand(L"C:\\windows\\system32\\cmd.exe /c echo %1>\"" + opened_ + L"\"");
    }
    void TearDown() override {
        ConfigFixture::TearDown();
        DeleteFileW(opened_.c_str());
        if (originalBrowser_.empty()) {
            SHDeleteKeyW(HKEY_CLASSES_ROOT, kBrowserKey);
        } else {
            SetBrowserCommand(originalBrowser_);
        }
    }

    HWND OpenAbout() {
        Click(main_, IDC_ABOUT);
        HWND about = WaitForDialog(L"About Wendrift");
        EXPECT_NE(about, nullptr);
        return about;
    }

    std::wstring opened_;
    std::wstring originalBrowser_;
};

}  // namespace

TEST_F(AboutDlgTest, ShowsTheFourParagraphsWithTheProductPageAsItsOnlyLink) {
    OpenMain();
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    HWND link = FindWindowExW(about, nullptr, L"SysLink", nullptr);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(WindowText(link).find(L"Wendrift Version 1.0.0.1\n\nWindows XP/2003 Shell "
                                    L"Extension\n\n\u00A9 2026 The Wendrift authors, "),
              0u);
    EXPECT_EQ(WindowText(link).find(L"<a href=\"https://wendrift.example.org/\">"),
              WindowText(link).rfind(L"<a"));

    LITEM item = {};
    item.mask = LIF_ITEMINDEX | LIF_URL | LIF_STATE;
    item.iLink = 0;
    item.stateMask = LIS_ENABLED;
    ASSERT_TRUE(SendMessageW(link, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(item.szUrl, kProductPageUrl);
    EXPECT_EQ(item.state & LIS_ENABLED, static_cast<UINT>(LIS_ENABLED));
    item.iLink = 1;
    EXPECT_FALSE(SendMessageW(link, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)));

    SaveScreenshot(about, L"about-dialog.png");

    // Escape does not close it; OK does.
    PressEscape(about);
    EXPECT_TRUE(StaysOpen(about));
    Click(about, IDOK);
    EXPECT_TRUE(WaitUntilGone(about));
    Settle(main_);  // the main dialog takes up the outcome

    // The close box closes it as well.
    about = OpenAbout();
    ASSERT_NE(about, nullptr);
    PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitUntilGone(about));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_TRUE(CloseMain());
}

TEST_F(AboutDlgTest, ClickAndEnterOnTheLinkOpenTheProductPage) {
    OpenMain();
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    HWND link = FindWindowExW(about, nullptr, L"SysLink", nullptr);
    ASSERT_NE(link, nullptr);

    POINT at = {};
    ASSERT_TRUE(FindLinkPoint(link, at));
    PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    ASSERT_TRUE(WaitForFile(opened_));
    EXPECT_NE(ReadFile(opened_).find("https://wendrift.example.org/"), std::string::npos);
    EXPECT_TRUE(StaysOpen(about, 100));

    DeleteFileW(opened_.c_str());
    PostMessageW(about, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(link), TRUE);
    PostMessageW(link, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ASSERT_TRUE(WaitForFile(opened_));
    EXPECT_NE(ReadFile(opened_).find("https://wendrift.example.org/"), std::string::npos);
    EXPECT_TRUE(StaysOpen(about, 100));

    Click(about, IDOK);
    EXPECT_TRUE(WaitUntilGone(about));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_TRUE(CloseMain());
}

TEST_F(AboutDlgTest, ABrowserThatCannotStartIsReportedAndTheBoxStaysOpen) {
    SetBrowserCommand(L"C:\\wdcfg-missing\\nobrowser.exe %1");
    OpenMain();
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    HWND link = FindWindowExW(about, nullptr, L"SysLink", nullptr);
    PostMessageW(about, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(link), TRUE);
    PostMessageW(link, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    MessageBoxSeen failed = AnswerBox(kErrorCaption, IDOK, 8000);
    ASSERT_TRUE(failed.found);
    EXPECT_EQ(failed.text, L"Failed to spawn your web browser!");
    EXPECT_EQ(failed.owner, about);
    EXPECT_TRUE(StaysOpen(about));
    Click(about, IDOK);
    EXPECT_TRUE(WaitUntilGone(about));
    Settle(main_);  // the main dialog takes up the outcome
    EXPECT_TRUE(CloseMain());
}
