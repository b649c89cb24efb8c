// Makes the shell load the context-menu handler: the COM server's keys, and per extension a
// marker key plus the handler key under the extension's file type. Everything lies under
// HKEY_CLASSES_ROOT and is written through RegKey.
#pragma once

#include "WendriftClassIds.h"

#include <windows.h>

#include <string>

// The handler's class id as the registry spells it, and kProgId (from
// shellext/entry/ClassIds.cmake).
inline constexpr const wchar_t* kClassIdText = kShellCallbackClassIdText;
extern const wchar_t kHandlerName[];      // "Wendrift"
extern const wchar_t kLibraryFileName[];  // "Wendrift.dll"

// Writes (or, with registering false, deletes) the server keys. S_OK or E_FAIL.
HRESULT RegisterServer(const std::wstring& libraryPath, bool registering);
// Hooks (or unhooks) the handler into the extension's file type, with its marker key.
bool RegisterExtension(const std::wstring& extension, bool registering);
// The file-type step of RegisterExtension.
bool RegisterFileTypeHandler(const std::wstring& extension, bool registering);
