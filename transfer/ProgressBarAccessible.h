// What a screen reader learns of a progress bar of the progress dialog: its name is the text
// above it (which says what the bar measures and its figure), its value the bar's percentage
// written as the dialog's language writes one, its role a progress bar. Everything else is the platform's standard object for the window.
#pragma once

#include <windows.h>

// Answers the bar's WM_GETOBJECT from now on, naming it by `label`'s text and giving its value
// in `language`; for the bar's life.
bool MakeProgressBarAccessible(HWND bar, HWND label, LANGID language);
