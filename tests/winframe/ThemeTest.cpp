// Light, dark or high contrast for each dialog, from the user's settings: the registry value
// the system writes, and the seam that stands in for high-contrast mode.
#include "winframe/BaseDialog.h"
#include "winframe/ThemeChoice.h"

#include "FrameTestResources.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

namespace {

const wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

TEST(SystemThemeSettings, ReadsAppsUseLightThemeAndTakesLightWithoutIt) {
    SHDeleteValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme");
    EXPECT_TRUE(SystemThemeSettings().appsUseLightTheme);
    for (DWORD light : {0u, 1u}) {
        SHSetValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme", REG_DWORD, &light,
                    sizeof(light));
        EXPECT_EQ(SystemThemeSettings().appsUseLightTheme, light != 0);
    }
    SHDeleteValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme");
    // Wine knows no high-contrast mode.
    EXPECT_FALSE(SystemThemeSettings().highContrast);
}

ThemeSettings gSettings;

class PlainDlg : public BaseDialog {};

// What the dialog answers the dialog manager when it asks for the colours of a control.
struct Answer {
    INT_PTR brush;
    COLORREF text;
};

Answer ColoursFor(HWND dialog, UINT message) {
    HDC dc = GetDC(dialog);
    SetTextColor(dc, RGB(1, 2, 3));
    INT_PTR brush = SendMessageW(dialog, message, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_FIRST_EDIT)));
    Answer answer = {brush, GetTextColor(dc)};
    ReleaseDC(dialog, dc);
    return answer;
}

TEST(DialogTheme, EachDialogTakesTheThemeOfTheSettingsWhenItOpens) {
    SetThemeSettingsReader([] { return gSettings; });
    struct Case { bool highContrast, light; WindowTheme theme; };
    const Case cases[] = {
        {false, true, WindowTheme::Light},
        {false, false, WindowTheme::Dark},
        {true, false, WindowTheme::HighContrast},
    };
    for (const Case& c : cases) {
        gSettings = {c.highContrast, c.light};
        PlainDlg dialog;
        HWND window = dialog.CreateModeless(GetModuleHandleW(nullptr),
                                            MAKEINTRESOURCEW(IDD_FRAME_TEST), nullptr);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(dialog.Theme(), c.theme);
        const bool dark = c.theme == WindowTheme::Dark;
        for (UINT message : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT, WM_CTLCOLORBTN}) {
            Answer answer = ColoursFor(window, message);
            LOGBRUSH brush = {};
            ASSERT_NE(GetObjectW(reinterpret_cast<HBRUSH>(answer.brush), sizeof(brush), &brush), 0);
            const int lightness = GetRValue(brush.lbColor) + GetGValue(brush.lbColor) +
                                  GetBValue(brush.lbColor);
            // Otherwise the system's colours, which the dialog manager answers with.
            EXPECT_EQ(lightness < 150, dark) << message;
            EXPECT_EQ(answer.text, dark ? RGB(255, 255, 255) : GetSysColor(COLOR_WINDOWTEXT)) << message;
        }
        DestroyWindow(window);
    }
    SetThemeSettingsReader(nullptr);
}

}  // namespace
