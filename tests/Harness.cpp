#include "Harness.h"

#include <commctrl.h>

#include <deque>

namespace {

std::deque<std::function<void()>> g_steps;
UINT_PTR g_timer = 0;

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    ::KillTimer(nullptr, g_timer);
    g_timer = 0;
    if (g_steps.empty()) return;
    std::function<void()> step = std::move(g_steps.front());
    g_steps.pop_front();
    // A timer message only comes once the queue is empty, so the windows are ready.
    if (!g_steps.empty()) g_timer = ::SetTimer(nullptr, 0, 1, &RunStep);
    step();
}

}  // namespace

void OnNextIdle(std::function<void()> step) {
    g_steps.push_back(std::move(step));
    if (g_timer == 0) g_timer = ::SetTimer(nullptr, 0, 1, &RunStep);
}

bool TakeQuitMessage() {
    MSG msg;
    bool found = false;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
    return found;
}

std::wstring WindowText(HWND hWnd) {
    wchar_t buffer[512] = {};
    ::GetWindowTextW(hWnd, buffer, 512);
    return buffer;
}

std::wstring TabText(HWND hTab, int index) {
    wchar_t buffer[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 128;
    ::SendMessageW(hTab, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return buffer;
}
