// The toolkit's fonts and the pixel-density scaling they and the header use.
#pragma once

#include <windows.h>

// v logical pixels at 96 pixels per inch, in the screen's horizontal / vertical pixels
// (integer division, truncating toward zero).
int ScaleX(int v);
int ScaleY(int v);

// Bold Tahoma, ScaleY(13) pixels high: the header title and push buttons.
HFONT GetHeaderFont();
// The same in normal weight: every other window.
HFONT GetControlFont();

// Sets the bold font on push buttons and the normal one on every other window, the window
// itself and all its descendants included.
void ApplyToolkitFonts(HWND hWnd);
