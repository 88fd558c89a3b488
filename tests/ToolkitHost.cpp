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
    return ::ReleaseDC(hWnd, hdc), color;
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
                                                   : WindowTextOf(h).substr(0, lstrcmpiW(cls, DATETIMEPICK_CLASSW) ? 1 : 99)) +
                 (::IsWindowVisible(h) ? L"" : L"h") + (::IsWindowEnabled(h) ? L"" : L"-") + (IsControlHooked(h) ? L"" : L"?");
    }
    return shown;
}
