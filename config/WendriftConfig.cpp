// Entry point of WendriftConfig.exe: checks the Windows version and that the shell-extension
// library lies beside the program, then runs the main dialog, whose modal loop is the program's
// loop. Exit code 0 once the dialog was closed, 1 when the program stopped at start.
#include "config/ConfigDlg.h"
#include "config/ConfigResources.h"
#include "config/StartChecks.h"
#include "winframe/TextHelpers.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    // A failed call leaves the record zero: that counts as too old.
    GetVersionExW(&version);
    if (!IsSupportedWindowsVersion(version.dwMajorVersion, version.dwMinorVersion)) {
        ShowMessage(GetForegroundWindow(),
                    L"This program is designed strictly for Windows XP +. Sorry!",
                    L"WendriftConfig : Operating System Too Old", MB_ICONINFORMATION);
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
        ShowMessage(GetForegroundWindow(),
                    L"Fatal Error: Couldn't establish location of Wendrift.dll; you should "
                    L"consider re-installing the application.",
                    L"WendriftConfig : ERROR", MB_ICONERROR);
        return 1;
    }

    ConfigDlg dialog;
    if (!dialog.DoModal(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CONFIG), nullptr)) {
        ShowMessage(GetForegroundWindow(),
                    L"Fatal Error: An error occurred while creating the configuration dialog!",
                    L"WendriftConfig : ERROR", MB_ICONERROR);
        return 1;
    }
    return 0;
}
