// The library's own texts that live in its string table (LibraryStrings.rc), with their ids and
// the one function that loads them. Read by the resource compiler too.
#pragma once

#define IDS_PAUSE 200
#define IDS_RESUME 201
#define IDS_RATE_PAUSED 202
#define IDS_OWN_FOLDER_CAPTION 203
#define IDS_OWN_FOLDER_ONE 204
#define IDS_OWN_FOLDER_ALL 205
#define IDS_OWN_FOLDER_SOME 206

#ifndef RC_INVOKED
#include <windows.h>

#include <string>

// The text of string `id` from the library (the running program outside it); empty when it
// has none.
std::wstring LibraryText(UINT id);
#endif
