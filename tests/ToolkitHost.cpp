#include "tests/ToolkitHost.h"

#include "toolkit/ControlHook.h"

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
        wchar_t cls[32] = {};
        const bool bBox = ::GetClassNameW(h, cls, 32) && (::GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX && !lstrcmpiW(cls, L"Button");
        shown += (shown.empty() ? L"" : L" ") +
                 (!lstrcmpiW(cls, TRACKBAR_CLASSW) ? std::to_wstring(::SendMessageW(h, TBM_GETPOS, 0, 0))
                  : bBox                           ? std::to_wstring(::IsDlgButtonChecked(hDlg, nID))
                                                   : TextOf(h).substr(0, lstrcmpiW(cls, DATETIMEPICK_CLASSW) ? 1 : 99)) +
                 (::IsWindowVisible(h) ? L"" : L"h") + (::IsWindowEnabled(h) ? L"" : L"-") + (Hooked(h) ? L"" : L"?");
    }
    return shown;
}

bool ShowsHeader(HWND hWnd, const wchar_t* title) {
    HDC screen = ::GetDC(hWnd), dc = ::CreateCompatibleDC(screen);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY), band = 24 * dpi / 96;
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    rc.bottom = band;
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, rc.right, band);
    LOGFONTW lf{};
    lf.lfHeight = 13 * dpi / 96;
    lf.lfWeight = FW_BOLD;
    lstrcpyW(lf.lfFaceName, L"Tahoma");
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap), oldFont = ::SelectObject(dc, font);
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_WINDOW));
    ::SetTextColor(dc, RGB(0, 0, 156));
    ::SetBkMode(dc, TRANSPARENT);
    RECT text{8 * dpi / 96, 0, rc.right, band};
    ::DrawTextW(dc, title, -1, &text, DT_SINGLELINE | DT_VCENTER);
    bool same = true;
    for (int y = 0; y < band; ++y)
        for (int x = 0; x < rc.right; ++x) same = same && ::GetPixel(dc, x, y) == ::GetPixel(screen, x, y);
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(font);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(hWnd, screen);
    return same;
}
