// The help action of every page and dialog, and a dialog control's rectangle in its parent.
#pragma once

#include <windows.h>

// The help viewer's command line of each page and dialog: the help file and its topic.
inline constexpr wchar_t kHelpGame[] = L"file:QovBrumvale.htm#options_game";
inline constexpr wchar_t kHelpScreenSaver[] = L"file:QovBrumvale.htm#options_screensaver";
inline constexpr wchar_t kHelpSkins[] = L"file:QovBrumvale.htm#options_skins";
inline constexpr wchar_t kHelpExceptions[] = L"file:QovBrumvale.htm#options_exceptions";
inline constexpr wchar_t kHelpAdvancedOptions[] = L"file:QovBrumvale.htm#options_screensaver_ext";
inline constexpr wchar_t kHelpSelectProgram[] = L"file:QovBrumvale.htm#options_add_exception";

// Starts the help viewer "PegHelp.exe" with the command line. A viewer that does not start is
// not reported.
void ShowHelp(const wchar_t* pszCommandLine);

// The rectangle of the parent's child control nID in the parent's client coordinates; the
// empty rectangle when there is no parent, nID is 0 or below, or there is no such child.
RECT GetControlRect(HWND hParent, int nID);
