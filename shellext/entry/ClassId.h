// The class identifier of ShellCallback, {6C2D91B4-0F3E-4a58-9B17-E4D0A3C5F829}; the registry
// spells it as kClassIdText (store/ShellRegistrar.h).
#pragma once

#include <windows.h>

inline constexpr CLSID kShellCallbackClassId = {
    0x6C2D91B4, 0x0F3E, 0x4a58, {0x9B, 0x17, 0xE4, 0xD0, 0xA3, 0xC5, 0xF8, 0x29}};
