// The baselines: each window of the program as the platform alone makes it, with plain calls and
// none of the program's layers. Each has the program's own template and does the platform work
// the program's window does: the two Tahoma fonts on every control, the command bar with its
// "Cancel" button, the hidden "SIPPREF" window, the header band painted on the window colour,
// the registry reads and the folder scans, a page's bar shown and brought to the front as the
// page comes to the front and hidden as it leaves, the bar docked again as its window is sized,
// a dialog filling the work area as the handheld shows it, its controls on the window colour and
// kept against its edges as it is sized. What the
// program does beyond that (its class layer, control hooks, text fitting) is what a ratio against
// these measures.
#pragma once

#include <windows.h>

// A bare property sheet on the program's three page templates (Game, Screen Saver, Skins), started
// on the given page; with bWork FALSE the pages do nothing at all. Answers PropertySheetW's result.
INT_PTR RunBareSheet(int nStartPage, BOOL bWork = TRUE);

// A bare dialog on the template IDD_EXCEPTIONS, IDD_ADVANCED_OPTIONS or IDD_SELECT_FILE (the
// program picker, which scans the current drive), made and shown at once and run by a plain
// loop as the program runs its dialogs; answers the command that ended it.
INT_PTR RunBareDialog(UINT nTemplate);
