#include "tests/ToolkitHost.h"

#include <algorithm>

#include "tests/Harness.h"
#include "tests/ToolkitTestIds.h"

BEGIN_MESSAGE_MAP(CTapRecordingButton, CButton)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CToolkitHost, CDialog)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
END_MESSAGE_MAP()

CToolkitHost::CToolkitHost(const wchar_t* pszTitle) : CDialog(IDD_TOOLKIT_HOST), m_adapter(L"_") {
    m_adapter.m_bSetFonts = m_adapter.m_bSipPref = m_adapter.m_bEnableMainWindow = m_adapter.m_bSwallowTaps = TRUE;
    m_adapter.SetTitle(this, pszTitle);
}

void CToolkitHost::DoDataExchange(CDataExchange* pDX) { DDX_Control(pDX, IDC_TOOLKIT_BROWSE, m_browse); }

BOOL CToolkitHost::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return m_adapter.HostWndMsg<CDialog>(this, message, wParam, lParam, pResult);
}

LRESULT CToolkitHost::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        ++m_nDefaultPaints;
        if (m_adapter.m_ps.hdc != nullptr) ++m_nDefaultPaintsInPaint;
    }
    return CDialog::DefWindowProc(message, wParam, lParam);
}

void CToolkitHost::RunWith(const std::function<void()>& body) {
    OnNextIdle([this, body] {
        body();
        EndDialog(IDCANCEL);
    });
    DoModal();
}

void SizeClient(HWND hWnd, int cx, int cy) {
    RECT rcWindow, rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    ::SetWindowPos(hWnd, nullptr, 0, 0, cx + (rcWindow.right - rcWindow.left) - rcClient.right,
                   cy + (rcWindow.bottom - rcWindow.top) - rcClient.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

COLORREF PixelAt(HWND hWnd, int x, int y) {
    HDC hdc = ::GetDC(hWnd);
    COLORREF color = ::GetPixel(hdc, x, y);
    ::ReleaseDC(hWnd, hdc);
    return color;
}

std::vector<int> RowsOf(HWND hWnd, int x, COLORREF color, int cy) {
    std::vector<int> rows;
    for (int y = 0; y < cy; ++y)
        if (PixelAt(hWnd, x, y) == color) rows.push_back(y);
    return rows;
}

RECT BoundsOf(HWND hWnd, COLORREF color, int cy) {
    RECT rcClient{};
    ::GetClientRect(hWnd, &rcClient);
    HDC hdc = ::GetDC(hWnd);
    RECT rc{rcClient.right, cy, 0, 0};
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < rcClient.right; ++x)
            if (::GetPixel(hdc, x, y) == color) rc = {std::min<LONG>(rc.left, x), std::min<LONG>(rc.top, y),
                                                      std::max<LONG>(rc.right, x + 1), std::max<LONG>(rc.bottom, y + 1)};
    ::ReleaseDC(hWnd, hdc);
    return rc;
}

FontFacts FontOf(HWND hWnd) {
    FontFacts facts{reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)), 0, 0};
    LOGFONTW lf{};
    if (facts.hFont != nullptr && ::GetObjectW(facts.hFont, sizeof(lf), &lf) == sizeof(lf)) {
        facts.nWeight = lf.lfWeight;
        facts.nHeight = lf.lfHeight;
    }
    return facts;
}
