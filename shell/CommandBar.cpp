#include "shell/CommandBar.h"

// The handheld's shell makes a bar's window itself, as the platform's, and the wrapper only holds
// it: nothing here handles the bar's own messages, so they are not routed through the class
// layer, and the window needs no binding while it is made.
BOOL CCommandBar::CreateBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (pParentWnd == nullptr || pParentWnd->m_hWnd == nullptr || m_hWnd != nullptr) return FALSE;
    // Keep the window bits; the low word is the toolbar's own, so the handheld's alignment
    // bits are replaced by a flat text bar docked at the bottom of the host.
    const DWORD style = (dwStyle & 0xFFFF0000u) | CCS_BOTTOM | CCS_NODIVIDER | TBSTYLE_FLAT | TBSTYLE_LIST;
    HWND hBar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", style, 0, 0, 0, 0, pParentWnd->m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), AfxGetInstanceHandle(), nullptr);
    if (hBar == nullptr || !Attach(hBar)) return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CCommandBar::AddAdornments(DWORD) { return m_hWnd != nullptr; }

// Each style is set, and the bar raised, only where it is not so already: a page's bar is brought
// to the front each time the page is, and every change of a style or of the order costs the
// window a round of messages.
BOOL CCommandBar::SetForegroundWindow() {
    HWND hFirst = ::GetWindow(::GetParent(m_hWnd), GW_CHILD);
    for (HWND h = hFirst; h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        const LONG_PTR style = ::GetWindowLongPtrW(h, GWL_STYLE);
        if (h != m_hWnd && (style & WS_CLIPSIBLINGS) == 0) ::SetWindowLongPtrW(h, GWL_STYLE, style | WS_CLIPSIBLINGS);
    }
    if (hFirst == m_hWnd) return TRUE;
    return ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
