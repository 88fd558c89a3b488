// The dialog adaptation toolkit on the standard test screen (800 x 600, 96 pixels per inch):
// anchored layout, control hook, string loading, and the dialog adapter on a real dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/Harness.h"
#include "tests/ToolkitHost.h"
#include "tests/ToolkitTestIds.h"
#include "shell/ShellControls.h"
#include "toolkit/ControlHook.h"
#include "toolkit/ScreenLayout.h"
#include "toolkit/StringResource.h"
#include "toolkit/ToolkitFonts.h"

namespace {

RECT ChildRect(HWND hChild) {
    RECT rc;
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(hChild), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// A captioned parent with a 240 x 268 client area and a 50 x 12 button at 10, 10.
struct AnchorFixture {
    HWND hParent = nullptr, hButton = nullptr;
    AnchorFixture() {
        hParent = ::CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW, 30, 40, 300, 300, nullptr, nullptr,
                                    nullptr, nullptr);
        RECT rcWindow, rcClient;
        ::GetWindowRect(hParent, &rcWindow);
        ::GetClientRect(hParent, &rcClient);
        ::SetWindowPos(hParent, nullptr, 0, 0, 240 + (rcWindow.right - rcWindow.left) - rcClient.right,
                       268 + (rcWindow.bottom - rcWindow.top) - rcClient.bottom, SWP_NOMOVE | SWP_NOZORDER);
        hButton = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 10, 10, 50, 12, hParent, nullptr,
                                    nullptr, nullptr);
    }
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
        {"0x0F: stretched between fixed left/top and margins", 0x0F, 5, 30, 5, 5, true, {5, 30, 235, 263}},
        {"0x0C: stretched to margins, left/top kept", 0x0C, 0, 0, 10, 20, true, {10, 10, 230, 248}},
        {"0x11: left moved, width kept", 0x11, 20, 0, 0, 0, true, {20, 10, 70, 22}},
        {"0x28: bottom margin, height kept", 0x28, 0, 0, 0, 5, true, {10, 251, 60, 263}},
        {"only ANCHOR_KEEP_WIDTH", ANCHOR_KEEP_WIDTH, 100, 100, 5, 5, false, {10, 10, 60, 22}},
        {"only ANCHOR_KEEP_HEIGHT", ANCHOR_KEEP_HEIGHT, 100, 100, 5, 5, false, {10, 10, 60, 22}},
        {"both keep flags", ANCHOR_KEEP_WIDTH | ANCHOR_KEEP_HEIGHT, 100, 100, 5, 5, false, {10, 10, 60, 22}},
        {"left/top where it already is", 0x03, 10, 10, 0, 0, false, {10, 10, 60, 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AnchorFixture f;
        ASSERT_NE(f.hButton, nullptr);
        EXPECT_EQ(AnchorWindow(f.hButton, c.flags, c.x, c.y, c.rightMargin, c.bottomMargin), c.moved ? TRUE : FALSE);
        RECT rc = ChildRect(f.hButton);
        EXPECT_TRUE(::EqualRect(&rc, &c.expected))
            << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        // The layout is reached: the same call again changes nothing.
        EXPECT_FALSE(AnchorWindow(f.hButton, c.flags, c.x, c.y, c.rightMargin, c.bottomMargin));
        rc = ChildRect(f.hButton);
        EXPECT_TRUE(::EqualRect(&rc, &c.expected));
    }
}

TEST(AnchorWindowTest, RefusesNullAndParentlessWindows) {
    EXPECT_FALSE(AnchorWindow(nullptr, 0x3C, 0, 0, 5, 5));
    AnchorFixture f;
    RECT before;
    ::GetWindowRect(f.hParent, &before);
    EXPECT_FALSE(AnchorWindow(f.hParent, 0x0F, 0, 0, 5, 5));
    RECT after;
    ::GetWindowRect(f.hParent, &after);
    EXPECT_TRUE(::EqualRect(&before, &after));
}

TEST(ControlHookTest, HooksAWindowOnceUntilItIsDestroyed) {
    EXPECT_FALSE(HookControl(nullptr));
    CButton unbound;
    EXPECT_FALSE(HookControl(&unbound));

    HWND hParent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND hButton = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD, 0, 0, 50, 12, hParent, nullptr, nullptr, nullptr);
    CButton button;
    ASSERT_TRUE(button.SubclassWindow(hButton));
    EXPECT_TRUE(HookControl(&button));
    EXPECT_FALSE(HookControl(&button));
    EXPECT_TRUE(IsControlHooked(hButton));
    EXPECT_EQ(::GetWindowLongPtrW(hButton, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ControlHookProc));
    // Messages other than the pen-down still take the framework's way to the control.
    ::SetWindowTextW(hButton, L"renamed");
    EXPECT_EQ(button.GetWindowText(), L"renamed");

