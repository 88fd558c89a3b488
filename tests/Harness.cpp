#include "tests/Harness.h"

#include <commctrl.h>

#include <deque>

#include "framework/WinApp.h"
#include "toolkit/ControlHook.h"

namespace {

std::deque<std::function<void()>> g_steps;
UINT_PTR g_timer = 0;

// A timer message only comes once the queue is empty, so the windows are up and painted.
void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    ::KillTimer(nullptr, g_timer);
    g_timer = g_steps.size() > 1 ? ::SetTimer(nullptr, 0, 1, &RunStep) : 0;
    if (g_steps.empty()) return;
    std::function<void()> step = std::move(g_steps.front());
    g_steps.pop_front();
    try {
        step();
    } catch (...) {  // out of memory: the run ends as the program's would
        AfxEndAfterException();
    }
}

const wchar_t* g_pszRefusedClass = nullptr;
HHOOK g_hRefuseHook = nullptr;
LRESULT CALLBACK RefuseHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* cbt = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    if (code == HCBT_CREATEWND && !IS_INTRESOURCE(cbt->lpcs->lpszClass) &&
        lstrcmpiW(cbt->lpcs->lpszClass, g_pszRefusedClass) == 0)
        return 1;
    return ::CallNextHookEx(g_hRefuseHook, code, wParam, lParam);
}

CAnswerMessageBoxes* g_pAnswering = nullptr;
HHOOK g_hAnswerHook = nullptr;
LRESULT CALLBACK AnswerHook(int code, WPARAM wParam, LPARAM lParam) {
    const HWND h = reinterpret_cast<HWND>(wParam);
    wchar_t cls[16] = {};
    const bool bBox = code == HCBT_ACTIVATE && ::GetClassNameW(h, cls, 16) && !lstrcmpW(cls, L"#32770") && !CWnd::FromHandlePermanent(h);
    // A box's text: control 0xFFFF on Windows, 100 on Wine.
    if (HWND hText = bBox ? (::GetDlgItem(h, 0xFFFF) ? ::GetDlgItem(h, 0xFFFF) : ::GetDlgItem(h, 100)) : nullptr) {
        MessageBoxSeen& seen = g_pAnswering->m_seen.emplace_back();
        seen.hOwner = ::GetWindow(h, GW_OWNER);
        seen.caption = TextOf(h);
        seen.text = TextOf(hText);
        for (HWND hChild = ::GetWindow(h, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
            if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(hChild, STM_GETICON, 0, 0))) seen.hIcon = hIcon;
        ::PostMessageW(h, WM_COMMAND, IDOK, 0);
    }
    return ::CallNextHookEx(g_hAnswerHook, code, wParam, lParam);
}
}  // namespace

void OnNextIdle(std::function<void()> step) {
    g_steps.push_back(std::move(step));
    if (g_timer == 0) g_timer = ::SetTimer(nullptr, 0, 1, &RunStep);
}

CRefuseWindows::CRefuseWindows(const wchar_t* pszClass) {
    g_pszRefusedClass = pszClass;
    g_hRefuseHook = ::SetWindowsHookExW(WH_CBT, &RefuseHook, nullptr, ::GetCurrentThreadId());
}

CRefuseWindows::~CRefuseWindows() { ::UnhookWindowsHookEx(g_hRefuseHook); }

void PressSheetButton(HWND hSheet, int nButton) { ::SendMessageW(hSheet, PSM_PRESSBUTTON, nButton, 0); }

void TapBarButton(HWND hBar) {
    RECT rc{};
    ::SendMessageW(hBar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
    const LPARAM middle = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(hBar, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    ::SendMessageW(hBar, WM_LBUTTONUP, 0, middle);
}

CAnswerMessageBoxes::CAnswerMessageBoxes() {
    g_pAnswering = this;
    g_hAnswerHook = ::SetWindowsHookExW(WH_CBT, &AnswerHook, nullptr, ::GetCurrentThreadId());
}

CAnswerMessageBoxes::~CAnswerMessageBoxes() { ::UnhookWindowsHookEx(g_hAnswerHook), g_pAnswering = nullptr; }

RECT InParent(HWND hWnd) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hWnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::wstring TextOf(HWND hWnd) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(hWnd, text, 1024);
    return text;
}

bool Hooked(HWND hWnd) { return ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ControlHookProc); }

std::vector<std::wstring> Listed(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    HANDLE hFind = ::FindFirstFileW(pattern.c_str(), &data);
    for (BOOL more = hFind != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(hFind, &data))
        if (lstrcmpW(data.cFileName, L".") && lstrcmpW(data.cFileName, L"..")) names.push_back(data.cFileName);
    if (hFind != INVALID_HANDLE_VALUE) ::FindClose(hFind);
    return names;
}
