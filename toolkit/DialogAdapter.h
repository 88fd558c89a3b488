// The dialog adapter that every page and dialog embeds: header band with the title, toolkit
// fonts, the input panel's "SIPPREF" child, the main window kept enabled under a modal dialog,
// and taps on the host's background swallowed.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CDialogAdapter {
public:
    explicit CDialogAdapter(std::wstring title = {}) : m_strTitle(std::move(title)) {}

    std::wstring m_strTitle;           // while empty: no header, scrolling ignored
    BOOL m_bSetFonts = FALSE;          // WM_INITDIALOG: toolkit fonts on the host and its descendants
    BOOL m_bSipPref = FALSE;           // WM_INITDIALOG on a screen that is not square: "SIPPREF" child
    BOOL m_bEnableMainWindow = FALSE;  // after WM_INITDIALOG: the application's main window enabled
    BOOL m_bSwallowTaps = FALSE;       // WM_LBUTTONDOWN on the host itself consumed
    int m_nHeaderWidth = -1;           // host's client width at its last WM_SIZE; -1 before
    int m_nScrollOffset = 0;           // minus the host's vertical scroll position
    PAINTSTRUCT m_ps{};                // one WM_PAINT, from BeforeMessage to AfterMessage

    // Before the host's own handling of every message; TRUE: consumed, the host stops.
    BOOL BeforeMessage(CWnd* pHost, UINT message, WPARAM wParam, LPARAM lParam);
    // After the host's own handling of every message that BeforeMessage left alone.
    void AfterMessage(CWnd* pHost, UINT message, WPARAM wParam);
    // New title; repaints the header band (25 rows across m_nHeaderWidth) if the host has its
    // window. pHost may be null.
    void SetTitle(CWnd* pHost, const std::wstring& title);

    // The whole of a host's OnWndMsg override, for a host derived from TBase:
    //     BOOL CMyDialog::OnWndMsg(UINT m, WPARAM w, LPARAM l, LRESULT* r) {
    //         return m_adapter.HostWndMsg<CDialog>(this, m, w, l, r);
    //     }
    // BeforeMessage, the host's message map, then its default handling, then AfterMessage.
    // The default handling runs here because CWnd::WindowProc would only run it once OnWndMsg
    // had returned, and for WM_PAINT that is after AfterMessage's EndPaint; the host's own
    // painting belongs inside the adapter's BeginPaint/EndPaint.
    template <class TBase>
    BOOL HostWndMsg(TBase* pHost, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
        if (BeforeMessage(pHost, message, wParam, lParam)) return TRUE;
        BOOL bHandled = pHost->TBase::OnWndMsg(message, wParam, lParam, pResult);
        if (!bHandled) {
            *pResult = pHost->DefWindowProc(message, wParam, lParam);
            bHandled = TRUE;
        }
        AfterMessage(pHost, message, wParam);
        return bHandled;
    }

private:
    void PaintHeader(HWND hHost);
};

// Flags of DrawAlignedPolyline: which side of the line a wide pen keeps to. A steep segment (as
// wide as high or less) moves right by w/2 or left by (w-1)/2, a flat one down by w/2 or up by
// (w-1)/2; where both of a pair are given, the first named here wins.
enum : UINT {
    ALIGN_STEEP_RIGHT = 0x10,
    ALIGN_STEEP_LEFT = 0x20,
    ALIGN_FLAT_DOWN = 0x40,
    ALIGN_FLAT_UP = 0x80,
};
// Polyline that keeps a wide pen on one side of the line; without any of the flags above it is a
// plain Polyline.
BOOL DrawAlignedPolyline(HDC hdc, const POINT* pPoints, int nCount, UINT nFlags, int nPenWidth);
