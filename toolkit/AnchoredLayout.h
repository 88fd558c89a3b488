// The screen scale factor, and child windows placed against their parent's client edges.
#pragma once

#include <windows.h>

// The factor that multiplies layout margins: 2 when the screen was wider than 400 pixels at
// the first call, else 1. Worked out once: turning the device later does not change it.
int GetScreenScale();

// Flags of AnchorWindow.
enum : UINT {
    ANCHOR_LEFT = 0x01,         // the left edge goes to x
    ANCHOR_TOP = 0x02,          // the top edge goes to y
    ANCHOR_RIGHT = 0x04,        // the right edge goes to the client width less the right margin
    ANCHOR_BOTTOM = 0x08,       // the bottom edge goes to the client height less the bottom margin
    ANCHOR_KEEP_WIDTH = 0x10,   // with LEFT the right edge follows, else with RIGHT the left edge
    ANCHOR_KEEP_HEIGHT = 0x20,  // with TOP the bottom edge follows, else with BOTTOM the top edge
};

// Places a child window relative to its parent's client edges; every value is in pixels of the
// parent's client area, whose bottom is the top of its command bar when it has one. TRUE when
// the window was moved; FALSE for a null window, a window without parent, or a layout that
// would change nothing.
BOOL AnchorWindow(HWND hWnd, UINT nFlags, int x, int y, int nRightMargin, int nBottomMargin);
