// The library's own full path (not the host program's): what DllRegisterServer registers.
#pragma once

#include <windows.h>

// buffer holds MAX_PATH units; it is zero-filled first. False for a null buffer, when the name
// cannot be read, or when it did not fit whole (a cut path would register a library that is
// not there).
bool ModulePath(wchar_t* buffer);
