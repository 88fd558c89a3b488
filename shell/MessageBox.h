// The handheld's message boxes.
#pragma once

#include <windows.h>

// MessageBoxW as the handheld shows it: never wider than the work area. A desktop box sizes
// itself for the desktop and can come out wider than a handheld's screen; such a box is
// narrowed to the work area as it first shows, its text wrapped to the new width, the box made
// taller as far as the text needs, and its buttons kept centred below the text.
int ShowMessageBox(HWND hOwner, const wchar_t* pszText, const wchar_t* pszCaption, UINT nType);
// A message box's text control (id 0xFFFF on Windows, 100 on Wine); null for another window.
HWND MessageTextOf(HWND hBox);
