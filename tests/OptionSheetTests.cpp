// The options sheet and the option page base run for real: tabs, every way the run ends, the
// pages' command bars, routing through the chrome, swallowed notifications, the move correction.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/Harness.h"
#include "app/OptionsSheet.h"
#include "resources/resource.h"

namespace {

// An option page on a real template that records, in order, what reaches its handlers.
class CProbePage : public COptionPage {
public:
    CProbePage(UINT nIDTemplate, UINT nIDCaption, std::string& log, char name)
        : COptionPage(nIDTemplate, nIDCaption, L"file:probe"), m_log(log), m_name(name) {}
    BOOL m_initResult = -1;
    const CDialogAdapter& Adapter() const { return m_chrome.m_adapter; }

protected:
    void Record(const std::string& what) { m_log += m_name + (":" + what + " "); }
    BOOL OnInitDialog() override { return m_initResult = COptionPage::OnInitDialog(); }
    void OnOK() override { Record("ok"), COptionPage::OnOK(); }
    void OnCancel() override { Record("cancel"), COptionPage::OnCancel(); }
    LRESULT OnLButtonDown(WPARAM, LPARAM) { return Record("tap"), 0; }
    void OnNotified(NMHDR* pHdr, LRESULT* pResult) { Record(std::to_string(int(pHdr->code))), *pResult = 0; }
    DECLARE_MESSAGE_MAP()
    std::string& m_log;
    char m_name;
};

BEGIN_MESSAGE_MAP(CProbePage, COptionPage)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_NOTIFY(NM_CLICK, IDC_GAME_PHONE_EDITION, OnNotified)
    ON_NOTIFY(NM_FIRST - 16, IDC_GAME_PHONE_EDITION, OnNotified)
    ON_NOTIFY(NM_FIRST - 50, IDC_GAME_PHONE_EDITION, OnNotified)
    ON_NOTIFY(PSN_APPLY, IDC_GAME_PHONE_EDITION, OnNotified)
END_MESSAGE_MAP()

struct CProbeSheet : CTranscriberFriendlyPropertySheet {
    CProbeSheet() : CTranscriberFriendlyPropertySheet(L"Probe", nullptr, 0) {
        for (CProbePage* page : {&game, &screenSaver, &skins}) AddPage(page);
    }
    std::string log;
    CProbePage game{IDD_GAME_PAGE, IDS_GAME_TAB, log, 'G'};
    CProbePage screenSaver{IDD_SCREENSAVER_PAGE, IDS_SCREENSAVER_TAB, log, 'S'};
    CProbePage skins{IDD_SKINS_PAGE, IDS_SKINS_TAB, log, 'K'};
};

HWND Box(CPropertyPage& page) { return page.GetDlgItem(IDC_GAME_PHONE_EDITION); }

}  // namespace

// Tabs in order, a page made only once chosen, and exactly one bar shown: the front page's,
// brought in front of its controls.
TEST(OptionSheet, OpensOnGameAndShowsOnlyTheFrontPagesBar) {
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    auto bar = [](COptionPage& page) {  // id, shown or not, buttons, first among the page's children
        HWND h = page.GetCommandBar().m_hWnd;
        return std::to_wstring(::GetDlgCtrlID(h)) + (::IsWindowVisible(h) ? L" shown " : L" ") + BarButtons(h) +
               (::GetWindow(page.m_hWnd, GW_CHILD) == h ? L" first|" : L"|");
    };
    std::wstring bars;
    RunModal(sheet, {[&] {
                         wchar_t tabs[4][16] = {};
                         for (int i = 0; i < 4; ++i) {
                             TCITEMW item{TCIF_TEXT, 0, 0, tabs[i], 16, 0, 0};
                             ::SendMessageW(sheet.GetTabControl(), TCM_GETITEMW, i, LPARAM(&item));
                         }
                         EXPECT_EQ(std::wstring(tabs[0]) + L"|" + tabs[1] + L"|" + tabs[2] + L"|" + tabs[3],
                                   L"Game|Screen Saver|Skins|");
                         EXPECT_EQ(PropSheet_GetCurrentPageHwnd(sheet.m_hWnd), sheet.m_gamePage.m_hWnd);
                         EXPECT_EQ(sheet.m_skinsPage.m_hWnd, nullptr);
                         sheet.SetActivePage(1);
                     },
                     [&] { sheet.SetActivePage(2); },
                     [&] {
                         HWND hBar = sheet.m_screenSaverPage.GetCommandBar().m_hWnd;
                         ::SetWindowPos(hBar, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                         sheet.SetActivePage(1);
                     },
                     [&] {
                         bars = bar(sheet.m_gamePage) + bar(sheet.m_screenSaverPage) + bar(sheet.m_skinsPage);
                         PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL);
                     }});
    EXPECT_EQ(bars, L"59392 Cancel:2 23x22 first|59392 shown Cancel:2 23x22 first|59392 Cancel:2 23x22 first|");
}

