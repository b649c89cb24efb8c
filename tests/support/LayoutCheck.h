// A dialog's layout as a user at a given DPI sees it. Texts are measured with each control's own
// font against its client area, so a template or a font that does not grow with the DPI shows
// up as clipped text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One line per fault (UTF-8, naming the control), empty when the dialog is clean:
// - a static's, button's, group box's, link's, list box line's or combo box item's text does
//   not fit its control;
// - two controls take the same access key ("&");
// - two visible controls overlap (a group box may hold others), or one leaves the client area;
// - a list view column is narrower than its header, or the columns need a horizontal scroll;
// - an icon (static icons, the window's icons, the list view's small icons) is not the size
//   that `dpi` asks for: 16 or 32 pixels at 96 DPI, scaled with the DPI.
std::vector<std::string> LayoutProblems(HWND dialog, UINT dpi);
