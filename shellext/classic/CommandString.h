// The answer to IContextMenu::GetCommandString for one menu entry, without COM.
#pragma once

#include "shellext/classic/MenuCommand.h"

#include <windows.h>

// command is the entry found for the offset, or null. Validation requests answer S_OK or
// S_FALSE and write nothing. Verb and help-text requests get the help text in `language`
// ("Copy here with Wendrift"; for "&Other folder..." "Choose a folder and copy there with
// Wendrift"), 8-bit (the ANSI code page) or UTF-16 as GCS_UNICODE says; it is cut to
// cchMax - 1 units so the buffer always ends terminated and nothing is written past cchMax
// units. No entry: E_FAIL.
HRESULT AnswerCommandString(const MenuCommand* command, UINT type, char* buffer, UINT cchMax,
                            LANGID language);
