#include "toolkit/DialogAdapter.h"

#include <cstdlib>

#include "framework/WinApp.h"
#include "shell/ShellControls.h"
#include "shell/SysColor.h"
#include "toolkit/ToolkitFonts.h"

namespace {

// The shell's notice that the screen was reset, as after a rotation.
constexpr WPARAM kSettingChangeReset = 0x3002;

constexpr COLORREF kTitleColor = RGB(0, 0, 156);
// Hangs the rule below its row, whatever the pen's width.
constexpr UINT kRuleAlign = ALIGN_STEEP_RIGHT | ALIGN_FLAT_DOWN;

HWND HostWindow(const CWnd* pHost) { return pHost != nullptr ? pHost->m_hWnd : nullptr; }

void CreateSipPref(HWND hHost) {
    HINSTANCE hInstance = AfxGetInstanceHandle();
    WNDCLASSW wc{};
    if (!::GetClassInfoW(hInstance, kSipPrefClass, &wc)) SHInitExtraControls();
    ::CreateWindowExW(0, kSipPrefClass, L"", WS_CHILD, 0, 0, 0, 0, hHost, nullptr, hInstance, nullptr);
}

}  // namespace

BOOL CDialogAdapter::BeforeMessage(CWnd* pHost, UINT message, WPARAM wParam, LPARAM) {
    HWND hHost = HostWindow(pHost);
    if (!m_strTitle.empty() && hHost != nullptr) {
        if (message == WM_VSCROLL) {
            if (LOWORD(wParam) == SB_THUMBTRACK) {
                SCROLLINFO si{};
                si.cbSize = sizeof(si);
                si.fMask = SIF_TRACKPOS;
                if (::GetScrollInfo(hHost, SB_VERT, &si)) m_nScrollOffset = -si.nTrackPos;
            } else {
                m_nScrollOffset = -::GetScrollPos(hHost, SB_VERT);
            }
            ::InvalidateRect(hHost, nullptr, TRUE);
        } else if (message == WM_PAINT) {
            PaintHeader(hHost);
        }
    }
    if (m_bSetFonts && message == WM_INITDIALOG && hHost != nullptr) ApplyToolkitFonts(hHost);
    if (m_bSwallowTaps && message == WM_LBUTTONDOWN) return TRUE;
    return FALSE;
}

void CDialogAdapter::PaintHeader(HWND hHost) {
    HDC hdc = ::BeginPaint(hHost, &m_ps);
    if (hdc == nullptr) return;
    int nSaved = ::SaveDC(hdc);

    RECT rcClient{};
    ::GetClientRect(hHost, &rcClient);
    ::SetBkColor(hdc, ::GetSysColor(kSysColorFlag | COLOR_WINDOW));
    ::ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &rcClient, nullptr, 0, nullptr);

    HFONT hFont = GetHeaderFont();
    if (hFont != nullptr) ::SelectObject(hdc, hFont);
    ::SetTextColor(hdc, kTitleColor);
    ::SetBkMode(hdc, TRANSPARENT);
    const int nBandHeight = ScaleY(24);
    RECT rcTitle{ScaleX(8), m_nScrollOffset, m_nHeaderWidth, m_nScrollOffset + nBandHeight};
    ::DrawTextW(hdc, m_strTitle.c_str(), static_cast<int>(m_strTitle.size()), &rcTitle, DT_SINGLELINE | DT_VCENTER);

    const int nPenWidth = ScaleY(1);
    HPEN hPen = ::CreatePen(PS_SOLID, nPenWidth, RGB(0, 0, 0));
    if (hPen != nullptr) {
        ::SelectObject(hdc, hPen);
        const int y = m_nScrollOffset + nBandHeight;
        const POINT rule[2] = {{ScaleX(0), y}, {ScaleX(m_nHeaderWidth), y}};
        DrawAlignedPolyline(hdc, rule, 2, kRuleAlign, nPenWidth);
    }
    // Puts the DC's own font and pen back before the pen goes.
    ::RestoreDC(hdc, nSaved);
    if (hPen != nullptr) ::DeleteObject(hPen);
    // EndPaint waits for AfterMessage: the host paints in between.
}

void CDialogAdapter::AfterMessage(CWnd* pHost, UINT message, WPARAM wParam) {
    HWND hHost = HostWindow(pHost);
    if (hHost == nullptr) return;

    if (message == WM_INITDIALOG) {
        if (m_bSipPref && ::GetSystemMetrics(SM_CXSCREEN) != ::GetSystemMetrics(SM_CYSCREEN)) CreateSipPref(hHost);
        if (m_bEnableMainWindow && AfxGetMainWnd() != nullptr) ::EnableWindow(AfxGetMainWnd(), TRUE);
    } else if (message == WM_SIZE) {
        RECT rc{};
        ::GetClientRect(hHost, &rc);
        m_nHeaderWidth = rc.right - rc.left;
    } else if (message == WM_PAINT) {
        // Ends exactly the paint BeforeMessage began, whatever happened to the title meanwhile.
        if (m_ps.hdc != nullptr) {
            ::EndPaint(hHost, &m_ps);
            m_ps = PAINTSTRUCT{};
        }
    } else if (message == WM_SETTINGCHANGE && wParam == kSettingChangeReset) {
        m_nScrollOffset = 0;
    }
}

void CDialogAdapter::SetTitle(CWnd* pHost, const std::wstring& title) {
    m_strTitle = title;
    HWND hHost = HostWindow(pHost);
    if (hHost == nullptr || !::IsWindow(hHost)) return;
    // Before the first WM_SIZE the width is -1: an empty rectangle, nothing to repaint.
    RECT rcBand{0, 0, m_nHeaderWidth, 25};
    ::InvalidateRect(hHost, &rcBand, TRUE);
}

BOOL DrawAlignedPolyline(HDC hdc, const POINT* pPoints, int nCount, UINT nFlags, int nPenWidth) {
    if ((nFlags & (ALIGN_STEEP_RIGHT | ALIGN_STEEP_LEFT | ALIGN_FLAT_DOWN | ALIGN_FLAT_UP)) == 0)
        return ::Polyline(hdc, pPoints, nCount);

    int hx = 0;
    if (nFlags & ALIGN_STEEP_RIGHT) hx = nPenWidth / 2;
    else if (nFlags & ALIGN_STEEP_LEFT) hx = -((nPenWidth - 1) / 2);
    int vy = 0;
    if (nFlags & ALIGN_FLAT_DOWN) vy = nPenWidth / 2;
    else if (nFlags & ALIGN_FLAT_UP) vy = -((nPenWidth - 1) / 2);

    for (int k = 1; k < nCount; ++k) {
        POINT segment[2] = {pPoints[k - 1], pPoints[k]};
        bool bSteep = std::abs(segment[1].x - segment[0].x) <= std::abs(segment[1].y - segment[0].y);
        for (POINT& pt : segment) {
            if (bSteep) pt.x += hx;
            else pt.y += vy;
        }
        if (!::Polyline(hdc, segment, 2)) return FALSE;
    }
    return TRUE;
}
