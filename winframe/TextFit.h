// Makes room in a dialog for the texts it shows now, whatever their language. A control whose
// text does not fit grows: a button, group box or list to the right (the buttons of a row
// stay equally wide, and a centred row stays centred), a label first into the free room beside
// it and then downwards. What lies beyond a grown control moves along, controls that spanned
// the dialog stretch with it, and the dialog grows (about its centre when it is centred).
// Nothing ever shrinks: a dialog whose texts fit keeps its template's layout to the pixel.
#pragma once

#include <windows.h>

// keepCentre: a DS_CENTER dialog grows about its centre; otherwise to the right and down, as
// after a move to another monitor, whose position Windows chose.
void FitToTexts(HWND dialog, bool keepCentre = true);
