// Light or dark for Wendrift's own windows, as the user set it for apps: AppsUseLightTheme
// under HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize (absent: light),
// read when each window opens. High-contrast mode always wins: the system's colours, untouched.
#pragma once

enum class WindowTheme { Light, Dark, HighContrast };

struct ThemeSettings {
    bool highContrast = false;
    bool appsUseLightTheme = true;
};

WindowTheme ChooseTheme(const ThemeSettings& settings);

// What the system says now, through the reader set below.
ThemeSettings ReadThemeSettings();
// The system's own reader: the registry value and SPI_GETHIGHCONTRAST.
ThemeSettings SystemThemeSettings();

// The one seam for the settings (tests stand in for high-contrast mode, which Wine cannot
// switch on). Null puts the system's reader back; returns the previous one.
using ThemeSettingsReader = ThemeSettings (*)();
ThemeSettingsReader SetThemeSettingsReader(ThemeSettingsReader reader);
