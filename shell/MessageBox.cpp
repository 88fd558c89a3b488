#include "shell/MessageBox.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Wnd.h"

namespace {
thread_local HHOOK t_hFitHook = nullptr;

// The box laid out again across the work area: the text keeps its place, takes the margin left
// of the icon (or of itself) on its right too and as many lines as it needs; the row of buttons
// keeps its sizes and gaps, centred at the old distance below the text (or the icon, if lower).
void FitToWorkArea(HWND hBox, HWND hText) {
    RECT work{}, box{}, client{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(hBox, &box);
    ::GetClientRect(hBox, &client);
    const int cxFrame = (box.right - box.left) - client.right, cyFrame = (box.bottom - box.top) - client.bottom;
    if (box.right - box.left <= work.right - work.left) return;
    const int cxClient = (work.right - work.left) - cxFrame;

    std::vector<HWND> buttons;
    RECT text = WindowRectInParent(hText), row{}, above = text;
    int margin = text.left;
    for (HWND h = ::GetWindow(hBox, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        ::GetClassNameW(h, cls, 16);
        const RECT rc = WindowRectInParent(h);
        if (::lstrcmpiW(cls, L"Button") == 0) buttons.push_back(h), ::UnionRect(&row, &row, &rc);
        else if (h != hText) above.bottom = std::max(above.bottom, rc.bottom), margin = std::min<int>(margin, rc.left);
    }
    const int gap = row.top - above.bottom, cyBelow = client.bottom - row.bottom;

    const SIZE need = TextSizeIn(hText, WindowTextOf(hText), cxClient - text.left - margin,
                                 DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    ::MoveWindow(hText, text.left, text.top, need.cx, need.cy, FALSE);

    const int top = std::max<int>(text.top + need.cy, above.bottom) + gap;
    const int left = (cxClient - (row.right - row.left)) / 2;
    for (HWND h : buttons) {
        const RECT rc = WindowRectInParent(h);
        ::MoveWindow(h, left + rc.left - row.left, top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
    }
    const int cy = cyFrame + top + (row.bottom - row.top) + cyBelow;
    const int y = std::max<int>(work.top, work.top + (work.bottom - work.top - cy) / 2);
    ::SetWindowPos(hBox, nullptr, work.left, y, work.right - work.left, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Catches the box once it has laid itself out, before it shows.
LRESULT CALLBACK FitHook(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* pMessage = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMessage->message == WM_INITDIALOG) {
        HWND hWnd = pMessage->hwnd;
        if (HWND hText = MessageTextOf(hWnd)) FitToWorkArea(hWnd, hText);
    }
    return ::CallNextHookEx(t_hFitHook, nCode, wParam, lParam);
}
}  // namespace

HWND MessageTextOf(HWND hBox) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hBox, cls, 16);
    if (::lstrcmpW(cls, L"#32770") != 0) return nullptr;
    HWND hText = ::GetDlgItem(hBox, 0xFFFF);
    return hText != nullptr ? hText : ::GetDlgItem(hBox, 100);
}

int ShowMessageBox(HWND hOwner, const wchar_t* pszText, const wchar_t* pszCaption, UINT nType) {
    t_hFitHook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &FitHook, nullptr, ::GetCurrentThreadId());
    const int nResult = ::MessageBoxW(hOwner, pszText, pszCaption, nType);
    if (t_hFitHook != nullptr) ::UnhookWindowsHookEx(t_hFitHook);
    t_hFitHook = nullptr;
    return nResult;
}
