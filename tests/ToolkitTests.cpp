// The dialog adaptation toolkit on the standard test screen (800 x 600, 96 pixels per inch):
// anchored layout, the control hook, and the dialog adapter on an option dialog.
#include <gtest/gtest.h>

#include "tests/ToolkitHost.h"
#include "toolkit/ControlHook.h"
#include "toolkit/ScreenLayout.h"
#include "toolkit/ToolkitFonts.h"

TEST(AnchorWindowTest, PlacesChildAgainstParentClientEdges) {
    struct Case {
        UINT flags;
        int x, y, rightMargin, bottomMargin;
        RECT expected;  // in the parent's 240 x 268 client area; the button was 50 x 12 at 10, 10
    } const cases[] = {
        {0x3C, 0, 0, 5, 5, {185, 251, 235, 263}},  // to the bottom right corner, size kept
        {0x0C, 0, 0, 10, 20, {10, 10, 230, 248}},  // stretched to the margins
        {0x33, 20, 30, 5, 5, {20, 30, 70, 42}},    // to x, y, size kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        HWND hParent = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 9, 9, 0, 0, 0, 0);
        HWND hButton = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 10, 10, 50, 12, hParent, 0, 0, 0);
        SizeClient(hParent, 240, 268);
        EXPECT_TRUE(AnchorWindow(hButton, c.flags, c.x, c.y, c.rightMargin, c.bottomMargin));
        const RECT rc = WindowRectInParent(hButton);
        EXPECT_TRUE(::EqualRect(&rc, &c.expected)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        // Once there, the same call moves nothing; a window without a parent is not moved.
        for (HWND hWnd : {hButton, hParent})
            EXPECT_FALSE(AnchorWindow(hWnd, c.flags, c.x, c.y, c.rightMargin, c.bottomMargin));
        ::DestroyWindow(hParent);
    }
}

// Where a pen-down goes: nowhere on the host's background; on a bound button through its
// wrapper, or, once the button is hooked, past the wrapper straight to the button.
TEST(ControlHookTest, PenDownReachesOnlyWhatTakesIt) {
    struct Case {
        const char* name;
        bool onButton, hook;
        int wrapperTaps;
    } const cases[] = {
        {"host background: swallowed", false, false, 0},
        {"bound button: through its wrapper", true, false, 1},
        {"hooked button: past its wrapper", true, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CToolkitHost host(L"Taps");
        HWND hButton = nullptr;
        host.RunWith([&] {
            hButton = host.m_button.m_hWnd;
            if (c.hook) {
                EXPECT_TRUE(HookControl(&host.m_button));
                EXPECT_FALSE(HookControl(&host.m_button));  // hooked once
            }
            ::SendMessageW(c.onButton ? hButton : host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            EXPECT_EQ(host.m_nTaps, 0);
            EXPECT_EQ(host.m_button.m_nTaps, c.wrapperTaps);
            EXPECT_EQ((::SendMessageW(hButton, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0, c.onButton);
            ::ReleaseCapture();
        });
        // The dialog is gone: the hook came off, and the wrapper saw the window's end.
        EXPECT_FALSE(IsControlHooked(hButton));
        EXPECT_EQ(host.m_button.m_hWnd, nullptr);
    }
}

// With a title the band follows the scroll position until the screen is reset, and the dialog's
// own painting runs inside the adapter's; without one: no band, no fill, no paint of its own.
TEST(DialogAdapterTest, HeaderFollowsScrollingUntilScreenResetOnlyWithATitle) {
    // The scroll position set before the message; the offset afterwards, with a title.
    struct Step { UINT message; WPARAM wParam; int pos, offset; } const steps[] = {
        {WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 10, -10},
        {WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 6), 6, -6},
        {WM_SETTINGCHANGE, SPI_SETWORKAREA, 6, -6},  // another setting: the offset stays
        {WM_SETTINGCHANGE, 0x3002, 6, 0},            // the screen reset
    };
    for (const wchar_t* title : {L"Scrolled", L""}) {
        const bool titled = *title != L'\0';
        SCOPED_TRACE(titled ? "titled" : "empty title");
        CToolkitHost host(title);
        host.RunWith([&] {
            SizeClient(host.m_hWnd, 300, 260);
            ::SetScrollRange(host.m_hWnd, SB_VERT, 0, 100, FALSE);
            for (const Step& s : steps) {
                SCOPED_TRACE(&s - steps);
                ::SetScrollPos(host.m_hWnd, SB_VERT, s.pos, FALSE);
                ::SendMessageW(host.m_hWnd, s.message, s.wParam, 0);
                EXPECT_EQ(host.Adapter().m_nScrollOffset, titled ? s.offset : 0);
                ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                EXPECT_EQ(RowsOf(host.m_hWnd, 290, RGB(0, 0, 0), 260),
                          titled ? std::vector<int>{24 + s.offset} : std::vector<int>{});
            }
            // A point of the background below every control.
            EXPECT_EQ(PixelAt(host.m_hWnd, 288, 254), ::GetSysColor(titled ? COLOR_WINDOW : COLOR_3DFACE));
            EXPECT_EQ(host.m_paintedInAdapterPaint, titled);
        });
    }
}

// As the dialog starts, the toolkit fonts: bold on push buttons, whatever their style, normal
// on every other window.
TEST(DialogAdapterTest, PushButtonsAloneTakeTheBoldFont) {
    CToolkitHost host(L"Fonts");
    host.RunWith([&] {
        for (auto [id, bold] : {std::pair{IDC_SS_EXCEPTIONS, true}, {IDC_SS_MORE_OPTIONS, true},
                                {IDC_SS_NO_FULL_SCREEN, false}, {IDC_SS_TIMEOUT_LABEL, false}}) {
            HWND hWnd = ::GetDlgItem(host.m_hWnd, id);
            EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)),
                      bold ? GetHeaderFont() : GetControlFont()) << id;
            EXPECT_EQ(FontOf(hWnd).lfWeight, bold ? FW_BOLD : FW_NORMAL) << id;
        }
    });
}
