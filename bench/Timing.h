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

// The ratio of a program to its baseline: the median of each round's own ratio, the two timed
// one right after the other. The machine's slow spells come and go over seconds, and a round's two
// times share the one they fall in, where the ratio of the two medians mixes rounds from both.
inline double RoundRatio(const std::vector<double>& program, const std::vector<double>& bare) {
    std::vector<double> ratios;
    for (size_t i = 0; i < program.size() && i < bare.size(); ++i) ratios.push_back(program[i] / bare[i]);
    return Median(ratios);
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

// The idle probe: a thread timer is delivered only when no other message, paint included, waits,
// but never sooner than 10 ms after it is set (the system's shortest timer). Set and left to fall
// due before the clock starts, it comes at the first idle turn after, however soon that is.
inline void ArmIdleProbe(TIMERPROC pProbe) {
    ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, pProbe);
    ::Sleep(2 * USER_TIMER_MINIMUM);
}

// Seconds from opening a modal window until it is shown and painted: the first idle turn of its
// thread that finds it on the screen (a probe that finds it not yet shown waits for the next
// timer, 10 ms on). open() opens the window and returns once it has ended; seen() reads the
// window then, before it is cancelled. Negative when the window never came up.
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
    ArmIdleProbe(&OnFirstIdle);
    g_idleTiming = IdleTiming{Now(), -1, std::move(seen)};
    open();
    return g_idleTiming.seconds;
}
