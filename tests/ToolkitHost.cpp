#include "tests/ToolkitHost.h"

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
    const COLORREF color = ::GetPixel(hdc, x, y);
    return ::ReleaseDC(hWnd, hdc), color;
}

std::vector<int> RowsOf(HWND hWnd, int x, COLORREF color, int cy) {
    std::vector<int> rows;
    for (int y = 0; y < cy; ++y) if (PixelAt(hWnd, x, y) == color) rows.push_back(y);
    return rows;
}
