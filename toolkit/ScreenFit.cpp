#include "toolkit/ScreenFit.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/WinApp.h"
#include "shell/CommandBar.h"
#include "shell/MessageBox.h"
#include "shell/PropertySheetIds.h"

namespace {

// The largest handheld screen, either way.
constexpr int kLargestHandheld = 640;

// A control as the fitting sees it: where it lies in its parent's client area, kept up to date as
// the fitting moves it, and, for a label, box or button showing a text, that text, its font, the
// format it is drawn in and how far in from each side of the rectangle the text is drawn.
struct CFitControl {
    HWND m_hWnd = nullptr;
    RECT m_rc{}, m_rcFound{};
    bool m_bText = false;
    std::wstring m_strText;
    HFONT m_hFont = nullptr;
    UINT m_nFormat = 0;
    RECT m_rcInset{};
    SIZE m_sizeLack{};  // what its text lacks where it lies, once measured (Shortfall)
};

// The font measured in: selected only when the DC does not hold it already.
void UseFont(HDC hdc, HFONT hFont) {
    if (::GetCurrentObject(hdc, OBJ_FONT) != hFont) ::SelectObject(hdc, hFont);
}

// A control's text as the window holds it, read without a message to the control.
std::wstring StoredText(HWND h) {
    wchar_t text[512] = {};
    const int n = ::InternalGetWindowText(h, text, 512);
    return n < 511 ? std::wstring(text, static_cast<size_t>(n)) : WindowTextOf(h);
}

// A label's, box's or button's text and font, where it draws that text, as insets from its
// rectangle, and the format it is drawn in; FALSE for a control with no text to fit (pictures,
// frames, group boxes, others, or no text). The check box's digit is measured in hdc.
BOOL TextArea(HDC hdc, CFitControl& c) {
    wchar_t cls[16] = {};
    ::GetClassNameW(c.m_hWnd, cls, 16);
    const bool bStatic = ::lstrcmpiW(cls, L"Static") == 0;
    if (!bStatic && ::lstrcmpiW(cls, L"Button") != 0) return FALSE;
    c.m_strText = StoredText(c.m_hWnd);
    if (c.m_strText.empty()) return FALSE;
    c.m_hFont = reinterpret_cast<HFONT>(::SendMessageW(c.m_hWnd, WM_GETFONT, 0, 0));
    const LONG_PTR style = ::GetWindowLongPtrW(c.m_hWnd, GWL_STYLE);
    // The client area inside the window's rectangle, then the text's area inside that.
    RECT client{};
    ::GetClientRect(c.m_hWnd, &client);
    ::MapWindowPoints(c.m_hWnd, ::GetParent(c.m_hWnd), reinterpret_cast<POINT*>(&client), 2);
    RECT* pArea = &client;
    if (bStatic) {
        const LONG_PTR type = style & SS_TYPEMASK;
        if (type > SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP) return FALSE;
        c.m_nFormat = (type <= SS_RIGHT ? DT_WORDBREAK : DT_SINGLELINE) | (style & SS_NOPREFIX ? DT_NOPREFIX : 0);
    } else {
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            ::InflateRect(pArea, -2 * ::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
            break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE: {
            // The box, then half a digit's width before the text, as the button draws them.
            const int dpi = ::GetDeviceCaps(hdc, LOGPIXELSX);
            UseFont(hdc, c.m_hFont);
            INT digit = 0;
            ::GetCharWidth32W(hdc, L'0', L'0', &digit);
            pArea->left += 12 * dpi / 96 + 1 + digit / 2;
            break;
        }
        default:
            return FALSE;
        }
        c.m_nFormat = style & BS_MULTILINE ? DT_WORDBREAK : DT_SINGLELINE;
    }
    c.m_rcInset = RECT{client.left - c.m_rc.left, client.top - c.m_rc.top, c.m_rc.right - client.right,
                       c.m_rc.bottom - client.bottom};
    return TRUE;
}

// The controls a layout moves: the parent's children, less its command bar and any hidden
// helper without a size; each measured in hdc.
std::vector<CFitControl> LaidOutChildren(HWND hParent, HDC hdc) {
    std::vector<CFitControl> children;
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        const RECT rc = WindowRectInParent(h);
        if (::GetDlgCtrlID(h) == static_cast<int>(kCommandBarId) || ::IsRectEmpty(&rc)) continue;
        CFitControl& c = children.emplace_back();
        c.m_hWnd = h;
        c.m_rc = c.m_rcFound = rc;
        c.m_bText = TextArea(hdc, c);
    }
    return children;
}

