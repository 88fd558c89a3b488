#include "toolkit/ControlHook.h"

#include <new>
#include <unordered_map>

#include "framework/Wnd.h"

namespace {

using CHookedProcMap = std::unordered_map<HWND, WNDPROC>;

// Hooked window -> its procedure before the hook. Looked up on every message of every hooked
// control, hence a hash map. Made on first use and freed at exit.
CHookedProcMap* g_mapHookedProcs = nullptr;

struct CHookedProcMapOwner {
    ~CHookedProcMapOwner() {
        delete g_mapHookedProcs;
        g_mapHookedProcs = nullptr;
    }
} g_hookedProcMapOwner;

WNDPROC FindSavedProc(HWND hWnd) {
    if (g_mapHookedProcs == nullptr) return nullptr;
    auto it = g_mapHookedProcs->find(hWnd);
    return it == g_mapHookedProcs->end() ? nullptr : it->second;
}

LONG_PTR HookProcValue() { return reinterpret_cast<LONG_PTR>(&ControlHookProc); }

}  // namespace

BOOL HookControl(CWnd* pControl) {
    if (pControl == nullptr || !::IsWindow(pControl->m_hWnd)) return FALSE;
    HWND hWnd = pControl->m_hWnd;
    if (g_mapHookedProcs == nullptr) g_mapHookedProcs = new (std::nothrow) CHookedProcMap;
    if (g_mapHookedProcs == nullptr || g_mapHookedProcs->count(hWnd) != 0) return FALSE;
    try {
        (*g_mapHookedProcs)[hWnd] = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
    } catch (...) {
        return FALSE;
    }
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, HookProcValue());
    return TRUE;
}

void HookControls(std::initializer_list<CWnd*> controls) {
    for (CWnd* pControl : controls) HookControl(pControl);
}


LRESULT CALLBACK ControlHookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC pfnSaved = FindSavedProc(hWnd);

    if (message == WM_LBUTTONDOWN) {
        // The wrapper's pre-subclass procedure is the control's class procedure: the pen-down
        // reaches the control without passing the framework's routing.
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->GetSuperWndProc() != nullptr)
            return ::CallWindowProcW(pWnd->GetSuperWndProc(), hWnd, message, wParam, lParam);
    } else if (pfnSaved != nullptr && (message == WM_DESTROY || message == WM_NCDESTROY)) {
        // Unhook at WM_DESTROY, so the rest of the window's end runs on its own procedures.
        // Someone who subclassed on top of the hook still calls it until WM_NCDESTROY: then
        // the saved procedure must stay known until that last message. (Only the window's end
        // asks which procedure is on top: every other message passes straight on.)
        const bool bHookOnTop = ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == HookProcValue();
        if (bHookOnTop || message == WM_NCDESTROY) {
            if (bHookOnTop) ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnSaved));
            g_mapHookedProcs->erase(hWnd);
        }
    }

    if (pfnSaved == nullptr) return ::DefWindowProcW(hWnd, message, wParam, lParam);
    return ::CallWindowProcW(pfnSaved, hWnd, message, wParam, lParam);
}
