// A dialog that embeds the dialog adapter as every page and dialog does, counting what reaches
// its own message map and default handling; and reading back what a window painted.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/Framework.h"
#include "toolkit/DialogAdapter.h"

// A button wrapper whose message map takes every pen-down.
class CTapRecordingButton : public CButton {
public:
    int m_nMapTaps = 0;

protected:
    LRESULT OnLButtonDown(WPARAM, LPARAM) {
        ++m_nMapTaps;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

class CToolkitHost : public CDialog {
public:
    // Title "_" and all four options on, then the given title, as the program's hosts do.
    explicit CToolkitHost(const wchar_t* pszTitle);

    CDialogAdapter m_adapter;
    CTapRecordingButton m_browse;     // bound to the "Browse..." push button
    int m_nMapTaps = 0;               // WM_LBUTTONDOWN seen by the host's message map
    int m_nDefaultPaints = 0;         // WM_PAINT given to the default handling
    int m_nDefaultPaintsInPaint = 0;  // ... while the adapter's BeginPaint was open

    // Runs the dialog modally, calls body once it is up and idle, then ends it.
    void RunWith(const std::function<void()>& body);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnLButtonDown(WPARAM, LPARAM) {
        ++m_nMapTaps;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// Moves a top-level window to the screen's top left corner with a client area of cx x cy pixels
// (a WM_SIZE) and paints it at once.
void SizeClient(HWND hWnd, int cx, int cy);

// What a window's client area shows on the screen now: one pixel; the rows of column x above
// row cy in the colour, top to bottom; the smallest rectangle around every pixel of the colour
// above row cy (empty without one).
COLORREF PixelAt(HWND hWnd, int x, int y);
std::vector<int> RowsOf(HWND hWnd, int x, COLORREF color, int cy);
RECT BoundsOf(HWND hWnd, COLORREF color, int cy);

// The font a window answers WM_GETFONT with, and its weight and height (0, 0 without one).
struct FontFacts {
    HFONT hFont;
    LONG nWeight, nHeight;
};
FontFacts FontOf(HWND hWnd);