// How much wider (a text on one line) or higher (a text that wraps) a label, box or button must
// be to show its whole text in its font, where it lies now; zero for a control that shows it
// whole or has none. With bOneLine, the width it lacks on one line.
SIZE Shortfall(HDC hdc, const CFitControl& c, bool bOneLine = false) {
    if (!c.m_bText) return SIZE{};
    UINT format = c.m_nFormat;
    if (bOneLine) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE;
    const RECT area{c.m_rc.left + c.m_rcInset.left, c.m_rc.top + c.m_rcInset.top, c.m_rc.right - c.m_rcInset.right,
                    c.m_rc.bottom - c.m_rcInset.bottom};
    UseFont(hdc, c.m_hFont);
    RECT need{0, 0, area.right - area.left, 0};
    ::DrawTextW(hdc, c.m_strText.c_str(), -1, &need, DT_CALCRECT | DT_EXPANDTABS | format);
    // A single line stands in the middle of its control, whatever its height.
    const LONG cyShort = format & DT_WORDBREAK ? need.bottom - (area.bottom - area.top) : 0;
    return SIZE{std::max<LONG>(0, need.right - (area.right - area.left)), std::max<LONG>(0, cyShort)};
}

// The DC every text is measured in: a memory DC like the screen's, made once and kept, since
// making or fetching a DC costs a trip to the window system each time. Each measuring leaves it
// holding the font it was made with, so that it never keeps a control's font selected.
class CMeasuringDC {
public:
    CMeasuringDC() : m_hDC(Shared()), m_hFontFound(m_hDC != nullptr ? ::GetCurrentObject(m_hDC, OBJ_FONT) : nullptr) {}
    ~CMeasuringDC() {
        if (m_hDC != nullptr) ::SelectObject(m_hDC, m_hFontFound);
    }
    CMeasuringDC(const CMeasuringDC&) = delete;
    CMeasuringDC& operator=(const CMeasuringDC&) = delete;
    const HDC m_hDC;

private:
    HGDIOBJ m_hFontFound;
    static HDC Shared() {
        static const HDC s_hdc = ::CreateCompatibleDC(nullptr);
        return s_hdc;
    }
};

// Moved without a word to the control beforehand (nothing here vetoes a move) and without
// drawing, keeping or erasing anything: the host lays out and paints after.
void MoveTo(HWND hWnd, const RECT& rc) {
    ::SetWindowPos(hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOSENDCHANGING | SWP_NOCOPYBITS | SWP_DEFERERASE);
}