// Every way the run ends, after the Skins tab was visited: which pages ran OK or Cancel, the
// result, and whether a quit message is left for whoever looks next.
TEST(OptionSheet, EndsOnceAPageClosedOrOnQuitAndNeverOtherwise) {
    const struct { const char* name; void (*end)(CProbeSheet&); const char* log; INT_PTR result; BOOL pageClosed;
                   bool quitLeft; } cases[] = {
        {"OK", [](CProbeSheet& s) { PressSheetButton(s.m_hWnd, PSBTN_OK); }, "G:ok K:ok ", IDOK, TRUE, false},
        {"sheet's Cancel", [](CProbeSheet& s) { PressSheetButton(s.m_hWnd, PSBTN_CANCEL); }, "G:cancel K:cancel ",
         IDCANCEL, TRUE, false},
        {"page's Cancel", [](CProbeSheet& s) { ::SendMessageW(s.skins.m_hWnd, WM_COMMAND, IDCANCEL, 0); }, "K:cancel ",
         IDCANCEL, TRUE, false},
        {"bar's Cancel", [](CProbeSheet& s) { TapBarButton(s.skins.GetCommandBar().m_hWnd); }, "K:cancel ", IDCANCEL,
         TRUE, false},
        {"Escape key", [](CProbeSheet& s) {
             ::SetFocus(s.skins.GetDlgItem(IDC_SKINS_LIST));
             ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
         },
         "G:cancel K:cancel ", IDCANCEL, TRUE, false},
        {"close", [](CProbeSheet& s) { ::SendMessageW(s.m_hWnd, WM_CLOSE, 0, 0); }, "G:cancel K:cancel ", IDCANCEL,
         TRUE, false},
        {"quit message", [](CProbeSheet&) { ::PostQuitMessage(7); }, "", IDCANCEL, FALSE, true},
        {"loop ended", [](CProbeSheet& s) { s.EndModalLoop(IDCANCEL); }, "", IDCANCEL, FALSE, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CProbeSheet sheet;
        bool alive = false;
        INT_PTR result = RunModal(sheet, {[&] { sheet.SetActivePage(2); }, [] {}, [] {},
                                          [&] { alive = ::IsWindow(sheet.m_hWnd), c.end(sheet); }});
        EXPECT_TRUE(alive);  // a few idle turns without a closing page do not end it
        EXPECT_EQ(sheet.log, c.log);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(sheet.m_bPageClosed, c.pageClosed);
        EXPECT_EQ(TakeQuitMessage(), c.quitLeft);
    }
    // The options sheet puts a quit message in front of the default close: no page's OK runs.
    COptionsSheet options(L"Qov Brumvale Options", nullptr, 0);
    RunModal(options, {[&] { ::SendMessageW(options.m_hWnd, WM_CLOSE, 0, 0); }});
    EXPECT_TRUE(TakeQuitMessage());
}

// Every message goes through the page's chrome: the header is sized from the first WM_SIZE, a
// tap on the background never reaches the page while its controls still take theirs, and the
// handheld's notifications -16 and -50 are swallowed while others, a sheet's code from a control
// too, reach the map.
TEST(OptionSheet, APageRoutesEveryMessageThroughItsChrome) {
    CProbeSheet sheet;
    std::vector<LRESULT> results;
    RunModal(sheet, {[&] {
                 RECT rc{};
                 ::GetClientRect(sheet.game.m_hWnd, &rc);
                 EXPECT_EQ(sheet.game.Adapter().m_strTitle, L"Qov Brumvale Options");
                 EXPECT_EQ(sheet.game.Adapter().m_nHeaderWidth, rc.right);
                 ClickAt(sheet.game.m_hWnd, rc.right - 3, rc.bottom - 3);  // no control there
                 ClickAt(Box(sheet.game), 5, 5);
                 EXPECT_EQ(::SendMessageW(Box(sheet.game), BM_GETCHECK, 0, 0), BST_CHECKED);
                 for (UINT code : {NM_FIRST - 16, NM_FIRST - 50, NM_CLICK, PSN_APPLY}) {
                     NMHDR hdr{Box(sheet.game), IDC_GAME_PHONE_EDITION, code};
                     results.push_back(::SendMessageW(sheet.game.m_hWnd, WM_NOTIFY, hdr.idFrom, LPARAM(&hdr)));
                 }
                 sheet.EndModalLoop(IDCANCEL);
             }});
    EXPECT_EQ(sheet.log, "G:-2 G:-202 ");
    EXPECT_EQ(results, (std::vector<LRESULT>{1, 1, 0, 0}));
}

// A page moved above the sheet comes back shorter, keeping its bottom; unstacked tabs lose
// TCS_MULTILINE; a page whose bar cannot be made says so and the sheet goes on.
TEST(OptionSheet, MoveCorrectionTabStyleAndAPageWithoutBar) {
    for (BOOL stacked : {TRUE, FALSE}) {
        CProbeSheet sheet;
        sheet.EnableStackedTabs(stacked);
        RECT before{}, after{};
        LONG_PTR style = 0;
        RunModal(sheet, {[&] {
                     before = WindowRectInParent(sheet.game.m_hWnd);
                     ::SetWindowPos(sheet.game.m_hWnd, nullptr, before.left, -12, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                     after = WindowRectInParent(sheet.game.m_hWnd);
                     style = ::GetWindowLongPtrW(sheet.GetTabControl(), GWL_STYLE);
                     sheet.EndModalLoop(IDCANCEL);
                 }});
        const RECT expected{before.left, 0, before.right, -12 + before.bottom - before.top};
        EXPECT_TRUE(::EqualRect(&after, &expected)) << after.top << " " << after.bottom;
        EXPECT_EQ((style & TCS_MULTILINE) != 0, stacked != FALSE);
    }
    CRefuseWindows noToolbars(TOOLBARCLASSNAMEW);
    CProbeSheet sheet;
    RunModal(sheet, {[&] { PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL); }});
    EXPECT_EQ(sheet.game.m_initResult, FALSE);
    EXPECT_EQ(sheet.game.GetCommandBar().m_hWnd, nullptr);
}
