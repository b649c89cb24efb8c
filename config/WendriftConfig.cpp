// Entry point of WendriftConfig.exe: checks the Windows version and that the shell-extension
// library lies beside the program, then runs the main dialog, whose modal loop is the program's
// loop. Exit code 0 once the dialog was closed, 1 when the program stopped at start.
#include "config/ConfigDlg.h"
#include "config/ConfigResources.h"
#include "config/StartChecks.h"
#include "texts/TextIds.h"
#include "winframe/Languages.h"
#include "winframe/TextHelpers.h"
#include "winframe/Texts.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    // A failed call leaves the record zero: that counts as too old.
    GetVersionExW(&version);
    const LANGID language = ChosenLanguage();
    if (!IsSupportedWindowsVersion(version.dwMajorVersion, version.dwMinorVersion)) {
        ShowTextMessage(GetForegroundWindow(), language, IDS_OS_TOO_OLD_CAPTION,
                        MB_ICONINFORMATION, IDS_OS_TOO_OLD);
        return 1;
    }

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LINK_CLASS;
    InitCommonControlsEx(&controls);

    // An unknown program directory leaves the name relative to the current directory.
    std::wstring directory;
    GetModuleDirectory(directory);
    if (!LibraryIsPresent(LibraryPathBeside(directory))) {
        ShowTextMessage(GetForegroundWindow(), language, IDS_CONFIG_ERROR_CAPTION, MB_ICONERROR,
                        IDS_LIBRARY_MISSING);
        return 1;
    }

    // Opened again, in its new language, after the user chose another.
    for (bool again = true; again;) {
        ConfigDlg dialog;
        if (!dialog.DoModal(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CONFIG), nullptr)) {
            ShowTextMessage(GetForegroundWindow(), ChosenLanguage(), IDS_CONFIG_ERROR_CAPTION,
                            MB_ICONERROR, IDS_MAIN_DIALOG_FAILED);
            return 1;
        }
        again = dialog.languageChanged;
    }
    return 0;
}
