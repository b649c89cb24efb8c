// The shell's icon for a file type at the exact size a DPI asks for.
#pragma once

#include <windows.h>

#include <string>

// The icon of files with `extension`, `size` pixels square; null when the shell has none. It is
// the shell's small or large icon (sized for the system DPI), whichever is nearer, scaled when
// the size differs: on a monitor of the system's DPI it is the shell's own image. The caller
// destroys the icon.
HICON FileTypeIcon(const std::wstring& extension, int size);
