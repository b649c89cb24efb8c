// The entry of a wide GUI program in the Zig build. zig 0.11 links only mingw-w64's narrow
// start-up code (it takes -municode without acting on it), which calls main; this main hands
// over to the program's wWinMain with what the wide start-up code would pass.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

int main(void) {
    // The command line after the program's name (quoted or not) and the blanks that follow it.
    LPWSTR arguments = GetCommandLineW();
    BOOL quoted = FALSE;
    while (*arguments != L'\0' && (quoted || (*arguments != L' ' && *arguments != L'\t'))) {
        if (*arguments == L'"') {
            quoted = !quoted;
        }
        ++arguments;
    }
    while (*arguments == L' ' || *arguments == L'\t') {
        ++arguments;
    }
    STARTUPINFOW startup;
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    return wWinMain(GetModuleHandleW(NULL), NULL, arguments, show);
}
