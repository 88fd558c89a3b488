// CWnd: a C++ object bound to a window handle.
//
// A window is bound once (Attach or SubclassWindow) and stays bound until WM_NCDESTROY.
// A subclassed window's messages go through AfxWndProc -> WindowProc -> OnWndMsg (the message
// map) and, when no entry handled them, DefWindowProc: the procedure the window had before.
#pragma once

#include <string>

#include "framework/Object.h"

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }

    // --- binding --------------------------------------------------------------------------
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Attach and route the window's messages through this object.
    BOOL SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();
    // The window procedure the window had before it was subclassed (null when not subclassed).
    WNDPROC GetSuperWndProc() const { return m_pfnSuper; }

    // --- message routing --------------------------------------------------------------------
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // TRUE when the message was handled; *pResult holds the answer.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message being handled now.
    LRESULT Default();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Called after WM_NCDESTROY, once the object is no longer bound.
    virtual void PostNcDestroy() {}

    // --- modal loop -------------------------------------------------------------------------
    // Runs until ContinueModal says stop; a WM_QUIT ends it too and is put back in the queue.
    int RunModalLoop();
    virtual BOOL ContinueModal();
    void EndModalLoop(int nResult);

    // --- window operations ------------------------------------------------------------------
    // Creates the window bound to this object from its first message on (WM_NCCREATE), so a
    // control made at run time is a full object from birth. FALSE when it was not created.
    BOOL CreateEx(DWORD dwExStyle, LPCWSTR pszClassName, LPCWSTR pszWindowName, DWORD dwStyle, const RECT& rc,
                  CWnd* pParentWnd, UINT nID);
    BOOL DestroyWindow();
    CWnd* GetParent() const;  // the parent's bound object, or null
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    void MoveWindow(const RECT& rc, BOOL bRepaint = TRUE);
    void GetClientRect(RECT* pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void SetWindowText(const std::wstring& text) { ::SetWindowTextW(m_hWnd, text.c_str()); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }

protected:
    WNDPROC m_pfnSuper = nullptr;
    int m_nModalResult = -1;
    bool m_bContinueModal = false;

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

// The window of the innermost modal loop running now (a dialog, or the sheet), or null.
HWND AfxGetModalWnd();

// A window's rectangle in its parent's client coordinates (the screen's for a top-level one).
RECT WindowRectInParent(HWND hWnd);
// A window's whole text.
std::wstring WindowTextOf(HWND hWnd);
// The size DrawTextW gives text in the window's own font (DT_CALCRECT with nFormat), its lines
// broken at cx pixels where the format wraps.
SIZE TextSizeIn(HWND hWnd, const std::wstring& text, int cx, UINT nFormat);

// Binds the next window created on this thread to pWnd as the system creates it, so that the
// object sees every message from the first (a dialog's first WM_SIZE comes long before its
// WM_INITDIALOG). A window that another hook refuses is not bound. Unhook disarms it, whether
// or not it fired.
void AfxHookWindowCreate(CWnd* pWnd);
void AfxUnhookWindowCreate();

// The window procedure of every subclassed window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Delivers one message to a bound object, keeping the "current message" for Default().
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
