// The answer to IContextMenu::GetCommandString for one menu entry, without COM.
#pragma once

#include "shellext/classic/MenuCommand.h"

#include <windows.h>

extern const char kCopyHelpTextA[];     // "Copy here with Wendrift"
extern const wchar_t kCopyHelpTextW[];
extern const char kMoveHelpTextA[];     // "Move here with Wendrift"
extern const wchar_t kMoveHelpTextW[];
// "&Other folder...": "Choose a folder and copy there with Wendrift", "... move there ...".
extern const char kCopyPickHelpTextA[];
extern const wchar_t kCopyPickHelpTextW[];
extern const char kMovePickHelpTextA[];
extern const wchar_t kMovePickHelpTextW[];

// command is the entry found for the offset, or null. Validation requests answer S_OK or
// S_FALSE and write nothing. Verb and help-text requests get the help text, 8-bit or UTF-16 as
// GCS_UNICODE says; it is cut to cchMax - 1 units so the buffer always ends terminated and
// nothing is written past cchMax units. No entry: E_FAIL.
HRESULT AnswerCommandString(const MenuCommand* command, UINT type, char* buffer, UINT cchMax);