    ::DestroyWindow(hButton);
    EXPECT_FALSE(IsControlHooked(hButton));
    // The framework saw the window's end: the hook had given its procedure back in time.
    EXPECT_EQ(button.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hButton), nullptr);
    ::DestroyWindow(hParent);
}

TEST(ControlHookTest, PenDownOnHookedBoundControlSkipsTheWrapperMap) {
    struct Case {
        const char* name;
        bool hook;
        int mapTaps;       // pen-downs seen by the wrapper's message map
        bool reachedClass; // the button's own procedure took it: pressed and capturing
    } cases[] = {
        {"hooked", true, 0, true},
        {"not hooked", false, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CToolkitHost host(L"Hook");
        host.m_bHookControls = c.hook;
        host.RunWith([&] {
            HWND hBrowse = host.m_browse.m_hWnd;
            ASSERT_NE(hBrowse, nullptr);
            EXPECT_EQ(IsControlHooked(hBrowse) != FALSE, c.hook);
            ::SendMessageW(hBrowse, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            EXPECT_EQ(host.m_browse.m_nMapTaps, c.mapTaps);
            bool pressed = (::SendMessageW(hBrowse, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
            EXPECT_EQ(pressed, c.reachedClass);
            EXPECT_EQ(::GetCapture() == hBrowse, c.reachedClass);
            ::ReleaseCapture();
            ::SendMessageW(hBrowse, BM_SETSTATE, FALSE, 0);
        });
    }
}

TEST(StringResourceTest, LoadsTextsByNumber) {
    struct Case {
        UINT id;
        std::wstring text;
    } cases[] = {
        {65032, L"Select Program"},
        {65002, L"Qov Brumvale Options"},
        {IDS_TOOLKIT_NO_TEXT, L""},  // its block exists, the entry does not
        {7, L""},                    // no block at all
    };
    for (const Case& c : cases) EXPECT_EQ(LoadStringResource(c.id), c.text) << c.id;

    std::wstring longText = LoadStringResource(IDS_TOOLKIT_LONG_TEXT);
    ASSERT_EQ(longText.size(), 1023u);
    for (size_t i = 0; i < longText.size(); ++i) ASSERT_EQ(longText[i], L"0123456789"[i % 10]) << i;
}

TEST(DialogAdapterTest, PaintsTitleBandAndRuleOverWindowColour) {
    CToolkitHost host(L"Adapter Test");
    host.RunWith([&] {
        host.SizeClientAndPaint(300, 260);
        EXPECT_EQ(host.m_adapter.m_nHeaderWidth, 300);
        CClientPixels px(host.m_hWnd);
        const COLORREF window = ::GetSysColor(COLOR_WINDOW);
        // The rule: one black row at 24, right of the title.
        EXPECT_EQ(px.RowsOf(290, RGB(0, 0, 0), px.Height()), std::vector<int>{24});
        EXPECT_EQ(px.At(290, 23), window);
        EXPECT_EQ(px.At(290, 25), window);
        // The title, in its colour, inside the band, from 8 pixels in.
        std::vector<int> rows = px.RowsWith(RGB(0, 0, 156), px.Height());
        ASSERT_FALSE(rows.empty());
        EXPECT_GE(rows.front(), 0);
        EXPECT_LT(rows.back(), 24);
        EXPECT_NEAR((rows.front() + rows.back()) / 2.0, 12.0, 3.0);  // vertically centred
        EXPECT_GE(px.ColumnsWith(RGB(0, 0, 156), 24).front(), 8);
        // The whole client area is filled with the window colour, not the dialog's face.
        POINT bg = host.BackgroundPoint();
        EXPECT_EQ(px.At(bg.x, bg.y), window);
        // The dialog's default painting ran inside the adapter's paint.
        EXPECT_GT(host.m_nDefaultPaints, 0);
        EXPECT_EQ(host.m_nDefaultPaintsInPaint, host.m_nDefaultPaints);
    });
}

TEST(DialogAdapterTest, EmptyTitlePaintsNothingAndIgnoresScrolling) {
    CToolkitHost host(L"");
    host.RunWith([&] {
        host.SizeClientAndPaint(300, 260);
        CClientPixels px(host.m_hWnd);
        EXPECT_TRUE(px.RowsOf(290, RGB(0, 0, 0), px.Height()).empty());
        EXPECT_TRUE(px.RowsWith(RGB(0, 0, 156), px.Height()).empty());
        POINT bg = host.BackgroundPoint();
        EXPECT_EQ(px.At(bg.x, bg.y), ::GetSysColor(COLOR_3DFACE));
        EXPECT_GT(host.m_nDefaultPaints, 0);
        EXPECT_EQ(host.m_nDefaultPaintsInPaint, 0);  // no BeginPaint of the adapter's

        ::SetScrollRange(host.m_hWnd, SB_VERT, 0, 100, FALSE);
        ::SetScrollPos(host.m_hWnd, SB_VERT, 10, FALSE);
        ::SendMessageW(host.m_hWnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
        EXPECT_EQ(host.m_adapter.m_nScrollOffset, 0);
    });
}

TEST(DialogAdapterTest, HeaderFollowsVerticalScrollingUntilScreenReset) {
    CToolkitHost host(L"Scrolled");
    host.RunWith([&] {
        host.SizeClientAndPaint(300, 260);
        ::SetScrollRange(host.m_hWnd, SB_VERT, 0, 100, FALSE);
        struct Step {
            const char* name;
            int pos;        // scroll position set before the message
            UINT message;
            WPARAM wParam;
            int offset;     // m_nScrollOffset afterwards
        } steps[] = {
            {"scroll to 10", 10, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), -10},
            {"thumb tracking at 6", 6, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 6), -6},
            {"another setting change", 6, WM_SETTINGCHANGE, SPI_SETWORKAREA, -6},
            {"screen reset", 6, WM_SETTINGCHANGE, 0x3002, 0},
        };
        for (const Step& s : steps) {
            SCOPED_TRACE(s.name);
            ::SetScrollPos(host.m_hWnd, SB_VERT, s.pos, FALSE);
            ::SendMessageW(host.m_hWnd, s.message, s.wParam, 0);
            EXPECT_EQ(host.m_adapter.m_nScrollOffset, s.offset);
            ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            EXPECT_EQ(CClientPixels(host.m_hWnd).RowsOf(290, RGB(0, 0, 0), 260), std::vector<int>{24 + s.offset});
        }
    });
}

namespace {
// Notes the header width the adapter had when the window was created, before any WM_SIZE.
class CCreationWatchingHost : public CToolkitHost {
public:
    using CToolkitHost::CToolkitHost;
    int headerWidthAtCreate = 0;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        if (message == WM_CREATE) headerWidthAtCreate = m_adapter.m_nHeaderWidth;
        return CToolkitHost::OnWndMsg(message, wParam, lParam, pResult);
    }
};
}  // namespace

TEST(DialogAdapterTest, SetTitleRepaintsTheBandOnlyOnceSized) {
    CCreationWatchingHost host(L"First");
    host.RunWith([&] {
        EXPECT_EQ(host.headerWidthAtCreate, -1);
        // The same visible, fully painted window with and without a known width.
        struct Case {
            int headerWidth;
            BOOL invalid;
            RECT band;
        } cases[] = {{-1, FALSE, {0, 0, 0, 0}}, {300, TRUE, {0, 0, 300, 25}}};
        host.SizeClientAndPaint(300, 260);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.headerWidth);
            ::UpdateWindow(host.m_hWnd);
            host.m_adapter.m_nHeaderWidth = c.headerWidth;
            host.m_adapter.SetTitle(&host, L"Second");
            RECT rc{};
            EXPECT_EQ(::GetUpdateRect(host.m_hWnd, &rc, FALSE), c.invalid);
            EXPECT_TRUE(::EqualRect(&rc, &c.band)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
            EXPECT_EQ(host.m_adapter.m_strTitle, L"Second");
        }
    });
}

TEST(DialogAdapterTest, TapsOnTheBackgroundAreSwallowedNotThoseOnControls) {
    for (BOOL swallow : {TRUE, FALSE}) {
        SCOPED_TRACE(swallow ? "swallowing" : "not swallowing");
        CToolkitHost host(L"Taps");
        host.m_adapter.m_bSwallowTaps = swallow;
        host.RunWith([&] {
            POINT bg = host.BackgroundPoint();
            ASSERT_EQ(::ChildWindowFromPointEx(host.m_hWnd, bg, CWP_ALL), host.m_hWnd);
            ::SendMessageW(host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bg.x, bg.y));
            EXPECT_EQ(host.m_nMapTaps, swallow ? 0 : 1);

            HWND hRadio = host.GetDlgItem(IDC_TOOLKIT_RADIO);
            ::SendMessageW(hRadio, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            ::SendMessageW(hRadio, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            EXPECT_EQ(::SendMessageW(hRadio, BM_GETCHECK, 0, 0), BST_CHECKED);
        });
    }
}

TEST(DialogAdapterTest, SetsBoldFontOnPushButtonsOnly) {
    struct Case {
        int id;
        bool bold;
    } cases[] = {
        {IDC_TOOLKIT_OK, true},      {IDC_TOOLKIT_CANCEL, true}, {IDC_TOOLKIT_BROWSE, true},
        {IDC_TOOLKIT_CHECK, false},  {IDC_TOOLKIT_RADIO, false}, {IDC_TOOLKIT_GROUP, false},
        {IDC_TOOLKIT_LABEL, false},  {IDC_TOOLKIT_LIST, false},
    };
    CToolkitHost host(L"Fonts");
    host.RunWith([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.id);
            FontFacts f = FontOf(host.GetDlgItem(c.id));
            EXPECT_EQ(f.hFont, c.bold ? GetHeaderFont() : GetControlFont());
            EXPECT_EQ(f.nWeight, c.bold ? 700 : 400);
            EXPECT_EQ(f.nHeight, 13);
        }
        EXPECT_EQ(host.m_hSetFont, GetControlFont());
    });

    CToolkitHost plain(L"Fonts");
    plain.m_adapter.m_bSetFonts = FALSE;
    plain.RunWith([&] {
        EXPECT_NE(FontOf(plain.GetDlgItem(IDC_TOOLKIT_OK)).hFont, GetHeaderFont());
        EXPECT_NE(FontOf(plain.GetDlgItem(IDC_TOOLKIT_CHECK)).hFont, GetControlFont());
    });
}

