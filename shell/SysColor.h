// System colour indexes as the handheld's GetSysColor takes them.
#pragma once

#include <windows.h>

// The handheld marks its system colour indexes with this flag. Desktop Win32 takes the flagged
// index for an invalid one and answers 0 (black), so there the flag is nothing.
#ifdef UNDER_CE
inline constexpr int kSysColorFlag = 0x40000000;
#else
inline constexpr int kSysColorFlag = 0;
#endif
