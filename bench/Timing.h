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

// Seconds from opening a modal window until it is shown and painted: its thread's first idle turn,
// when a timer message comes since no other message, paint included, waits. open() opens the
// window and returns once it has ended; seen() reads the window then, before it is cancelled.
// Answers a negative value when no window was in front at its first idle turn.
struct IdleTiming {
    double start = 0, seconds = -1;
    std::function<void(HWND)> seen;
};
inline IdleTiming g_idleTiming;
inline void CALLBACK OnFirstIdle(HWND, UINT, UINT_PTR id, DWORD) {
    const double now = Now();
    ::KillTimer(nullptr, id);
    HWND hFront = ::GetActiveWindow();
    if (hFront == nullptr) return;
    g_idleTiming.seconds = now - g_idleTiming.start;
    if (g_idleTiming.seen) g_idleTiming.seen(hFront);
    ::PostMessageW(hFront, WM_COMMAND, IDCANCEL, 0);
}
inline double TimeUntilShown(const std::function<void()>& open, std::function<void(HWND)> seen = {}) {
    Settle();
    g_idleTiming = IdleTiming{Now(), -1, std::move(seen)};
    ::SetTimer(nullptr, 0, 0, &OnFirstIdle);
    open();
    return g_idleTiming.seconds;
}