// The fitting itself (FitTextsToWidth says what it does), over the controls as read: each moves
// in the list only.
void FitControls(HDC hdc, std::vector<CFitControl>& children, int cxFrom, int cxTo) {
    // The highest top among the controls that start below c's top but above its bottom, beside
    // it, where one of the two shows a text: c covers them. Its bottom when it covers none.
    const auto coveredFrom = [&children](const CFitControl& c) {
        LONG top = c.m_rc.bottom;
        for (const CFitControl& other : children) {
            const RECT& o = other.m_rc;
            if (&other != &c && o.top > c.m_rc.top && o.top < top && o.left < c.m_rc.right && o.right > c.m_rc.left &&
                (c.m_bText || other.m_bText))
                top = o.top;
        }
        return top;
    };
    // Moves every control but c whose top is at or below y down by dy.
    const auto moveDown = [&children](const CFitControl& c, LONG y, LONG dy) {
        for (CFitControl& below : children)
            if (&below != &c && below.m_rc.top >= y) ::OffsetRect(&below.m_rc, 0, dy);
    };

    LONG cxOld = cxFrom;
    for (const CFitControl& c : children) cxOld = std::max(cxOld, c.m_rc.right);
    const bool bStartsPast =
        std::any_of(children.begin(), children.end(), [cxTo](const CFitControl& c) { return c.m_rc.left >= cxTo; });
    if (cxOld > 0 && (cxTo > cxOld || bStartsPast)) {
        for (CFitControl& c : children) {
            c.m_rc.left = ::MulDiv(c.m_rc.left, cxTo, cxOld);
            c.m_rc.right = ::MulDiv(c.m_rc.right, cxTo, cxOld);
        }
    } else {
        for (CFitControl& c : children)
            if (c.m_rc.right > cxTo && c.m_rc.left >= 0) c.m_rc.right = cxTo;
    }
    for (CFitControl& c : children)
        if (c.m_rc.right - c.m_rc.left != c.m_rcFound.right - c.m_rcFound.left) c.m_sizeLack = Shortfall(hdc, c);
    int nMargin = cxTo;
    for (const CFitControl& c : children) nMargin = std::min<int>(nMargin, c.m_rc.left);
    std::sort(children.begin(), children.end(),
              [](const CFitControl& a, const CFitControl& b) { return a.m_rc.top < b.m_rc.top; });
    for (CFitControl& c : children) {
        if (const LONG dx = c.m_sizeLack.cx > 0   ? c.m_sizeLack.cx
                            : c.m_sizeLack.cy > 0 ? Shortfall(hdc, c, true).cx
                                                  : 0) {
            LONG right = cxTo - nMargin;
            CFitControl* pBeside = nullptr;
            for (CFitControl& beside : children) {
                const RECT& rc = beside.m_rc;
                if (rc.left >= c.m_rc.right && rc.left < right && rc.top < c.m_rc.bottom && rc.bottom > c.m_rc.top) {
                    right = rc.left;
                    pBeside = &beside;
                }
            }
            if (pBeside != nullptr && !pBeside->m_bText) {
                const LONG give = std::min((pBeside->m_rc.right - pBeside->m_rc.left) / 4, c.m_rc.right + dx - right);
                if (give > 0) {
                    pBeside->m_rc.left += give;
                    right += give;
                }
            }
            const LONG widened = std::max(c.m_rc.right, std::min(c.m_rc.right + dx, right));
            if (widened != c.m_rc.right) {
                c.m_rc.right = widened;
                c.m_sizeLack = Shortfall(hdc, c);  // at the width it now has
            }
        }
        if (const LONG dy = c.m_sizeLack.cy) {
            moveDown(c, c.m_rc.bottom, dy);
            c.m_rc.bottom += dy;
        }
        const LONG top = coveredFrom(c);
        moveDown(c, top, c.m_rc.bottom - top);
    }
}

