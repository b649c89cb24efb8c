// What a screen reader learns of a progress bar of the progress dialog: its name is the text
// above it (which says what the bar measures and its figure), its value the bar's percentage,
// its role a progress bar. Everything else is the platform's standard object for the window.
#pragma once

#include <windows.h>

// Answers the bar's WM_GETOBJECT from now on, naming it by `label`'s text; for the bar's life.
bool MakeProgressBarAccessible(HWND bar, HWND label);
