#include "framework/Wnd.h"

#include <unordered_map>
#include <vector>

#include "framework/WinApp.h"

namespace {

// HWND -> bound object. Only the UI thread touches it.
std::unordered_map<HWND, CWnd*>& PermanentMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The message being handled now, for Default(); saved and restored around nested sends.
MSG g_currentMsg{};

// The windows whose modal loops run now, the innermost last.
std::vector<HWND> g_modalWindows;

// The object waiting for its window, and the hook that binds it.
CWnd* g_pWndInit = nullptr;
HHOOK g_hCreateHook = nullptr;

LRESULT CALLBACK CreateHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_CREATEWND && g_pWndInit != nullptr) {
        // The first window created after arming is the object's own; its controls follow.
        CWnd* pWnd = g_pWndInit;
        g_pWndInit = nullptr;
        HHOOK hHook = g_hCreateHook;
        g_hCreateHook = nullptr;
        // A later hook may refuse the window: bind only one that is really made.
        LRESULT result = ::CallNextHookEx(hHook, nCode, wParam, lParam);
        try {
            if (result == 0) pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
        } catch (...) {
            AfxEndAfterException();
        }
        ::UnhookWindowsHookEx(hHook);  // one window per arming
        return result;
    }
    return ::CallNextHookEx(g_hCreateHook, nCode, wParam, lParam);
}

}  // namespace

IMPLEMENT_DYNAMIC(CWnd, CObject)

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

CWnd::~CWnd() {
    if (m_hWnd != nullptr) {
        // The object goes first: keep the window working on its old procedure.
        if (m_pfnSuper != nullptr) UnsubclassWindow();
        else Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr) return nullptr;
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd) != nullptr) return FALSE;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) PermanentMap().erase(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd != nullptr && m_pfnSuper != nullptr &&
        ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AfxWndProc))
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *pResult = 0;
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY) {
        const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
        if (pHdr == nullptr) return FALSE;
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result)) {
            *pResult = result;
            return TRUE;
        }
        return FALSE;
    }
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), message, 0, 0);
    if (e == nullptr) return FALSE;
    e->pfn(this, wParam, lParam, pResult);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), WM_COMMAND, HIWORD(wParam), LOWORD(wParam));
    if (e == nullptr) return FALSE;
    LRESULT ignored = 0;
    e->pfn(this, wParam, lParam, &ignored);
    return TRUE;
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    const AFX_MSGMAP_ENTRY* e =
        FindMessageEntry(GetMessageMap(), WM_NOTIFY, pHdr->code, static_cast<UINT>(pHdr->idFrom));
    if (e == nullptr) return FALSE;
    e->pfn(this, wParam, lParam, pResult);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(g_currentMsg.message, g_currentMsg.wParam, g_currentMsg.lParam); }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

int CWnd::RunModalLoop() {
    m_bContinueModal = true;
    g_modalWindows.push_back(m_hWnd);
    MSG msg;
    while (ContinueModal()) {
        if (!::GetMessageW(&msg, nullptr, 0, 0)) {
            // Leave the quit message for whoever runs the next loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        // Give the windows from the target up to this one a chance to translate the message.
        bool bTranslated = false;
        for (HWND h = msg.hwnd; h != nullptr && !bTranslated; h = ::GetParent(h)) {
            CWnd* pWnd = FromHandlePermanent(h);
            if (pWnd != nullptr && pWnd->PreTranslateMessage(&msg)) bTranslated = true;
            if (h == m_hWnd) break;
        }
        if (!bTranslated) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_bContinueModal = false;
    g_modalWindows.pop_back();
    return m_nModalResult;
}

HWND AfxGetModalWnd() {
    for (auto it = g_modalWindows.rbegin(); it != g_modalWindows.rend(); ++it)
        if (::IsWindow(*it)) return *it;
    return nullptr;
}

BOOL CWnd::ContinueModal() { return m_bContinueModal; }

void CWnd::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (m_bContinueModal) {
        m_bContinueModal = false;
        PostMessage(WM_NULL);  // wake the loop if it is waiting
    }
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR pszClassName, LPCWSTR pszWindowName, DWORD dwStyle, const RECT& rc,
                    CWnd* pParentWnd, UINT nID) {
    if (m_hWnd != nullptr) return FALSE;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(dwExStyle, pszClassName, pszWindowName, dwStyle, rc.left, rc.top,
                                  rc.right - rc.left, rc.bottom - rc.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), AfxGetInstanceHandle(), nullptr);
    AfxUnhookWindowCreate();
    // Without the hook (it could not be set) the window is bound now, its first messages missed.
    if (hWnd != nullptr && m_hWnd == nullptr) SubclassWindow(hWnd);
    return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::GetParent() const { return FromHandlePermanent(::GetParent(m_hWnd)); }

void CWnd::MoveWindow(const RECT& rc, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, bRepaint);
}

RECT WindowRectInParent(HWND hWnd) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hWnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::wstring WindowTextOf(HWND hWnd) {
    int n = ::GetWindowTextLengthW(hWnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = ::GetWindowTextW(hWnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(n < 0 ? 0 : n));
    return text;
}

SIZE TextSizeIn(HWND hWnd, const std::wstring& text, int cx, UINT nFormat) {
    HDC hdc = ::GetDC(hWnd);
    ::SelectObject(hdc, reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)));
    RECT need{0, 0, cx, 0};
    ::DrawTextW(hdc, text.c_str(), -1, &need, DT_CALCRECT | nFormat);
    ::ReleaseDC(hWnd, hdc);
    return SIZE{need.right, need.bottom};
}

void AfxHookWindowCreate(CWnd* pWnd) {
    if (g_hCreateHook == nullptr)
        g_hCreateHook = ::SetWindowsHookExW(WH_CBT, &CreateHookProc, nullptr, ::GetCurrentThreadId());
    g_pWndInit = pWnd;
}

void AfxUnhookWindowCreate() {
    if (g_hCreateHook != nullptr) {
        ::UnhookWindowsHookEx(g_hCreateHook);
        g_hCreateHook = nullptr;
    }
    g_pWndInit = nullptr;
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG saved = g_currentMsg;
    g_currentMsg = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's window procedure callers.
        result = 0;
        AfxEndAfterException();
    }
    if (message == WM_NCDESTROY && pWnd->m_hWnd == hWnd) {
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pMainWnd == pWnd) pApp->m_pMainWnd = nullptr;
        pWnd->UnsubclassWindow();
        pWnd->PostNcDestroy();
    }
    g_currentMsg = saved;
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr) return ::DefWindowProcW(hWnd, message, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}
