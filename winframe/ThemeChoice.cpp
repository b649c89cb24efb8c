#include "winframe/ThemeChoice.h"

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
    DWORD light = 1, bytes = sizeof(light);
    if (RegGetValueW(HKEY_CURRENT_USER, kPersonalizeKey, L"AppsUseLightTheme", RRF_RT_REG_DWORD,
                     nullptr, &light, &bytes) == ERROR_SUCCESS) {
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