// Texts shown whole at a new width. The templates were drawn in the handheld's Tahoma; the
// desktop's measures some of their texts wider than their rectangles, and a fitted window can be
// narrower than its template. When a text falls short in a window grown wider, or a control starts
// past cxTo, every control keeps its share of the width it had (cxFrom, or more where a control
// reaches past it), now of cxTo. Otherwise the controls keep their places, and one that reaches
// past cxTo ends there: closing every control up would move them all by a pixel or two and take
// room from the texts, and a host lays out again what it anchors. Then, from the top down: a text
// still too long takes the free width to its right (as much as one line of it needs), up to the
// margin or the nearest control beside it, which gives up to a quarter of its width when it shows
// no text (a slider); one that then needs more lines grows downward, moving what lies below it
// down as far; and what the control then covers moves down below it, with everything further
// down. Nothing moves when all fits. A control that starts left of the client area bleeds past
// both edges on purpose (the picker's tree hides its side borders so) and does not count as
// reaching past. The controls are read once and each text measured once where it lies (again only
// where its width changed), in one DC; those that moved are moved once, at the end. TRUE when
// something moved.
bool FitTextsToWidth(HWND hParent, int cxFrom, int cxTo) {
    std::vector<CFitControl> children;
    bool bAllFit = true;
    {
        const CMeasuringDC dc;
        if (dc.m_hDC == nullptr) return false;
        children = LaidOutChildren(hParent, dc.m_hDC);
        for (CFitControl& c : children) c.m_sizeLack = Shortfall(dc.m_hDC, c);
        const auto fits = [&](const CFitControl& c) {
            return c.m_sizeLack.cx == 0 && c.m_sizeLack.cy == 0 && (c.m_rc.right <= cxTo || c.m_rc.left < 0);
        };
        bAllFit = std::all_of(children.begin(), children.end(), fits);
        if (!bAllFit) FitControls(dc.m_hDC, children, cxFrom, cxTo);
    }
    bool bMoved = false;
    for (const CFitControl& c : children) {
        if (::EqualRect(&c.m_rc, &c.m_rcFound)) continue;
        MoveTo(c.m_hWnd, c.m_rc);
        bMoved = true;
    }
    return bMoved;
}

int ClientWidth(HWND hWnd) {
    RECT client{};
    ::GetClientRect(hWnd, &client);
    return client.right;
}

// Read once, as the layouts' scale is (GetScreenScale): turning the screen keeps it a handheld's,
// and asking the system for the screen's size costs a round trip to its display settings.
bool IsHandheldScreen() {
    static const bool s_bHandheld =
        ::GetSystemMetrics(SM_CXSCREEN) <= kLargestHandheld && ::GetSystemMetrics(SM_CYSCREEN) <= kLargestHandheld;
    return s_bHandheld;
}

// A message box laid out again across the work area: Wine sizes a box for the desktop, so on a
// handheld-sized screen its sides are off the screen. The text keeps its place, takes the margin
// left of the icon (or of itself) on its right too and as many lines as it needs; the row of
// buttons keeps its sizes and gaps, centred at the old distance below the text (or the icon, if
// lower).
void FitMessageBox(HWND hBox, HWND hText) {
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
        if (::lstrcmpiW(cls, L"Button") == 0) {
            buttons.push_back(h);
            ::UnionRect(&row, &row, &rc);
        } else if (h != hText) {
            above.bottom = std::max(above.bottom, rc.bottom);
            margin = std::min<int>(margin, rc.left);
        }
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

thread_local HHOOK t_hMessageBoxHook = nullptr;

// Catches the box once it has laid itself out, before it shows.
LRESULT CALLBACK MessageBoxHook(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* pMessage = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    try {
        if (nCode == HC_ACTION && pMessage->message == WM_INITDIALOG) {
            if (HWND hText = MessageTextOf(pMessage->hwnd)) FitMessageBox(pMessage->hwnd, hText);
        }
    } catch (...) {
        AfxEndAfterException();
    }
    return ::CallNextHookEx(t_hMessageBoxHook, nCode, wParam, lParam);
}

}  // namespace

