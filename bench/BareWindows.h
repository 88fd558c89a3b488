// The baselines: each window of the program as the platform alone makes it, with plain calls and
// none of the program's layers. Each has the program's own template and does the platform work
// the program's window does: the two Tahoma fonts on every control, the command bar with its
// "Cancel" button, the hidden "SIPPREF" window, the header band painted on the window colour,
// the registry reads and the folder scans, a page's bar shown and brought to the front as the
// page comes to the front and hidden as it leaves, the bar docked again as its window is sized,
// a dialog filling the work area as the handheld shows it, its controls on the window colour and
// kept against its edges as it is sized, and its controls moved where the program's fitting puts
// them to show every text whole. What the program does beyond that (its class layer, control
// hooks, the fitting's reading and measuring) is what a ratio against these measures.
#pragma once

#include <windows.h>

#include <vector>

// A bare property sheet on the program's three page templates (Game, Screen Saver, Skins), started
// on the given page; with bWork FALSE the pages do nothing at all. Answers PropertySheetW's result.
INT_PTR RunBareSheet(int nStartPage, BOOL bWork = TRUE);

// A bare dialog on the template IDD_EXCEPTIONS, IDD_ADVANCED_OPTIONS or IDD_SELECT_FILE (the
// program picker, which scans the current drive), made and shown at once and run by a plain
// loop as the program runs its dialogs; answers the command that ended it.
INT_PTR RunBareDialog(UINT nTemplate);

// Where a dialog's controls end once the program has fitted their texts to the screen, in the order of its children, in
// its client area of that width. From then on the bare dialog of that template, sized to that width, moves each of its
// controls that lies elsewhere there, with the moves the program makes: the platform's share of showing every text
// whole, which on Wine 10 costs far more than the measuring that found the places.
void PlaceBareControlsAs(UINT nTemplate, int cxClient, std::vector<RECT> placements);
