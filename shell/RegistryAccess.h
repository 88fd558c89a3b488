// The access rights asked for when a registry key is opened or created.
#pragma once

#include <windows.h>

// The handheld's registry has no access checks and its callers pass 0. Desktop Win32 takes 0
// literally: the key opens, but every read or write through it is then refused.
#ifdef UNDER_CE
inline constexpr REGSAM kRegistryKeyAccess = 0;
#else
inline constexpr REGSAM kRegistryKeyAccess = KEY_READ | KEY_WRITE;
#endif
