#include "toolkit/ScreenLayout.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Wnd.h"
#include "shell/PropertySheetIds.h"

namespace {
// 0 until the first GetScreenScale.
int g_nScreenScale = 0;
}  // namespace

int GetScreenScale() {
    if (g_nScreenScale == 0) g_nScreenScale = ::GetSystemMetrics(SM_CXSCREEN) > 400 ? 2 : 1;
    return g_nScreenScale;
}

BOOL AnchorWindow(HWND hWnd, UINT nFlags, int x, int y, int nRightMargin, int nBottomMargin) {
    if (hWnd == nullptr) return FALSE;
    HWND hParent = ::GetParent(hWnd);
    if (hParent == nullptr) return FALSE;

    const RECT rcOld = WindowRectInParent(hWnd);
    RECT rc = rcOld;

    if (nFlags & ANCHOR_LEFT) rc.left = x;
    if (nFlags & ANCHOR_TOP) rc.top = y;
    if (nFlags & (ANCHOR_RIGHT | ANCHOR_BOTTOM)) {
        RECT rcClient{};
        ::GetClientRect(hParent, &rcClient);
        if (nFlags & ANCHOR_RIGHT) rc.right = rcClient.right - nRightMargin;
        if (nFlags & ANCHOR_BOTTOM) rc.bottom = rcClient.bottom - nBottomMargin;
    }
    if (nFlags & ANCHOR_KEEP_WIDTH) {
        if (nFlags & ANCHOR_LEFT) rc.right = rc.left + (rcOld.right - rcOld.left);
        else if (nFlags & ANCHOR_RIGHT) rc.left = rc.right - (rcOld.right - rcOld.left);
    }
    if (nFlags & ANCHOR_KEEP_HEIGHT) {
        if (nFlags & ANCHOR_TOP) rc.bottom = rc.top + (rcOld.bottom - rcOld.top);
        else if (nFlags & ANCHOR_BOTTOM) rc.top = rc.bottom - (rcOld.bottom - rcOld.top);
    }

    if (::EqualRect(&rc, &rcOld)) return FALSE;
    ::MoveWindow(hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    return TRUE;
}

RECT FitSheetToWorkArea(HWND hSheet) {
    RECT work{}, rcSheet{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(hSheet, &rcSheet);
    const int workW = work.right - work.left, workH = work.bottom - work.top;
    if (rcSheet.right - rcSheet.left <= workW && rcSheet.bottom - rcSheet.top <= workH) return RECT{};

    ::SetWindowPos(hSheet, nullptr, work.left, work.top, std::min<int>(workW, rcSheet.right - rcSheet.left),
                   std::min<int>(workH, rcSheet.bottom - rcSheet.top), SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    ::GetClientRect(hSheet, &client);

    // The buttons keep their size and their gaps, flush with the bottom right corner.
    const int buttonIds[] = {IDHELP, kSheetApplyButtonId, IDCANCEL, IDOK};
    int right = client.right, buttonTop = client.bottom;
    for (int id : buttonIds) {
        HWND hButton = ::GetDlgItem(hSheet, id);
        if (hButton == nullptr || !::IsWindowVisible(hButton)) continue;
        RECT rc{};
        ::GetWindowRect(hButton, &rc);
        const int w = rc.right - rc.left, h = rc.bottom - rc.top, gap = h / 4;
        right -= gap + w;
        buttonTop = client.bottom - gap - h;
        ::MoveWindow(hButton, right, buttonTop, w, h, TRUE);
    }

    // The tabs take everything above the buttons.
    HWND hTab = ::GetDlgItem(hSheet, kSheetTabControlId);
    if (hTab == nullptr) return RECT{};
    RECT rcTab{0, 0, client.right, buttonTop - 2};
    ::MoveWindow(hTab, rcTab.left, rcTab.top, rcTab.right, rcTab.bottom, TRUE);
    ::GetClientRect(hTab, &rcTab);
    ::SendMessageW(hTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rcTab));
    ::MapWindowPoints(hTab, hSheet, reinterpret_cast<POINT*>(&rcTab), 2);
    return rcTab;
}

void FitDialogToWorkArea(HWND hDlg) {
    RECT work{}, rc{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (!::GetWindowRect(hDlg, &rc)) return;
    constexpr int kLargestHandheld = 640;
    const bool bHandheld = ::GetSystemMetrics(SM_CXSCREEN) <= kLargestHandheld &&
                           ::GetSystemMetrics(SM_CYSCREEN) <= kLargestHandheld;
    const int workW = work.right - work.left, workH = work.bottom - work.top;
    const int w = bHandheld ? workW : std::min<int>(rc.right - rc.left, workW);
    const int h = bHandheld ? workH : std::min<int>(rc.bottom - rc.top, workH);
    const int x = std::clamp<int>(rc.left, work.left, work.right - w);
    const int y = std::clamp<int>(rc.top, work.top, work.bottom - h);
    ::SetWindowPos(hDlg, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!bHandheld || (w != rc.right - rc.left || h != rc.bottom - rc.top)) return;
    // Already of the screen's size: the shell's sizing would still have laid it out.
    RECT client{};
    ::GetClientRect(hDlg, &client);
    ::SendMessageW(hDlg, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}