// Wine's sheet keeps its template size and its row of OK, Cancel and Apply buttons, wider than a
// handheld's screen: the buttons go flush with the bottom right corner, the tabs above them.
void FitSheetToWorkArea(HWND hSheet) {
    RECT work{}, rcSheet{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(hSheet, &rcSheet);
    const int workW = work.right - work.left, workH = work.bottom - work.top;
    if (rcSheet.right - rcSheet.left <= workW && rcSheet.bottom - rcSheet.top <= workH) return;

    ::SetWindowPos(hSheet, nullptr, work.left, work.top, std::min<int>(workW, rcSheet.right - rcSheet.left),
                   std::min<int>(workH, rcSheet.bottom - rcSheet.top), SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    ::GetClientRect(hSheet, &client);

    // The buttons keep their size and their gaps.
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

    HWND hTab = ::GetDlgItem(hSheet, kSheetTabControlId);
    if (hTab == nullptr) return;
    ::MoveWindow(hTab, 0, 0, client.right, buttonTop - 2, TRUE);
    // The pages fill the tabs' display area: the sheet puts those it makes later there itself,
    // those made so far are moved (and fit themselves to their new width).
    RECT area{};
    ::GetClientRect(hTab, &area);
    ::SendMessageW(hTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    ::MapWindowPoints(hTab, hSheet, reinterpret_cast<POINT*>(&area), 2);
    for (HWND h = ::GetWindow(hSheet, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        ::GetClassNameW(h, cls, 16);
        if (::lstrcmpW(cls, L"#32770") == 0) ::MoveWindow(h, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    }
}

void CScreenFit::AfterMessage(HWND hHost, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG && ::IsWindow(hHost)) {
        const int cxTemplate = m_cxLaidOut = ClientWidth(hHost);
        // A page is sized by its sheet before it shows: its texts are fitted once, to the width
        // it shows at (below). A dialog takes the screen first; a new width has fitted its texts
        // as it came.
        m_bFitPending = true;
        if (m_eHost == Host::kPage) return;
        FillWorkArea(hHost);
        if (m_bFitPending) FitTexts(hHost, cxTemplate);
    } else if (message == WM_SIZE && wParam != SIZE_MINIMIZED && m_cxLaidOut >= 0 && LOWORD(lParam) != m_cxLaidOut) {
        FitTexts(hHost, LOWORD(lParam));
    } else if (message == WM_SHOWWINDOW && wParam && m_bFitPending) {
        FitTexts(hHost, ClientWidth(hHost));
    }
}

// Laid out by the host for the width (or at initialisation, as its template has it); what that
// left short is fitted, and the host lays itself out again over what moved.
void CScreenFit::FitTexts(HWND hHost, int cx) {
    const int cxFrom = m_cxLaidOut;
    m_cxLaidOut = cx;
    m_bFitPending = false;
    if (!FitTextsToWidth(hHost, cxFrom, cx)) return;
    RECT client{};
    ::GetClientRect(hHost, &client);
    ::SendMessageW(hHost, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

// Wine keeps a dialog at its template size; the handheld's shell shows it over its whole screen.
// On a screen no larger than a handheld's the dialog fills the work area and gets a WM_SIZE for
// it, so that its anchored layout replaces the placement it made while it initialised. On a
// larger desktop it keeps its size and its own placement (the layouts scale by 2 there, which
// suits only a full-screen dialog) and is only moved inside the work area.
void CScreenFit::FillWorkArea(HWND hDlg) {
    RECT work{}, rc{}, client{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(hDlg, &rc);
    const bool bHandheld = IsHandheldScreen();
    const int workW = work.right - work.left, workH = work.bottom - work.top;
    const int w = bHandheld ? workW : std::min<int>(rc.right - rc.left, workW);
    const int h = bHandheld ? workH : std::min<int>(rc.bottom - rc.top, workH);
    const int x = std::clamp<int>(rc.left, work.left, work.right - w);
    const int y = std::clamp<int>(rc.top, work.top, work.bottom - h);
    ::SetWindowPos(hDlg, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!bHandheld || (w != rc.right - rc.left || h != rc.bottom - rc.top)) return;
    // Already of the screen's size: the shell's sizing would still have laid it out.
    ::GetClientRect(hDlg, &client);
    ::SendMessageW(hDlg, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

int MessageBoxOnScreen(HWND hOwner, const wchar_t* pszText, const wchar_t* pszCaption, UINT nType) {
    t_hMessageBoxHook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &MessageBoxHook, nullptr, ::GetCurrentThreadId());
    const int nResult = ::MessageBoxW(hOwner, pszText, pszCaption, nType);
    if (t_hMessageBoxHook != nullptr) ::UnhookWindowsHookEx(t_hMessageBoxHook);
    t_hMessageBoxHook = nullptr;
    return nResult;
}
