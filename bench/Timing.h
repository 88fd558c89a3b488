// What the benchmarks share: a clock in seconds, the median of a run's figures, and the time a
// modal window takes to come up.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

inline double Now() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Lets what the system sends in its own time (activation, focus, the X server's events) land
// until the queue has stayed empty for 20 ms.
inline void Settle() {
    MSG msg;
    while (::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT) != WAIT_TIMEOUT)
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

// The thread's dialog or sheet on the screen, or null while none is shown.
inline BOOL CALLBACK FindShownDialog(HWND hWnd, LPARAM lParam) {
    wchar_t cls[8] = {};
    if (!::IsWindowVisible(hWnd) || !::GetClassNameW(hWnd, cls, 8) || ::lstrcmpW(cls, L"#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}
inline HWND ShownDialog() {
    HWND hFound = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindShownDialog, reinterpret_cast<LPARAM>(&hFound));
    return hFound;
}

// Seconds from opening a modal window until it is shown and painted: the first idle turn of its
// thread (a timer message comes only when no other message, paint included, waits) that finds it
// on the screen. A dialog's own loop may show it only once it first finds its queue empty, so
// earlier idle turns go by. open() opens the window and returns once it has ended; seen() reads
// the window then, before it is cancelled. Negative when the window never came up.
struct IdleTiming {
    double start = 0, seconds = -1;
    std::function<void(HWND)> seen;
};
inline IdleTiming g_idleTiming;
inline void CALLBACK OnFirstIdle(HWND, UINT, UINT_PTR id, DWORD) {
    const double now = Now();
    ::KillTimer(nullptr, id);
    HWND hShown = ShownDialog();
    if (hShown == nullptr || HIWORD(::GetQueueStatus(QS_PAINT)) != 0) {
        ::SetTimer(nullptr, 0, 0, &OnFirstIdle);
        return;
    }
    g_idleTiming.seconds = now - g_idleTiming.start;
    if (g_idleTiming.seen) g_idleTiming.seen(hShown);
    ::PostMessageW(hShown, WM_COMMAND, IDCANCEL, 0);
}
inline double TimeUntilShown(const std::function<void()>& open, std::function<void(HWND)> seen = {}) {
    Settle();
    g_idleTiming = IdleTiming{Now(), -1, std::move(seen)};
    ::SetTimer(nullptr, 0, 0, &OnFirstIdle);
    open();
    return g_idleTiming.seconds;
}