TEST(DialogAdapterTest, ToolkitFontsReachEveryDescendant) {
    HWND hTop = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    HWND hMiddle = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 100, 100, hTop, nullptr, nullptr, nullptr);
    HWND hDeepButton = ::CreateWindowExW(0, L"button", L"", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 12, hMiddle, nullptr,
                                         nullptr, nullptr);
    HWND hDeepCheck = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_CHECKBOX, 0, 20, 50, 12, hMiddle, nullptr,
                                        nullptr, nullptr);
    ApplyToolkitFonts(hTop);
    EXPECT_EQ(FontOf(hTop).hFont, GetControlFont());
    EXPECT_EQ(FontOf(hMiddle).hFont, GetControlFont());
    EXPECT_EQ(FontOf(hDeepButton).hFont, GetHeaderFont());
    EXPECT_EQ(FontOf(hDeepCheck).hFont, GetControlFont());
    ::DestroyWindow(hTop);
}

TEST(DialogAdapterTest, CreatesHiddenSipPrefChildOnRequest) {
    // The standard test screen is not square.
    ASSERT_NE(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    for (BOOL sipPref : {TRUE, FALSE}) {
        SCOPED_TRACE(sipPref ? "on" : "off");
        CToolkitHost host(L"SIP");
        host.m_adapter.m_bSipPref = sipPref;
        host.RunWith([&] {
            HWND hSip = ::FindWindowExW(host.m_hWnd, nullptr, kSipPrefClass, nullptr);
            ASSERT_EQ(hSip != nullptr, sipPref != FALSE);
            if (hSip == nullptr) return;
            EXPECT_FALSE(::IsWindowVisible(hSip));
            EXPECT_EQ(::GetDlgCtrlID(hSip), 0);
            EXPECT_EQ(WindowText(hSip), L"");
            RECT rc;
            ::GetWindowRect(hSip, &rc);
            EXPECT_TRUE(::IsRectEmpty(&rc));
        });
    }
}

TEST(DialogAdapterTest, ReenablesTheMainWindowUnderTheModalRun) {
    HWND hMain = ::CreateWindowExW(0, L"STATIC", L"main", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    CWnd main;
    ASSERT_TRUE(main.Attach(hMain));
    CWinApp* pApp = AfxGetApp();
    pApp->m_pMainWnd = &main;
    for (BOOL enable : {TRUE, FALSE}) {
        SCOPED_TRACE(enable ? "on" : "off");
        CToolkitHost host(L"Main");  // owned by the main window: the modal run disables it
        host.m_adapter.m_bEnableMainWindow = enable;
        bool enabledDuringRun = false;
        host.RunWith([&] { enabledDuringRun = ::IsWindowEnabled(hMain) != FALSE; });
        EXPECT_EQ(enabledDuringRun, enable != FALSE);
    }
    pApp->m_pMainWnd = nullptr;
    main.Detach();
    ::DestroyWindow(hMain);
}
