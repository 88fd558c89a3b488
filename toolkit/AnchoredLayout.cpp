#include "toolkit/AnchoredLayout.h"

#include "framework/Wnd.h"
#include "shell/CommandBar.h"

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
        // The handheld's command bar lies below its window; a desktop toolbar takes the bottom
        // of its parent's client area, which then ends at the bar's top (asked for only where
        // the bottom counts: finding the bar is a trip to the window system).
        HWND hBar = (nFlags & ANCHOR_BOTTOM) ? ::GetDlgItem(hParent, kCommandBarId) : nullptr;
        if (hBar != nullptr) {
            RECT rcBar{};
            ::GetWindowRect(hBar, &rcBar);
            rcClient.bottom -= rcBar.bottom - rcBar.top;
        }
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
