#include "winframe/ThemeChoice.h"

#include "store/RegKey.h"

#include <windows.h>

#include <atomic>

namespace {

const wchar_t kPersonalizeKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

std::atomic<ThemeSettingsReader> g_reader{nullptr};

}  // namespace

WindowTheme ChooseTheme(const ThemeSettings& settings) {
    if (settings.highContrast) return WindowTheme::HighContrast;
    return settings.appsUseLightTheme ? WindowTheme::Light : WindowTheme::Dark;
}

ThemeSettings SystemThemeSettings() {
    ThemeSettings settings;
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    settings.highContrast =
        SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    RegKey key;
    DWORD light = 1;
    if (key.Open(HKEY_CURRENT_USER, kPersonalizeKey, false) &&
        key.QueryDword(L"AppsUseLightTheme", light)) {
        settings.appsUseLightTheme = light != 0;
    }
    return settings;
}

ThemeSettings ReadThemeSettings() {
    ThemeSettingsReader reader = g_reader.load();
    return reader != nullptr ? reader() : SystemThemeSettings();
}

ThemeSettingsReader SetThemeSettingsReader(ThemeSettingsReader reader) {
    return g_reader.exchange(reader);
}
