// The handheld shell's input panel (the on-screen keyboard).
#pragma once

#include <windows.h>

// Requests a window makes of the input panel.
enum SIPSTATE : int { SIP_UP = 0, SIP_DOWN = 1, SIP_FORCEDOWN = 2, SIP_UNCHANGED = 3 };

// Asks the shell to show (SIP_UP) or hide (SIP_DOWN) the input panel for the window. The
// desktop has no input panel: the request is only recorded.
BOOL SHSipPreference(HWND hWnd, SIPSTATE st);
// The last request made for the window, or -1 when it made none.
int GetLastSipRequest(HWND hWnd);
