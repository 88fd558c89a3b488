// The dialog adaptation toolkit on the standard test screen (800 x 600, 96 pixels per inch).
#include "tests/ToolkitHost.h"
#include "toolkit/ControlHook.h"

namespace {
// Whether the button's procedure is still the hook once its WM_DESTROY has been handled.
HWND g_hDestroyWatched = nullptr;
bool g_bHookedAfterDestroy = true;
LRESULT CALLBACK WatchDestroy(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* p = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (nCode == HC_ACTION && p->message == WM_DESTROY && p->hwnd == g_hDestroyWatched)
        g_bHookedAfterDestroy = Hooked(p->hwnd);
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
// While the scroll box is dragged: where it is, and the rows of the band's rule as painted then.
std::vector<std::pair<int, std::vector<int>>> g_dragged;
LRESULT CALLBACK WatchDrag(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* p = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (nCode == HC_ACTION && p->message == WM_VSCROLL && LOWORD(p->wParam) == SB_THUMBTRACK) {
        ::RedrawWindow(p->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        g_dragged.emplace_back(HIWORD(p->wParam), RowsOf(p->hwnd, 290, RGB(0, 0, 0), 260));
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
}  // namespace

// A pen-down on a bound button goes through its wrapper, once hooked (once only) straight to it; the end unhooks and
// unbinds.
TEST(ControlHookTest, PenDownGoesPastTheWrapperOnceHooked) {
    CToolkitHost host(L"Taps");
    HWND hButton = nullptr;
    std::vector<int> taps;  // the wrapper's count after each pen-down
    HHOOK hWatch = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &WatchDestroy, nullptr, ::GetCurrentThreadId());
    RunModal(host, {[&] {
        g_hDestroyWatched = hButton = host.m_button.m_hWnd;
        for (bool hook : {false, true}) {
            EXPECT_TRUE(!hook || (HookControl(&host.m_button) && !HookControl(&host.m_button)));  // hooked once
            ::SendMessageW(hButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            ::ReleaseCapture();
            taps.push_back(host.m_button.m_nTaps);
        }
        host.EndDialog(IDCANCEL);
    }});
    ::UnhookWindowsHookEx(hWatch);
    EXPECT_EQ(std::tuple(taps, g_bHookedAfterDestroy, host.m_button.m_hWnd),
              std::tuple(std::vector<int>{1, 1}, false, HWND(nullptr)));
}

// With a title the band follows the scroll position (the scroll box while it is dragged) until the screen is reset, and
// the dialog's own painting runs inside the adapter's; without one: no band, no fill, no paint of its own.
TEST(DialogAdapterTest, HeaderFollowsScrollingUntilScreenResetOnlyWithATitle) {
    constexpr WPARAM kScreenReset = 0x3002;  // the shell's notice that the screen was reset
    // The scroll position set before the message; the offset afterwards, with a title.
    struct Step { UINT message; WPARAM wParam; int pos, offset; } const steps[] = {
        {WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 10, -10},
        {WM_SETTINGCHANGE, SPI_SETWORKAREA, 10, -10},  // another setting: the offset stays
        {WM_SETTINGCHANGE, kScreenReset, 10, 0},
    };
    for (const wchar_t* title : {L"Scrolled", L""}) {
        const bool titled = *title != L'\0';
        SCOPED_TRACE(titled ? "titled" : "empty title");
        CToolkitHost host(title);
        HHOOK hWatch = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &WatchDrag, nullptr, ::GetCurrentThreadId());
        g_dragged.clear();
        RunModal(host, {[&] {
            ::SetScrollRange(host.m_hWnd, SB_VERT, 0, 100, FALSE);
            ::ShowScrollBar(host.m_hWnd, SB_VERT, TRUE);
            SizeClient(host.m_hWnd, 300, 260);
            // The scroll box dragged 12 pixels down from the top, the position left at 0.
            SCROLLBARINFO bar{};
            bar.cbSize = sizeof(bar);
            ::GetScrollBarInfo(host.m_hWnd, OBJID_VSCROLL, &bar);
            TapAt({(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.top + bar.xyThumbTop + 2}, 12);
        }, [&] {
            ::UnhookWindowsHookEx(hWatch);
            EXPECT_TRUE(!g_dragged.empty() && g_dragged.back().first > 0);
            for (const auto& [pos, rows] : g_dragged)
                EXPECT_EQ(rows, titled ? std::vector<int>{24 - pos} : std::vector<int>{}) << "dragged to " << pos;
            for (const Step& s : steps) {
                SCOPED_TRACE(&s - steps);
                ::SetScrollPos(host.m_hWnd, SB_VERT, s.pos, FALSE);
                ::SendMessageW(host.m_hWnd, s.message, s.wParam, 0);
                ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                EXPECT_EQ(RowsOf(host.m_hWnd, 290, RGB(0, 0, 0), 260),
                          titled ? std::vector<int>{24 + s.offset} : std::vector<int>{});
            }
            // A point of the background below every control.
            EXPECT_EQ(PixelAt(host.m_hWnd, 288, 254), ::GetSysColor(titled ? COLOR_WINDOW : COLOR_3DFACE));
            EXPECT_EQ(host.m_paintedInAdapterPaint, titled);
            host.EndDialog(IDCANCEL);
        }});
    }
}

// A hooked control that is destroyed leaves nothing behind: two thousand of them hold no memory afterwards.
TEST(ControlHookTest, DestroyedControlsLeaveNothingBehind) {
    CToolkitHost host(L"Many");
    const auto hookAndDestroy = [&host] {
        CWnd control;
        control.m_hWnd = ::CreateWindowExW(0, L"Button", L"", WS_CHILD, 0, 0, 9, 9, host.m_hWnd, 0, 0, 0);
        HookControl(&control);
        ::DestroyWindow(std::exchange(control.m_hWnd, nullptr));
    };
    RunModal(host, {[&] {
        hookAndDestroy();  // the first makes what lives as long as the program
        const size_t before = HeapBytes();
        for (int i = 0; i < 2000; ++i) hookAndDestroy();
        EXPECT_LT(HeapBytes(), before + 16384);
        host.EndDialog(IDCANCEL);
    }});
}
