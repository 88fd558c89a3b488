#include "shell/CommandBar.h"

BOOL CCommandBar::CreateBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    // Keep the window bits; the low word is the toolbar's own, so the handheld's alignment
    // bits are replaced by a flat text bar docked at the bottom of the host.
    DWORD style = (dwStyle & 0xFFFF0000u) | CCS_BOTTOM | CCS_NODIVIDER | TBSTYLE_FLAT | TBSTYLE_LIST;
    return Create(style, pParentWnd, nID);
}

BOOL CCommandBar::AddAdornments(DWORD) { return m_hWnd != nullptr; }

BOOL CCommandBar::SetForegroundWindow() {
    for (HWND h = ::GetWindow(::GetParent(m_hWnd), GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
        if (h != m_hWnd) ::SetWindowLongPtrW(h, GWL_STYLE, ::GetWindowLongPtrW(h, GWL_STYLE) | WS_CLIPSIBLINGS);
    return ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
