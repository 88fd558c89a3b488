#include "tests/ToolkitHost.h"

void SizeClient(HWND hWnd, int cx, int cy) {
    const RECT rcWindow = OnScreen(hWnd), rcClient = ClientOf(hWnd);
    ::SetWindowPos(hWnd, nullptr, 0, 0, cx + (rcWindow.right - rcWindow.left) - rcClient.right,
                   cy + (rcWindow.bottom - rcWindow.top) - rcClient.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

COLORREF PixelAt(HWND hWnd, int x, int y) {
    HDC hdc = ::GetDC(hWnd);
    const COLORREF color = ::GetPixel(hdc, x, y);
    ::ReleaseDC(hWnd, hdc);
    return color;
}

std::vector<int> RowsOf(HWND hWnd, int x, COLORREF color, int cy) {
    std::vector<int> rows;
    for (int y = 0; y < cy; ++y) if (PixelAt(hWnd, x, y) == color) rows.push_back(y);
    return rows;
}

void Click(HWND hDlg, int nID) { ::SendMessageW(::GetDlgItem(hDlg, nID), BM_CLICK, 0, 0); }

std::wstring Shown(HWND hDlg, std::initializer_list<int> ids) {
    std::wstring shown;
    for (int nID : ids) {
        HWND h = ::GetDlgItem(hDlg, nID);
        const std::wstring cls = ClassOf(h);
        const bool bBox = cls == L"Button" && (::GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
        shown += (shown.empty() ? L"" : L" ") +
                 (cls == TRACKBAR_CLASSW ? std::to_wstring(::SendMessageW(h, TBM_GETPOS, 0, 0))
                  : bBox                 ? std::to_wstring(::IsDlgButtonChecked(hDlg, nID))
                                         : TextOf(h).substr(0, cls == DATETIMEPICK_CLASSW ? 99 : 1)) +
                 (::IsWindowVisible(h) ? L"" : L"h") + (::IsWindowEnabled(h) ? L"" : L"-");
    }
    return shown;
}

std::vector<COLORREF> Painted(int cx, int cy, const std::function<void(HDC)>& paint) {
    HDC screen = ::GetDC(nullptr), dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    paint(dc);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) pixels.push_back(::GetPixel(dc, x, y));
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

bool ShowsHeader(HWND hWnd, const wchar_t* title) {
    HDC screen = ::GetDC(hWnd);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY), band = 24 * dpi / 96;
    RECT rc = ClientOf(hWnd);
    rc.bottom = band;
    const std::vector<COLORREF> shown =
        Painted(rc.right, band, [&](HDC dc) { ::BitBlt(dc, 0, 0, rc.right, band, screen, 0, 0, SRCCOPY); });
    ::ReleaseDC(hWnd, screen);
    return shown == Painted(rc.right, band, [&](HDC dc) {
               LOGFONTW lf{};
               lf.lfHeight = 13 * dpi / 96;
               lf.lfWeight = FW_BOLD;
               lstrcpyW(lf.lfFaceName, L"Tahoma");
               HFONT font = ::CreateFontIndirectW(&lf);
               HGDIOBJ old = ::SelectObject(dc, font);
               ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_WINDOW));
               ::SetTextColor(dc, RGB(0, 0, 156));
               ::SetBkMode(dc, TRANSPARENT);
               RECT text{8 * dpi / 96, 0, rc.right, band};
               ::DrawTextW(dc, title, -1, &text, DT_SINGLELINE | DT_VCENTER);
               ::DeleteObject(::SelectObject(dc, old));
           });
}
