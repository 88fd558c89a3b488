#include "tests/Harness.h"

#include <commctrl.h>

#include <deque>

namespace {
std::wstring WindowText(HWND hWnd) {
    wchar_t buffer[512] = {};
    return ::GetWindowTextW(hWnd, buffer, 512), buffer;
}

std::deque<std::function<void()>> g_steps;
UINT_PTR g_timer = 0;

// A timer message only comes once the queue is empty, so the windows are up and painted.
void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    ::KillTimer(nullptr, g_timer);
    g_timer = g_steps.size() > 1 ? ::SetTimer(nullptr, 0, 1, &RunStep) : 0;
    if (g_steps.empty()) return;
    std::function<void()> step = std::move(g_steps.front());
    g_steps.pop_front();
    step();
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

// The message text's control: 0xFFFF on Windows, 100 on Wine.
HWND MessageTextOf(HWND hBox) {
    return ::GetDlgItem(hBox, 0xFFFF) ? ::GetDlgItem(hBox, 0xFFFF) : ::GetDlgItem(hBox, 100);
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

MessageBoxSeen AnswerMessageBox(int nCommand) {
    MessageBoxSeen seen;
    HWND hBox = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND h, LPARAM out) {
        wchar_t cls[16] = {};
        ::GetClassNameW(h, cls, 16);
        if (lstrcmpW(cls, L"#32770") != 0 || !::IsWindowVisible(h) || MessageTextOf(h) == nullptr) return TRUE;
        return *reinterpret_cast<HWND*>(out) = h, FALSE;
    }, reinterpret_cast<LPARAM>(&hBox));
    if (hBox == nullptr) return seen;
    seen.hOwner = ::GetWindow(hBox, GW_OWNER);
    seen.caption = WindowText(hBox);
    seen.text = WindowText(MessageTextOf(hBox));
    for (HWND h = ::GetWindow(hBox, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
        if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(h, STM_GETICON, 0, 0))) seen.hIcon = hIcon;
    ::PostMessageW(hBox, WM_COMMAND, static_cast<WPARAM>(nCommand), 0);
    return seen;
}
