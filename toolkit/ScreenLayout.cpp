#include "toolkit/ScreenLayout.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Wnd.h"
#include "shell/CommandBar.h"
#include "shell/PropertySheetIds.h"

namespace {
// 0 until the first GetScreenScale.
int g_nScreenScale = 0;

// Where a label, box or button draws its text, in its client coordinates (when asked for), and
// the format it is drawn in; FALSE for a control with no text to fit (pictures, frames, group
// boxes, others).
BOOL TextArea(HWND hCtl, RECT* pArea, UINT* pFormat) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hCtl, cls, 16);
    const LONG_PTR style = ::GetWindowLongPtrW(hCtl, GWL_STYLE);
    if (pArea != nullptr) ::GetClientRect(hCtl, pArea);
    if (::lstrcmpiW(cls, L"Static") == 0) {
        const LONG_PTR type = style & SS_TYPEMASK;
        if (type > SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP) return FALSE;
        *pFormat = (type <= SS_RIGHT ? DT_WORDBREAK : DT_SINGLELINE) | (style & SS_NOPREFIX ? DT_NOPREFIX : 0);
        return TRUE;
    }
    if (::lstrcmpiW(cls, L"Button") != 0) return FALSE;
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        if (pArea != nullptr) ::InflateRect(pArea, -2 * ::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
        break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE: {
        if (pArea == nullptr) break;
        // The box, then half a digit's width before the text, as the button draws them.
        HDC hdc = ::GetDC(hCtl);
        const int dpi = ::GetDeviceCaps(hdc, LOGPIXELSX);
        ::SelectObject(hdc, reinterpret_cast<HFONT>(::SendMessageW(hCtl, WM_GETFONT, 0, 0)));
        INT digit = 0;
        ::GetCharWidth32W(hdc, L'0', L'0', &digit);
        ::ReleaseDC(hCtl, hdc);
        pArea->left += 12 * dpi / 96 + 1 + digit / 2;
        break;
    }
    default:
        return FALSE;
    }
    *pFormat = style & BS_MULTILINE ? DT_WORDBREAK : DT_SINGLELINE;
    return TRUE;
}

// What a control's text lacks, as TextShortfall; with bOneLine, the width it lacks on one line.
SIZE Shortfall(HWND hCtl, bool bOneLine) {
    RECT area{};
    UINT format = 0;
    const std::wstring text = WindowTextOf(hCtl);
    if (text.empty() || !TextArea(hCtl, &area, &format)) return SIZE{};
    if (bOneLine) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE;
    const SIZE need = TextSizeIn(hCtl, text, area.right - area.left, DT_EXPANDTABS | format);
    // A single line stands in the middle of its control, whatever its height.
    const LONG cyShort = format & DT_WORDBREAK ? need.cy - (area.bottom - area.top) : 0;
    return SIZE{std::max<LONG>(0, need.cx - (area.right - area.left)), std::max<LONG>(0, cyShort)};
}

// The controls a layout moves: the parent's children, less its command bar and any hidden
// helper without a size.
std::vector<HWND> LaidOutChildren(HWND hParent) {
    std::vector<HWND> children;
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        const RECT rc = WindowRectInParent(h);
        if (::GetDlgCtrlID(h) != static_cast<int>(kCommandBarId) && !::IsRectEmpty(&rc)) children.push_back(h);
    }
    return children;
}

