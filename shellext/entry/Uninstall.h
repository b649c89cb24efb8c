// Removes every association: unhooks the handler from each stored extension's file type and
// deletes the extension from the store. Leaves the COM server registration alone
// (DllUnregisterServer's job). Answers the number of extensions processed.
#pragma once

extern "C" int __cdecl Uninstall(void);
