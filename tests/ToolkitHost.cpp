#include "tests/ToolkitHost.h"

void CToolkitHost::DoDataExchange(CDataExchange* pDX) { DDX_Control(pDX, IDC_SS_EXCEPTIONS, m_button); }

LRESULT CToolkitHost::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) m_paintedInAdapterPaint = Adapter().m_ps.hdc != nullptr;
    return COptionDialog::DefWindowProc(message, wParam, lParam);
}

void CToolkitHost::RunWith(const std::function<void()>& body) {
    OnNextIdle([this, body] { body(), EndDialog(IDCANCEL); });
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
    RECT rcClient{}, rc{};
    ::GetClientRect(hWnd, &rcClient);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < rcClient.right; ++x)
            if (const RECT pixel{x, y, x + 1, y + 1}; PixelAt(hWnd, x, y) == color) ::UnionRect(&rc, &rc, &pixel);
    return rc;
}

LOGFONTW FontOf(HWND hWnd) {
    LOGFONTW lf{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf;
}
