// Windows drawn for a handheld's full screen, fitted to the screen they run on. The handheld's
// shell shows every sheet and dialog over its whole screen and never a message box wider than
// it; on the desktop (Wine) windows keep their template sizes, and some texts need more room in
// the desktop's Tahoma than their template rectangles give. Each host reaches this in one place.
#pragma once

#include <windows.h>

// A sheet larger than the work area is fitted to it, its buttons flush with the bottom right
// corner and its tabs above them; its pages fill the tabs' display area.
void FitSheetToWorkArea(HWND hSheet);

// What a page or dialog does to fit the screen. Its host routes every message through it.
// - Once initialised, a dialog takes the whole work area on a handheld-sized screen and lays
//   itself out for it; the host then shows its texts whole (below). A page does so once its
//   sheet has sized it, at the latest as it first shows.
// - Whenever the host's width changes, once it has laid itself out for the new width (WM_SIZE),
//   its texts are fitted to that width.
// Texts shown whole: a control that reaches past the width ends at it (when a text falls short and
// the width has grown, or a control starts past it, the controls spread or close up to it instead,
// each keeping its share); then a text still too long takes free width
// beside it, and one that needs more lines grows downward, moving what lies below it. Where
// anything moved, the host lays itself out again.
class CScreenFit {
public:
    enum class Host { kDialog, kPage };
    explicit CScreenFit(Host host) : m_eHost(host) {}

    // After the host's own handling of every message.
    void AfterMessage(HWND hHost, UINT message, WPARAM wParam, LPARAM lParam);

private:
    Host m_eHost;
    int m_cxLaidOut = -1;  // the client width the controls are laid out for; -1 until initialised
    bool m_bFitPending = false;  // initialised, its texts not yet fitted

    void FitTexts(HWND hHost, int cx);
    void FillWorkArea(HWND hDlg);
};

// MessageBoxW as the handheld shows it: never wider than the work area. A box that would be is
// narrowed to it as it first shows, its text wrapped to the new width, the box made taller as
// far as the text needs, and its buttons kept centred below the text.
int MessageBoxOnScreen(HWND hOwner, const wchar_t* pszText, const wchar_t* pszCaption, UINT nType);
