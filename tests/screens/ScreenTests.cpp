// The toolkit on the handhelds' screens: each run of this program on one real screen and density (run-on-screen.sh).
#include <cstdio>
#include <cstdlib>

#include "app/OptionsSheet.h"
#include "dialogs/AdvancedOptionsDialog.h"
#include "dialogs/ExceptionsDialog.h"
#include "tests/Faults.h"
#include "tests/ToolkitHost.h"
#include "tests/Windows.h"
#include "toolkit/AnchoredLayout.h"
#include "toolkit/ScreenFit.h"

// Screens and densities as tests/CMakeLists.txt pairs them; GetScreenScale; a "SIPPREF" child; a fitted sheet.
struct Screen { int cx, cy, dpi, scale; bool sipPref, fitted; } const kScreens[] = {
    {240, 320, 96, 1, true, true},   {320, 240, 96, 1, true, true},   {400, 300, 96, 1, true, true},
    {240, 240, 96, 1, false, true},  {480, 640, 192, 2, true, true},  {640, 480, 96, 2, true, false},
};

// The top of a window's command bar, which takes the bottom of its client area.
LONG BarTop(HWND hWnd) { return InParent(::GetDlgItem(hWnd, kCommandBar)).top; }

// Whether a control is a label, box or button showing a text.
bool HasText(HWND h) {
    const LONG style = ::GetWindowLongW(h, GWL_STYLE);
    const LONG type = style & SS_TYPEMASK;
    const bool bLabel = ClassOf(h) == L"Static" && (type <= SS_RIGHT || type == SS_LEFTNOWORDWRAP);
    const bool bButton = ClassOf(h) == L"Button" && (style & BS_TYPEMASK) != BS_GROUPBOX;
    return (bLabel || bButton) && ::GetWindowTextLengthW(h) > 0;
}

