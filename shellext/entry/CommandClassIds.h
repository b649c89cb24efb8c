// The class identifiers of the two commands the Windows 11 package declares, one per entry of
// the first right-click menu: "Copy To" {0BD47E4C-8821-4616-B0BD-025A6CF2E971} and "Move To"
// {EBD9E568-BE5C-4840-A89A-1C25F77782F2}. The package manifest spells them without braces.
#pragma once

#include <windows.h>

inline constexpr CLSID kCopyCommandClassId = {
    0x0BD47E4C, 0x8821, 0x4616, {0xB0, 0xBD, 0x02, 0x5A, 0x6C, 0xF2, 0xE9, 0x71}};
inline constexpr CLSID kMoveCommandClassId = {
    0xEBD9E568, 0xBE5C, 0x4840, {0xA8, 0x9A, 0x1C, 0x25, 0xF7, 0x78, 0x2F, 0xF2}};
