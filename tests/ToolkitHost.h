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
    explicit CToolkitHost(const wchar_t* pszTitle, CWnd* pParent = nullptr);

    CDialogAdapter m_adapter;
    CTapRecordingButton m_browse;  // bound to the "Browse..." push button
    CTapRecordingButton m_check;   // bound to the "Enable" check box
    bool m_bHookControls = false;  // hook both in OnInitDialog, after binding

    int m_nMapTaps = 0;               // WM_LBUTTONDOWN seen by the host's message map
    int m_nDefaultPaints = 0;         // WM_PAINT given to the default handling
    int m_nDefaultPaintsInPaint = 0;  // ... while the adapter's BeginPaint was open
    HFONT m_hSetFont = nullptr;       // the last WM_SETFONT: a dialog keeps no font to ask for

    // Runs the dialog modally, calls body once it is up and idle, then ends it.
    void RunWith(const std::function<void()>& body);
    // Gives the dialog a client area of cx x cy pixels (a WM_SIZE) and paints it at once.
    void SizeClientAndPaint(int cx, int cy);
    // A point of the dialog's own background, below every control.
    POINT BackgroundPoint() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnLButtonDown(WPARAM, LPARAM) {
        ++m_nMapTaps;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// A copy of a window's client area as it is on the screen now.
class CClientPixels {
public:
    explicit CClientPixels(HWND hWnd);
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    COLORREF At(int x, int y) const;
    // The rows of column x above row cy whose pixel has the colour, top to bottom.
    std::vector<int> RowsOf(int x, COLORREF color, int cy) const;
    // The rows and columns holding any pixel of the colour inside [0, cx) x [0, cy).
    std::vector<int> RowsWith(COLORREF color, int cy) const;
    std::vector<int> ColumnsWith(COLORREF color, int cy) const;

private:
    int m_cx = 0, m_cy = 0;
    std::vector<DWORD> m_bits;  // top-down 0x00RRGGBB
};

// The weight and height of the font a window answers WM_GETFONT with (0, 0 without one).
struct FontFacts {
    HFONT hFont;
    LONG nWeight;
    LONG nHeight;
};
FontFacts FontOf(HWND hWnd);
