// Every text a user reads is a string resource (ids: texts/TextIds.h), looked up per call in
// the language asked for (Languages.h), never by the thread's UI language: the file manager's
// threads are not ours to set. A text a language lacks is read in English.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

// Where the texts are: the library when this code runs inside it, else the program.
HMODULE TextModule();

// The text `id` of `module` in `language`, else in English; empty when neither has it.
std::wstring LoadText(HMODULE module, LANGID language, UINT id);
// The same from TextModule().
std::wstring Text(LANGID language, UINT id);
// LoadText(module, language, id) as the format of FormatStringV (TextHelpers.h).
std::wstring FormatTextV(HMODULE module, LANGID language, UINT id, va_list args);
// Text(language, id) as the format of FormatString (TextHelpers.h).
std::wstring FormatText(LANGID language, UINT id, ...);
// A message box: caption and format are texts, formatted with the arguments that follow.
int ShowTextMessage(HWND owner, LANGID language, UINT captionId, UINT type, UINT formatId, ...);

// A menu label as a title that has no access key: "Cop&y To" reads "Copy To", "コピー先(&Y)"
// reads "コピー先", and "&&" stays a literal "&".
std::wstring WithoutAccessKey(const std::wstring& label);
