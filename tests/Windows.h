// Each window of the program with what it must show wherever it runs, and a walk that opens them all as a user does.
#pragma once

#include <map>

#include "tests/Harness.h"

struct WindowFacts {
    const char* window;
    std::wstring caption;  // its title bar, or a page's tab
    std::wstring header;   // the header band's title; "": no band, and the platform's fonts
    std::string help;      // the topic F1 asks for
    std::wstring owner;    // the caption of its owner (of a page, its sheet), "" for none
    std::wstring bar;      // its command bar's buttons, "text:command" each, "" for no bar
    std::set<int> hooked;    // its controls whose pen-downs go straight to them
    std::map<std::wstring, std::wstring> fonts;  // by control kind: face, height at 96 dpi, weight
    std::map<int, std::vector<LONG>> placed;     // at 800x600, edges as first shown: 0 its client area, or a control's
};
extern const std::vector<WindowFacts> kWindows;

// Expects the window to show its row's facts, each on a line of its own (the placement and the help aside).
void ExpectFacts(const WindowFacts& row, HWND hWnd);
// The topics the table's windows ask for, in its order, as the help viewer records them.
std::vector<std::string> TableTopics();
// Opens each window in the table's order: the Game page as the sheet opens, the Screen Saver tab chosen by a message to
// the sheet, the Skins tab tapped, the sheet's tabs given the focus, then on the Screen Saver tab "Exceptions...", its
// "Add...", "More Options...", and closes the sheet. In each, the step sees the window and its row, then F1 is pressed
// there; answers the topics asked for, in turn.
std::vector<std::string> WalkWindows(const std::function<void(const WindowFacts&, HWND)>& step);