void MoveTo(HWND hWnd, const RECT& rc) {
    ::MoveWindow(hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
}
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
        // The handheld's command bar lies below its window; the desktop's takes the bottom of it.
        RECT rcClient{};
        ::GetClientRect(hParent, &rcClient);
        if (HWND hBar = ::GetDlgItem(hParent, kCommandBarId)) {
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

SIZE TextShortfall(HWND hCtl) { return Shortfall(hCtl, false); }

bool ShowsText(HWND hCtl) {
    UINT format = 0;
    return ::GetWindowTextLengthW(hCtl) > 0 && TextArea(hCtl, nullptr, &format);
}

void FitTextsToWidth(HWND hParent, int cxClient) {
    std::vector<HWND> children = LaidOutChildren(hParent);
    // The highest top among the controls that start below h's top but above its bottom, beside
    // it, where one of the two shows a text: h covers them. rc.bottom when it covers none.
    const auto coveredFrom = [&children](HWND h, const RECT& rc) {
        LONG top = rc.bottom;
        for (HWND other : children) {
            const RECT o = WindowRectInParent(other);
            if (other != h && o.top > rc.top && o.top < top && o.left < rc.right && o.right > rc.left &&
                (ShowsText(h) || ShowsText(other)))
                top = o.top;
        }
        return top;
    };
    const auto fits = [&](HWND h) {
        const SIZE s = TextShortfall(h);
        const RECT rc = WindowRectInParent(h);
        return s.cx == 0 && s.cy == 0 && rc.right <= cxClient;
    };
    if (std::all_of(children.begin(), children.end(), fits)) return;
    // Moves every control but h whose top is at or below y down by dy.
    const auto moveDown = [&children](HWND h, LONG y, LONG dy) {
        for (HWND below : children) {
            RECT rc = WindowRectInParent(below);
            if (below != h && rc.top >= y) ::OffsetRect(&rc, 0, dy), MoveTo(below, rc);
        }
    };

    // Every control keeps its share of the width it had (the parent's, or more where a control
    // reaches past it), now of the new width.
    RECT client{};
    ::GetClientRect(hParent, &client);
    LONG cxOld = client.right;
    for (HWND h : children) cxOld = std::max(cxOld, WindowRectInParent(h).right);
    if (cxClient != cxOld && cxOld > 0) {
        for (HWND h : children) {
            RECT rc = WindowRectInParent(h);
            rc.left = ::MulDiv(rc.left, cxClient, cxOld);
            rc.right = ::MulDiv(rc.right, cxClient, cxOld);
            MoveTo(h, rc);
        }
    }
    // From the top down: a text still too long takes the free width to its right (as much as
    // one line of it needs), up to the parent's margin or the nearest control beside it, which
    // gives up to a quarter of its width when it shows no text (a slider); one that then needs
    // more lines grows downward, moving what lies below it down as far; and what the control
    // then covers moves down below it, with everything further down.
    int nMargin = cxClient;
    for (HWND h : children) nMargin = std::min<int>(nMargin, WindowRectInParent(h).left);
    std::sort(children.begin(), children.end(),
              [](HWND a, HWND b) { return WindowRectInParent(a).top < WindowRectInParent(b).top; });
    for (HWND h : children) {
        RECT grown = WindowRectInParent(h);
        const SIZE lack = TextShortfall(h);
        if (const LONG dx = lack.cx > 0 ? lack.cx : lack.cy > 0 ? Shortfall(h, true).cx : 0) {
            LONG right = cxClient - nMargin;
            HWND hBeside = nullptr;
            for (HWND beside : children) {
                const RECT rc = WindowRectInParent(beside);
                if (rc.left >= grown.right && rc.left < right && rc.top < grown.bottom && rc.bottom > grown.top)
                    right = rc.left, hBeside = beside;
            }
            if (hBeside != nullptr && !ShowsText(hBeside)) {
                RECT rc = WindowRectInParent(hBeside);
                const LONG give = std::min((rc.right - rc.left) / 4, grown.right + dx - right);
                if (give > 0) rc.left += give, right += give, MoveTo(hBeside, rc);
            }
            grown.right = std::max(grown.right, std::min(grown.right + dx, right));
            MoveTo(h, grown);
        }
        if (const LONG dy = TextShortfall(h).cy) {
            moveDown(h, grown.bottom, dy);
            grown.bottom += dy;
            MoveTo(h, grown);
        }
        const LONG top = coveredFrom(h, grown);
        moveDown(h, top, grown.bottom - top);
    }
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
    RECT client{};
    ::GetClientRect(hDlg, &client);
    FitTextsToWidth(hDlg, w - (rc.right - rc.left - client.right));
    const int x = std::clamp<int>(rc.left, work.left, work.right - w);
    const int y = std::clamp<int>(rc.top, work.top, work.bottom - h);
    ::SetWindowPos(hDlg, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!bHandheld || (w != rc.right - rc.left || h != rc.bottom - rc.top)) return;
    // Already of the screen's size: the shell's sizing would still have laid it out.
    ::GetClientRect(hDlg, &client);
    ::SendMessageW(hDlg, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}
