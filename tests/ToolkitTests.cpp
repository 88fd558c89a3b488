// The dialog adaptation toolkit on the standard test screen (800 x 600, 96 pixels per inch):
// anchored layout, control hook, string loading, and the dialog adapter on a real dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/ToolkitHost.h"
#include "tests/ToolkitTestIds.h"
#include "shell/ShellControls.h"
#include "toolkit/ControlHook.h"
#include "toolkit/ScreenLayout.h"
#include "toolkit/StringResource.h"
#include "toolkit/ToolkitFonts.h"

namespace {

// A point of the host's own background in a 300 x 260 client area, below every control.
constexpr POINT kBackground{288, 254};

// A captioned parent with a 240 x 268 client area and a 50 x 12 button at 10, 10.
struct AnchorFixture {
    HWND hParent = ::CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW, 30, 40, 300, 300, nullptr,
                                     nullptr, nullptr, nullptr);
    HWND hButton = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 10, 10, 50, 12, hParent, nullptr,
                                     nullptr, nullptr);
    AnchorFixture() { SizeClient(hParent, 240, 268); }
    ~AnchorFixture() { ::DestroyWindow(hParent); }
};

}  // namespace

TEST(AnchorWindowTest, PlacesChildAgainstParentClientEdges) {
    struct Case {
        const char* name;
        UINT flags;
        int x, y, rightMargin, bottomMargin;
        bool moved;
        RECT expected;  // left, top, right, bottom in the parent's client area
    } cases[] = {
        {"0x3C: bottom-right corner, size kept", 0x3C, 0, 0, 5, 5, true, {185, 251, 235, 263}},
        {"0x0C: stretched to margins, left/top kept", 0x0C, 0, 0, 10, 20, true, {10, 10, 230, 248}},
        {"0x33: moved to x, y, size kept", 0x33, 20, 30, 5, 5, true, {20, 30, 70, 42}},
        {"only ANCHOR_KEEP_WIDTH", ANCHOR_KEEP_WIDTH, 100, 100, 5, 5, false, {10, 10, 60, 22}},
        {"only ANCHOR_KEEP_HEIGHT", ANCHOR_KEEP_HEIGHT, 100, 100, 5, 5, false, {10, 10, 60, 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AnchorFixture f;
        ASSERT_NE(f.hButton, nullptr);
        EXPECT_EQ(AnchorWindow(f.hButton, c.flags, c.x, c.y, c.rightMargin, c.bottomMargin), c.moved ? TRUE : FALSE);
        RECT rc;
        ::GetWindowRect(f.hButton, &rc);
        ::MapWindowPoints(nullptr, f.hParent, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_TRUE(::EqualRect(&rc, &c.expected))
            << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        // The layout is reached: the same call again changes nothing.
        EXPECT_FALSE(AnchorWindow(f.hButton, c.flags, c.x, c.y, c.rightMargin, c.bottomMargin));
    }
    // Nothing to anchor against: no window, or one without a parent.
    AnchorFixture f;
    EXPECT_FALSE(AnchorWindow(nullptr, 0x3C, 0, 0, 5, 5));
    EXPECT_FALSE(AnchorWindow(f.hParent, 0x0F, 0, 0, 5, 5));
}

TEST(ControlHookTest, PenDownOnHookedControlSkipsTheWrapperUntilDestroyed) {
    CButton unbound;
    EXPECT_FALSE(HookControl(nullptr));
    EXPECT_FALSE(HookControl(&unbound));
    for (bool hook : {true, false}) {
        SCOPED_TRACE(hook ? "hooked" : "not hooked");
        CToolkitHost host(L"Hook");
        HWND hBrowse = nullptr;
        host.RunWith([&] {
            hBrowse = host.m_browse.m_hWnd;
            ASSERT_NE(hBrowse, nullptr);
            if (hook) {
                EXPECT_TRUE(HookControl(&host.m_browse));
                EXPECT_FALSE(HookControl(&host.m_browse));  // hooked once
            }
            EXPECT_EQ(IsControlHooked(hBrowse) != FALSE, hook);
            // Hooked, the button's own procedure takes the pen-down (pressed and capturing);
            // else the wrapper's message map does and the button never sees it.
            ::SendMessageW(hBrowse, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            EXPECT_EQ(host.m_browse.m_nMapTaps, hook ? 0 : 1);
            EXPECT_EQ((::SendMessageW(hBrowse, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0, hook);
            EXPECT_EQ(::GetCapture() == hBrowse, hook);
            ::ReleaseCapture();
        });
        // The dialog is gone: the control left the map, and its wrapper saw its end.
        EXPECT_FALSE(IsControlHooked(hBrowse));
        EXPECT_EQ(host.m_browse.m_hWnd, nullptr);
    }
}

TEST(StringResourceTest, LoadsTextsByNumber) {
    EXPECT_EQ(LoadStringResource(65032), L"Select Program");
    EXPECT_EQ(LoadStringResource(IDS_TOOLKIT_NO_TEXT), L"");  // its block exists, the entry does not
    std::wstring longText = LoadStringResource(IDS_TOOLKIT_LONG_TEXT);
    ASSERT_EQ(longText.size(), 1023u);
    for (size_t i = 0; i < longText.size(); ++i) ASSERT_EQ(longText[i], L"0123456789"[i % 10]) << i;
}

TEST(DialogAdapterTest, HeaderFollowsScrollingUntilScreenResetOnlyWithATitle) {
    struct Step {
        const char* name;
        int pos;  // scroll position set before the message
        UINT message;
        WPARAM wParam;
        int offset;  // m_nScrollOffset afterwards, with a title
    } const steps[] = {
        {"scroll to 10", 10, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), -10},
        {"thumb tracking at 6", 6, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 6), -6},
        {"another setting change", 6, WM_SETTINGCHANGE, SPI_SETWORKAREA, -6},
        {"screen reset", 6, WM_SETTINGCHANGE, 0x3002, 0},
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
                EXPECT_EQ(host.m_adapter.m_nScrollOffset, titled ? s.offset : 0);
                ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                EXPECT_EQ(RowsOf(host.m_hWnd, 290, RGB(0, 0, 0), 260),
                          titled ? std::vector<int>{24 + s.offset} : std::vector<int>{});
            }
            // Without a title the adapter neither fills the background nor begins the paint in
            // which the dialog's own painting runs.
            RECT ink = BoundsOf(host.m_hWnd, RGB(0, 0, 156), 48);
            EXPECT_EQ(::IsRectEmpty(&ink) == FALSE, titled);
            EXPECT_EQ(PixelAt(host.m_hWnd, kBackground.x, kBackground.y),
                      ::GetSysColor(titled ? COLOR_WINDOW : COLOR_3DFACE));
            EXPECT_GT(host.m_nDefaultPaints, 0);
            EXPECT_EQ(host.m_nDefaultPaintsInPaint, titled ? host.m_nDefaultPaints : 0);
        });
    }
}

TEST(DialogAdapterTest, SetTitleRepaintsTheBandOnlyOnceSized) {
    CToolkitHost host(L"First");
    EXPECT_EQ(host.m_adapter.m_nHeaderWidth, -1);  // until the first WM_SIZE
    host.RunWith([&] {
        SizeClient(host.m_hWnd, 300, 260);
        // A width of -1, as before the first WM_SIZE: nothing to repaint.
        host.m_adapter.m_nHeaderWidth = -1;
        host.m_adapter.SetTitle(&host, L"Second");
        EXPECT_FALSE(::GetUpdateRect(host.m_hWnd, nullptr, FALSE));
        // Once sized: the top 25 rows across the header width, unscaled.
        host.m_adapter.m_nHeaderWidth = 300;
        host.m_adapter.SetTitle(&host, L"Third");
        RECT rc{}, band{0, 0, 300, 25};
        EXPECT_TRUE(::GetUpdateRect(host.m_hWnd, &rc, FALSE));
        EXPECT_TRUE(::EqualRect(&rc, &band)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
    });
}

// Every option on, as the program's pages have them.
TEST(DialogAdapterTest, OptionsFitTheDialogToTheHandheld) {
    // The application's main window owns the dialog, so the modal run disables it.
    HWND hMain = ::CreateWindowExW(0, L"STATIC", L"main", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    CWnd main;
    ASSERT_TRUE(main.Attach(hMain));
    AfxGetApp()->m_pMainWnd = &main;
    struct Control {
        int id;
        bool bold;
    } const controls[] = {
        {IDC_TOOLKIT_OK, true}, {IDC_TOOLKIT_BROWSE, true}, {IDC_TOOLKIT_CHECK, false},
        {IDC_TOOLKIT_LABEL, false}, {IDC_TOOLKIT_LIST, false},
    };
    CToolkitHost host(L"Options");
    host.RunWith([&] {
        for (const Control& c : controls) {
            SCOPED_TRACE(c.id);
            FontFacts f = FontOf(host.GetDlgItem(c.id));
            EXPECT_EQ(f.hFont, c.bold ? GetHeaderFont() : GetControlFont());
            EXPECT_EQ(f.nWeight, c.bold ? 700 : 400);
        }
        // The test screen is not square: a hidden "SIPPREF" child.
        HWND hSip = ::FindWindowExW(host.m_hWnd, nullptr, kSipPrefClass, nullptr);
        EXPECT_TRUE(hSip != nullptr && !::IsWindowVisible(hSip));
        EXPECT_TRUE(::IsWindowEnabled(hMain));

        // A tap on the background is consumed; one on a control still reaches it.
        SizeClient(host.m_hWnd, 300, 260);
        ASSERT_EQ(::ChildWindowFromPointEx(host.m_hWnd, kBackground, CWP_ALL), host.m_hWnd);
        ::SendMessageW(host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kBackground.x, kBackground.y));
        EXPECT_EQ(host.m_nMapTaps, 0);
        HWND hCheck = host.GetDlgItem(IDC_TOOLKIT_CHECK);
        ::SendMessageW(hCheck, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        ::SendMessageW(hCheck, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        EXPECT_EQ(::SendMessageW(hCheck, BM_GETCHECK, 0, 0), BST_CHECKED);
    });
    AfxGetApp()->m_pMainWnd = nullptr;
    main.Detach();
    ::DestroyWindow(hMain);
}

TEST(DialogAdapterTest, ToolkitFontsReachEveryDescendant) {
    HWND hTop = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    HWND hMiddle = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 100, 100, hTop, nullptr, nullptr, nullptr);
    HWND hDeepButton = ::CreateWindowExW(0, L"button", L"", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 12, hMiddle, nullptr,
                                         nullptr, nullptr);
    ApplyToolkitFonts(hTop);
    EXPECT_EQ(FontOf(hTop).hFont, GetControlFont());
    EXPECT_EQ(FontOf(hDeepButton).hFont, GetHeaderFont());
    ::DestroyWindow(hTop);
}