// Whether a control shows its whole text: a copy of it made large enough to hold the text paints no ink beyond the
// control's rectangle. The copy grows where its text flows: a wrapping text down, a single line right (both ways when
// centred), a vertically centred text up as much as down; a push button's frame, following the copy's edge, is left
// out.
bool TextShowsWhole(HWND h) {
    const LONG style = ::GetWindowLongW(h, GWL_STYLE);
    const bool bButton = ClassOf(h) == L"Button", bPush = bButton && (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
    const bool bWraps = bButton ? (style & BS_MULTILINE) != 0 : (style & SS_TYPEMASK) <= SS_RIGHT;
    const RECT rc = InParent(h);
    const int left = bPush && !bWraps ? 300 : 0, right = bWraps ? 0 : 300, top = bButton ? 100 : 0, bottom = 100;
    const int cx = rc.right - rc.left + left + right, cy = rc.bottom - rc.top + top + bottom;
    HWND hCopy = ::CreateWindowExW(::GetWindowLongW(h, GWL_EXSTYLE), ClassOf(h).c_str(), TextOf(h).c_str(),
                                   style & ~WS_VISIBLE, 0, 0, cx, cy, ::GetParent(h), nullptr, nullptr, nullptr);
    ::SendMessageW(hCopy, WM_SETFONT, ::SendMessageW(h, WM_GETFONT, 0, 0), FALSE);
    const auto copy = Painted(cx, cy, [&](HDC dc) {
        ::SendMessageW(hCopy, WM_PRINT, WPARAM(dc), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    });
    ::DestroyWindow(hCopy);
    const int frame = bPush ? 4 : 0;
    const COLORREF background = copy[size_t(cy - 1 - frame) * cx + frame];
    for (int y = frame; y < cy - frame; ++y)  // ink outside the control's own rectangle
        for (int x = frame; x < cx - frame; ++x)
            if (!(x >= left && x < cx - right && y >= top && y < cy - bottom) && copy[size_t(y) * cx + x] != background)
                return false;
    return true;
}

// A wrapping label's text as painted, in lines of its font: how many its ink spans, and whether an empty line is left
// under it; nothing for any other control.
struct Lines { int inked = 0; bool emptyUnder = false; };
Lines LinesOf(HWND h) {
    if (ClassOf(h) != L"Static" || (::GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) > SS_RIGHT) return {};
    const RECT rc = InParent(h);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    const auto shown =
        Painted(cx, cy, [&](HDC dc) { ::SendMessageW(h, WM_PRINT, WPARAM(dc), PRF_CLIENT | PRF_ERASEBKGND); });
    const auto blank = [&](int y) {
        const auto row = shown.begin() + y * cx;
        return std::all_of(row, row + cx, [&](COLORREF c) { return c == shown.back(); });
    };
    int top = 0, bottom = cy;  // the first row of ink, and the row after the last
    while (top < cy && blank(top)) ++top;
    while (bottom > top && blank(bottom - 1)) --bottom;
    HDC dc = ::GetDC(h);  // a common DC, given back reset
    ::SelectObject(dc, HFONT(::SendMessageW(h, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    ::ReleaseDC(h, dc);
    return {(bottom - top + tm.tmHeight - 1) / tm.tmHeight, cy - bottom >= tm.tmHeight};
}

// Finds the expectations for the screen this run is really on, as run-on-screen.sh made it (WxH:DPI).
struct ScreenTest : testing::Test {
    void SetUp() override {
        int cx = 0, cy = 0, dpi = 0;
        std::sscanf(std::getenv("BRUMVALE_SCREEN") ? std::getenv("BRUMVALE_SCREEN") : "", "%dx%d:%d", &cx, &cy, &dpi);
        for (const Screen& s : kScreens)
            if (s.cx == cx && s.cy == cy && s.dpi == dpi) m_pScreen = &s;
        ASSERT_NE(m_pScreen, nullptr) << "no expectations for a screen " << cx << "x" << cy << " at " << dpi << " dpi";
    }
    const Screen* m_pScreen = nullptr;
    static RECT WorkArea() {
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return work;
    }
};

// The program says that it draws itself at the screen's density (its manifest, which this test program shares): the
// system shows it the screen as it is, not one of 96 dpi that it would blow up.
TEST_F(ScreenTest, SeesTheScreenAsItIs) {
    HDC hdc = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(hdc, LOGPIXELSX);
    ::ReleaseDC(nullptr, hdc);
    EXPECT_EQ(std::tuple(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), dpi, ::IsProcessDPIAware()),
              std::tuple(m_pScreen->cx, m_pScreen->cy, m_pScreen->dpi, TRUE));
}

// Every window as the table has it, its fonts at this screen's density; where each lies is the fitting's (below).
TEST_F(ScreenTest, EveryWindowShowsItsFacts) { EXPECT_EQ(WalkWindows(ExpectFacts), TableTopics()); }

// The header's rule hangs below the band, a pixel thick per 96 dpi; the input panel's child on all but square screens.
TEST_F(ScreenTest, HeaderRuleAndSipPrefFitTheScreen) {
    CToolkitHost host(L"Header");
    RunModal(host, {[&] {
        EXPECT_EQ(::FindWindowExW(host.m_hWnd, nullptr, L"SIPPREF", nullptr) != nullptr, m_pScreen->sipPref);
        // Small enough to stay on the screen, where its pixels can be read back.
        SizeClient(host.m_hWnd, m_pScreen->cx - 40, m_pScreen->cy - 60);
        const int band = 24 * m_pScreen->dpi / 96;
        const std::vector<int> rule = m_pScreen->dpi == 96 ? std::vector{band} : std::vector{band, band + 1};
        EXPECT_EQ(RowsOf(host.m_hWnd, m_pScreen->cx - 50, RGB(0, 0, 0), 2 * band), rule);
        host.EndDialog(IDCANCEL);
    }});
}

// A sheet taller than the screen is fitted to it: its buttons on the screen under its tabs, the pages (the first made
// before the fitting) filling the tabs' display area; the timeout picker on its placeholder, 20 pixels high at the
// scale.
TEST_F(ScreenTest, SheetButtonsStayOnTheScreenUnderTheTabs) {
    COptionsSheet sheet(L"Options", nullptr, 1);
    RunModal(sheet, {[&] {
                 HWND hPage = sheet.m_screenSaverPage.m_hWnd;
                 const RECT rc = InParent(::GetDlgItem(hPage, kTimeoutPlaceholder));
                 EXPECT_EQ(Edges(InParent(::GetDlgItem(hPage, kTimeoutPicker))),
                           Edges({rc.left, rc.top, rc.right, rc.top + 20 * m_pScreen->scale}));
                 RECT display = ClientOf(sheet.GetTabControl());  // where each page lies
                 TabCtrl_AdjustRect(sheet.GetTabControl(), FALSE, &display);
                 ::MapWindowPoints(sheet.GetTabControl(), sheet.m_hWnd, reinterpret_cast<POINT*>(&display), 2);
                 EXPECT_EQ(Edges(InParent(hPage)), Edges(display));
                 // The leftmost button on the screen; a fitted sheet's tabs start in its corner, span its width and end
                 // 2 pixels above its buttons.
                 const RECT tabs = InParent(sheet.GetTabControl()), ok = InParent(sheet.GetDlgItem(IDOK));
                 EXPECT_TRUE(Within(OnScreen(sheet.GetDlgItem(IDOK)), WorkArea()));
                 const RECT fittedTabs{0, 0, ClientOf(sheet.m_hWnd).right, ok.top - 2};
                 EXPECT_TRUE(m_pScreen->fitted ? Edges(tabs) == Edges(fittedTabs) : tabs.bottom <= ok.top)
                     << testing::PrintToString(Edges(tabs));
                 sheet.SetActivePage(2);  // the skin list keeps 7 by 5 pixels inside the page and its bar, at scale
                 HWND hSkins = sheet.m_skinsPage.m_hWnd;
                 const RECT list = InParent(::GetDlgItem(hSkins, kSkinList));
                 const std::vector<LONG> margins{ClientOf(hSkins).right - list.right, BarTop(hSkins) - list.bottom};
                 EXPECT_EQ(std::vector({Edges(InParent(hSkins)), margins}),
                           std::vector({Edges(display), {7 * m_pScreen->scale, 5 * m_pScreen->scale}}));
                 PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL);
             }});
}

// Last: it changes the display mode, as turning the device does, and puts it back.
TEST_F(ScreenTest, ScaleFactorFollowsTheFirstScreenWidthOnly) {
    // The desktop offers only modes no larger than itself: one across 400 pixels on the wide screens.
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = static_cast<DWORD>(m_pScreen->cx);
    const auto across = [&] { return (mode.dmPelsWidth > 400) != (m_pScreen->cx > 400); };
    for (DWORD i = 0; !across() && ::EnumDisplaySettingsW(nullptr, i, &mode); ++i) {}
    if (!across()) GTEST_SKIP() << "no display mode across 400 pixels from " << m_pScreen->cx;
    ASSERT_EQ(::ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr), DISP_CHANGE_SUCCESSFUL);
    const int cxChanged = ::GetSystemMetrics(SM_CXSCREEN), scaleAfter = GetScreenScale();
    ::ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
    EXPECT_EQ(std::pair(cxChanged, scaleAfter), std::pair(static_cast<int>(mode.dmPelsWidth), m_pScreen->scale));
}

// Each dialog covers the work area and anchors its controls to its edges at scale, also when resized to half the
// screen's width, where the exceptions' label takes another line and pushes the list down.
TEST_F(ScreenTest, DialogsFillTheWorkAreaAndAnchorTheirControls) {
    const int s = m_pScreen->scale;
    auto fillsThenFollows = [&](HWND hDlg, bool picker) {
        EXPECT_EQ(Edges(OnScreen(hDlg)), Edges(WorkArea()));
        for (bool resized : {false, true}) {
            if (resized) SizeClient(hDlg, m_pScreen->cx / 2, m_pScreen->cy * 3 / 4);
            const RECT client = ClientOf(hDlg);
            RECT button{0, 0, 50, 12};
            ::MapDialogRect(hDlg, &button);  // the picker's buttons keep their template size
            const LONG W = client.right, w = button.right, h = button.bottom;
            const HWND hBar = ::GetDlgItem(hDlg, kCommandBar);
            const LONG H = hBar ? BarTop(hDlg) : client.bottom;  // above the bar
            auto at = [&](int id) { return Edges(InParent(::GetDlgItem(hDlg, id))); };
            if (picker) {
                EXPECT_EQ(at(kPickerTree), Edges({-s, 24 * s, W + s, H - 30 * s}));
                EXPECT_EQ(at(IDCANCEL), Edges({W - 5 * s - w, H - 5 * s - h, W - 5 * s, H - 5 * s}));
                EXPECT_EQ(at(IDOK), Edges({W - 105 * s - w, H - 5 * s - h, W - 105 * s, H - 5 * s}));
            } else {  // right and bottom edges
                const auto list = at(kExceptionList);
                EXPECT_EQ(std::vector({list[2], list[3], at(kAddButton)[2], at(kRemoveButton)[2]}),
                          std::vector({W - 95 * s, H - 5 * s, W - 10 * s, W - 10 * s}));
            }
        }
    };
    CExceptionsDialog dialog;
    RunModal(dialog, {[&] {
        fillsThenFollows(dialog.m_hWnd, false);
        OnNextIdle([&] {
            fillsThenFollows(AfxGetModalWnd(), true);
            ::SendMessageW(AfxGetModalWnd(), WM_COMMAND, IDCANCEL, 0);
        });
        ::SendMessageW(dialog.m_hWnd, WM_COMMAND, kAddButton, 0);
        ::SendMessageW(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    }});
}

// Every window shows its texts whole and inside it, its controls under the band and apart; a long message box narrowed
// to the screen, leaving nothing made behind.
constexpr wchar_t kBoxText[] =
    L"A message box text of some length, which on a desktop would stand on one line much wider than the screen of a "
    L"handheld.\nAnd a second line.";
TEST_F(ScreenTest, EveryTextShowsWholeAndNoControlCoversAnother) {
    // On a screen too short for a window, its bar lies over what does not fit above it.
    const bool barCovers = m_pScreen->cy < 320, tight = m_pScreen->dpi == 96;
    const int band = 24 * m_pScreen->dpi / 96;
    const auto laidOut = [&](HWND hWnd) {
        const RECT client = ClientOf(hWnd);
        std::vector<std::pair<HWND, bool>> seen;  // with whether it shows a text
        for (HWND h = ::GetWindow(hWnd, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
            const RECT rc = InParent(h);
            if (!::IsWindowVisible(h) || ::IsRectEmpty(&rc) || (barCovers && ::GetDlgCtrlID(h) == kCommandBar))
                continue;
            const bool text = HasText(h);
            EXPECT_TRUE(!text || TextShowsWhole(h)) << "short " << ::GetDlgCtrlID(h);
            // A label of one or two words on one line; at 96 dpi, where the templates were drawn, no empty line under a
            // label's text (at twice the density a text can need a line less than its label was drawn for).
            const Lines lines = LinesOf(h);
            const std::wstring words = TextOf(h);
            EXPECT_TRUE(lines.inked <= 1 || std::count(words.begin(), words.end(), L' ') > 1)
                << "broken " << ::GetDlgCtrlID(h);
            EXPECT_FALSE(text && tight && lines.emptyUnder) << "too tall " << ::GetDlgCtrlID(h);
            EXPECT_TRUE(!text || (rc.left >= 0 && rc.right <= client.right)) << "outside " << ::GetDlgCtrlID(h);
            EXPECT_GE(rc.top, band + 1) << "under the band " << ::GetDlgCtrlID(h);
            for (auto [other, otherText] : seen) {
                RECT overlap{}, rcOther = InParent(other);
                EXPECT_FALSE((text || otherText) && ::IntersectRect(&overlap, &rc, &rcOther))
                    << ::GetDlgCtrlID(h) << " over " << ::GetDlgCtrlID(other);
            }
            seen.emplace_back(h, text);
        }
    };
    COptionsSheet sheet(L"Options", nullptr, 0);
    for (int next : {1, 2, 3})  // each page in turn, then Cancel
        OnNextIdle([&, next] {
            laidOut(sheet.GetPage(next - 1)->m_hWnd);
            if (next < 3) sheet.SetActivePage(next);
            else PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL);
        });
    sheet.DoModal();
    CExceptionsDialog exceptions;
    CAdvancedOptionsDialog advanced;
    for (CDialog* pDialog : std::initializer_list<CDialog*>{&exceptions, &advanced}) {
        RunModal(*pDialog, {[&] {
            laidOut(pDialog->m_hWnd);
            pDialog->EndDialog(IDCANCEL);
        }});
    }
    OnNextIdle([&] {
        HWND hBox = ::FindWindowW(L"#32770", L"Box");  // on the screen, its button in it; centred where narrowed
        const RECT ok = InParent(::GetDlgItem(hBox, IDOK)), box = OnScreen(hBox), work = WorkArea();
        EXPECT_TRUE(Within(box, work) && Within(OnScreen(::GetDlgItem(hBox, IDOK)), box));
        const bool bNarrowed = box.right - box.left == work.right - work.left;
        EXPECT_TRUE(!bNarrowed || std::abs(ok.left - (ClientOf(hBox).right - ok.right)) <= 1) << ok.left;
        // Whole, and all of it in the box; where narrowed, the text as tall as its lines are with the icon's margin on
        // its right too.
        RECT icon{}, text{};
        for (HWND h = ::GetWindow(hBox, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
            EXPECT_TRUE(!HasText(h) || (TextShowsWhole(h) && Within(InParent(h), ClientOf(hBox)))) << ::GetDlgCtrlID(h);
            if (ClassOf(h) == L"Static") (HasText(h) ? text : icon) = InParent(h);
        }
        HDC dc = ::GetDC(hBox);
        ::SelectObject(dc, HFONT(::SendMessageW(hBox, WM_GETFONT, 0, 0)));
        RECT lines{0, 0, ClientOf(hBox).right - text.left - icon.left, 0};
        ::DrawTextW(dc, kBoxText, -1, &lines, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ::ReleaseDC(hBox, dc);
        EXPECT_TRUE(!bNarrowed || text.bottom - text.top == lines.bottom) << text.bottom - text.top;
        ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
    });
    faults::Arm();  // what the fitting makes, counted
    MessageBoxOnScreen(nullptr, kBoxText, L"Box", MB_OK | MB_ICONINFORMATION);
    faults::Disarm();
    EXPECT_EQ(faults::Live(), (std::map<std::string, int>{}));
}
