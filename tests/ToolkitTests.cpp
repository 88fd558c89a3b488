// The dialog adaptation toolkit on the standard test screen (800 x 600, 96 pixels per inch):
// anchored layout, control hook, string loading, and the dialog adapter on an option dialog.
#include <gtest/gtest.h>

#include <utility>

#include "tests/ToolkitHost.h"
#include "tests/ToolkitTestIds.h"
#include "shell/ShellControls.h"
#include "toolkit/ControlHook.h"
#include "toolkit/ScreenLayout.h"
#include "toolkit/StringResource.h"
#include "toolkit/ToolkitFonts.h"

namespace {

HWND MakeWindow(const wchar_t* pszClass, DWORD style, int cx, int cy, HWND hParent = nullptr) {
    return ::CreateWindowExW(0, pszClass, L"", style, 10, 10, cx, cy, hParent, nullptr, nullptr, nullptr);
}

}  // namespace

TEST(AnchorWindowTest, PlacesChildAgainstParentClientEdges) {
    struct Case {
        const char* name;
        UINT flags;
        int x, y, rightMargin, bottomMargin;
        bool moved;
        RECT expected;  // in the parent's 240 x 268 client area; the button was 50 x 12 at 10, 10
    } const cases[] = {
        {"0x3C: bottom-right corner, size kept", 0x3C, 0, 0, 5, 5, true, {185, 251, 235, 263}},
        {"0x0C: stretched to margins, left/top kept", 0x0C, 0, 0, 10, 20, true, {10, 10, 230, 248}},
        {"0x33: moved to x, y, size kept", 0x33, 20, 30, 5, 5, true, {20, 30, 70, 42}},
        {"only ANCHOR_KEEP_WIDTH", ANCHOR_KEEP_WIDTH, 100, 100, 5, 5, false, {10, 10, 60, 22}},
        {"only ANCHOR_KEEP_HEIGHT", ANCHOR_KEEP_HEIGHT, 100, 100, 5, 5, false, {10, 10, 60, 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND hParent = MakeWindow(L"STATIC", WS_OVERLAPPEDWINDOW, 300, 300);
        HWND hButton = MakeWindow(L"BUTTON", WS_CHILD | WS_VISIBLE, 50, 12, hParent);
        SizeClient(hParent, 240, 268);
        EXPECT_EQ(AnchorWindow(hButton, c.flags, c.x, c.y, c.rightMargin, c.bottomMargin), c.moved ? TRUE : FALSE);
        RECT rc;
        ::GetWindowRect(hButton, &rc);
        ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_TRUE(::EqualRect(&rc, &c.expected)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        // The layout is reached: the same call again changes nothing.
        EXPECT_FALSE(AnchorWindow(hButton, c.flags, c.x, c.y, c.rightMargin, c.bottomMargin));
        // Nothing to anchor against: no window, or one without a parent.
        EXPECT_FALSE(AnchorWindow(nullptr, c.flags, c.x, c.y, c.rightMargin, c.bottomMargin));
        EXPECT_FALSE(AnchorWindow(hParent, c.flags, c.x, c.y, c.rightMargin, c.bottomMargin));
        ::DestroyWindow(hParent);
    }
}

// Where a pen-down goes: nowhere on the host's background; on a bound button through its
// wrapper, or, once the button is hooked, past the wrapper straight to the button.
TEST(ControlHookTest, PenDownReachesOnlyWhatTakesIt) {
    CButton unbound;
    EXPECT_FALSE(HookControl(nullptr));
    EXPECT_FALSE(HookControl(&unbound));
    struct Case {
        const char* name;
        bool onButton, hook;
        int wrapperTaps;
        bool pressed;
    } const cases[] = {
        {"host background: swallowed", false, false, 0, false},
        {"bound button: through its wrapper", true, false, 1, true},
        {"hooked button: past its wrapper", true, true, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CToolkitHost host(L"Taps");
        HWND hBrowse = nullptr;
        host.RunWith([&] {
            hBrowse = host.m_browse.m_hWnd;
            if (c.hook) {
                EXPECT_TRUE(HookControl(&host.m_browse));
                EXPECT_FALSE(HookControl(&host.m_browse));  // hooked once
            }
            ::SendMessageW(c.onButton ? hBrowse : host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            EXPECT_EQ(host.m_nTaps, 0);
            EXPECT_EQ(host.m_browse.m_nTaps, c.wrapperTaps);
            EXPECT_EQ((::SendMessageW(hBrowse, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0, c.pressed);
            ::ReleaseCapture();
        });
        // The dialog is gone: the hook came off, and the wrapper saw the window's end.
        EXPECT_FALSE(IsControlHooked(hBrowse));
        EXPECT_EQ(host.m_browse.m_hWnd, nullptr);
    }
}

TEST(StringResourceTest, LoadsUpToTheBuffersLength) {
    std::wstring text = LoadStringResource(IDS_TOOLKIT_LONG_TEXT);
    ASSERT_EQ(text.size(), 1023u);
    for (size_t i = 0; i < text.size(); ++i) ASSERT_EQ(text[i], L"0123456789"[i % 10]) << i;
}

// With a title the band follows the scroll position until the screen is reset, and the dialog's
// own painting runs inside the adapter's; without one: no band, no fill, no paint of its own.
TEST(DialogAdapterTest, HeaderFollowsScrollingUntilScreenResetOnlyWithATitle) {
    struct Step {
        const char* name;
        UINT message;
        WPARAM wParam;
        int pos, offset;  // scroll position set before the message; offset afterwards, with a title
    } const steps[] = {
        {"scroll to 10", WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 10, -10},
        {"thumb tracking at 6", WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 6), 6, -6},
        {"another setting change", WM_SETTINGCHANGE, SPI_SETWORKAREA, 6, -6},
        {"screen reset", WM_SETTINGCHANGE, 0x3002, 6, 0},
    };
    for (const wchar_t* title : {L"Scrolled", L""}) {
        const bool titled = *title != L'\0';
        SCOPED_TRACE(titled ? "titled" : "empty title");
        CToolkitHost host(title);
        host.RunWith([&] {
            SizeClient(host.m_hWnd, 300, 260);
            ::SetScrollRange(host.m_hWnd, SB_VERT, 0, 100, FALSE);
            for (const Step& s : steps) {
                SCOPED_TRACE(s.name);
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

// A new title repaints the band: its 25 rows across the width of the last WM_SIZE; before the
// first one (the width still -1), nothing.
TEST(DialogAdapterTest, SetTitleRepaintsTheBandOnlyOnceSized) {
    CToolkitHost host(L"First");
    host.RunWith([&] {
        SizeClient(host.m_hWnd, 300, 260);
        const std::pair<int, RECT> cases[] = {{-1, RECT{}}, {300, RECT{0, 0, 300, 25}}};
        for (const auto& [width, band] : cases) {
            host.Adapter().m_nHeaderWidth = width;
            host.Adapter().SetTitle(&host, L"Second");
            RECT rc{};
            ::GetUpdateRect(host.m_hWnd, &rc, FALSE);
            EXPECT_TRUE(::EqualRect(&rc, &band)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        }
    });
}

// As the dialog starts: the toolkit fonts, bold on push buttons, on every window down to each
// descendant; a hidden "SIPPREF" child (the test screen is not square); the application's main
// window enabled again, though the dialog runs modally over it.
TEST(DialogAdapterTest, OptionsReadyTheDialogForTheHandheld) {
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, L"STATIC", L"main", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
    AfxGetApp()->m_pMainWnd = &main;
    // A push button two levels down a tree ApplyToolkitFonts reaches from its top.
    HWND hTop = MakeWindow(L"STATIC", WS_POPUP, 200, 200);
    HWND hDeep = MakeWindow(L"BUTTON", WS_CHILD | BS_PUSHBUTTON, 50, 12, MakeWindow(L"STATIC", WS_CHILD, 99, 99, hTop));
    ApplyToolkitFonts(hTop);
    enum Font { kNone, kNormal, kBold };
    struct Window {
        const char* name;
        HWND hWnd;
        Font font;
        bool visible;
    };
    CToolkitHost host(L"Options");
    host.RunWith([&] {
        HWND hDlg = host.m_hWnd;
        for (const Window& w : {
                 Window{"default push button", ::GetDlgItem(hDlg, IDC_TOOLKIT_OK), kBold, true},
                 Window{"multi-line push button", ::GetDlgItem(hDlg, IDC_TOOLKIT_BROWSE), kBold, true},
                 Window{"check box", ::GetDlgItem(hDlg, IDC_TOOLKIT_CHECK), kNormal, true},
                 Window{"label", ::GetDlgItem(hDlg, IDC_TOOLKIT_LABEL), kNormal, true},
                 Window{"list", ::GetDlgItem(hDlg, IDC_TOOLKIT_LIST), kNormal, true},
                 Window{"SIPPREF child", ::FindWindowExW(hDlg, nullptr, kSipPrefClass, nullptr), kNone, false},
                 Window{"main window", main.m_hWnd, kNone, false},
                 Window{"top of the tree", hTop, kNormal, false},
                 Window{"push button two levels down", hDeep, kBold, false},
             }) {
            SCOPED_TRACE(w.name);
            ASSERT_NE(w.hWnd, nullptr);
            EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(w.hWnd, WM_GETFONT, 0, 0)),
                      w.font == kBold ? GetHeaderFont() : w.font == kNormal ? GetControlFont() : nullptr);
            EXPECT_EQ(FontOf(w.hWnd).lfWeight, w.font == kBold ? FW_BOLD : w.font == kNormal ? FW_NORMAL : 0);
            EXPECT_EQ(::IsWindowVisible(w.hWnd) != FALSE, w.visible);
            EXPECT_TRUE(::IsWindowEnabled(w.hWnd));
        }
    });
    main.DestroyWindow();
    ::DestroyWindow(hTop);
}
