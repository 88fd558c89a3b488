// Screen scale factor and anchored layout of child windows.
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

// A handheld's property sheet fills its screen. A desktop sheet larger than the work area is
// fitted to it: its buttons flush with the bottom right corner, its tabs above them. Answers
// the tabs' display area in the sheet's client coordinates, where the pages belong, or the
// empty rectangle when the sheet fits as it is.
RECT FitSheetToWorkArea(HWND hSheet);

// How much wider (a text on one line) or higher (a text that wraps) a label, box or button must
// be to show its whole text in its font; zero for a control that shows it whole or has none.
SIZE TextShortfall(HWND hCtl);
// Whether a control is a label, box or button showing a text.
bool ShowsText(HWND hCtl);
// When a text of the parent's controls does not show whole, or a control reaches past cxClient,
// the controls spread or close up to a client area cxClient wide, each keeping its share of the
// width. A text still too long then takes free width to its right (a slider beside it gives
// up to a quarter of its own), and one that needs more lines grows downward, moving the
// controls below it down as far. Nothing moves otherwise.
void FitTextsToWidth(HWND hParent, int cxClient);

// A handheld's shell shows each dialog over its whole screen, and the dialog lays itself out
// for that size. On a screen no larger than a handheld's (640 pixels either way) a desktop
// dialog likewise fills the work area and gets a WM_SIZE for it, so that its anchored layout
// replaces the placement it made while it initialised, its texts fitted to the screen's width
// first. On a larger desktop it keeps its size and its own placement, and is only moved inside
// the work area; its texts are fitted to its width.
void FitDialogToWorkArea(HWND hDlg);
