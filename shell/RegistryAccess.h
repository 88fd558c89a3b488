// The access rights asked for when a registry key is opened or created.
#pragma once

#include <windows.h>

// The handheld's registry has no access checks and its callers pass 0. Desktop Win32 takes 0
// literally: the key opens, but every read or write through it is then refused.
// A 32-bit build on 64-bit Windows would be sent to the registry's 32-bit view (Wow6432Node)
// under SOFTWARE, where the game, its service and the device's tools do not look: every build
// asks for the 64-bit view (32-bit Windows, which has only one, ignores the flag).
#ifdef UNDER_CE
inline constexpr REGSAM kRegistryKeyAccess = 0;
#else
inline constexpr REGSAM kRegistryKeyAccess = KEY_READ | KEY_WRITE | KEY_WOW64_64KEY;
#endif
