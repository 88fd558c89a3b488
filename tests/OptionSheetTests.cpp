// The options sheet and the option page base run for real: tabs, every way the run ends, the
// pages' command bars, swallowed notifications and the position correction.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "tests/Harness.h"
#include "app/OptionsSheet.h"
#include "resources/resource.h"
#include "toolkit/ToolkitFonts.h"

namespace {

// An option page on a real template that records, in order, what reaches its handlers.
class CProbePage : public COptionPage {
public:
    CProbePage(UINT nIDTemplate, UINT nIDCaption, std::string& log, char name)
        : COptionPage(nIDTemplate, nIDCaption, L"file:probe"), m_log(log), m_name(1, name) {}
    BOOL m_initResult = -1;
    const CDialogAdapter& Adapter() const { return m_chrome.m_adapter; }

protected:
    void Record(const char* what) { m_log += m_name + ":" + what + " "; }
    BOOL OnInitDialog() override { return m_initResult = COptionPage::OnInitDialog(); }
    void OnOK() override { Record("ok"), COptionPage::OnOK(); }
    void OnCancel() override { Record("cancel"), COptionPage::OnCancel(); }
    LRESULT OnLButtonDown(WPARAM, LPARAM) { return Record("tap"), 0; }
    void OnNotified(NMHDR* pHdr, LRESULT* pResult) { Record(std::to_string(static_cast<int>(pHdr->code)).c_str()), *pResult = 0; }
    DECLARE_MESSAGE_MAP()

private:
    std::string& m_log;
    std::string m_name;
};

BEGIN_MESSAGE_MAP(CProbePage, COptionPage)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_NOTIFY(NM_CLICK, IDC_GAME_PHONE_EDITION, OnNotified)
    ON_NOTIFY(NM_FIRST - 16, IDC_GAME_PHONE_EDITION, OnNotified)
    ON_NOTIFY(NM_FIRST - 50, IDC_GAME_PHONE_EDITION, OnNotified)
    ON_NOTIFY(PSN_APPLY, IDC_GAME_PHONE_EDITION, OnNotified)
END_MESSAGE_MAP()

class CProbeSheet : public CTranscriberFriendlyPropertySheet {
public:
    CProbeSheet() : CTranscriberFriendlyPropertySheet(L"Probe", nullptr, 0) {
        for (CProbePage* page : {&game, &screenSaver, &skins}) AddPage(page);
    }
    std::string log;
    CProbePage game{IDD_GAME_PAGE, IDS_GAME_TAB, log, 'G'};
    CProbePage screenSaver{IDD_SCREENSAVER_PAGE, IDS_SCREENSAVER_TAB, log, 'S'};
    CProbePage skins{IDD_SKINS_PAGE, IDS_SKINS_TAB, log, 'K'};
};

class OptionSheet : public testing::Test {
protected:
    void TearDown() override { TakeQuitMessage(); }
};

HWND Box(CPropertyPage& page) { return page.GetDlgItem(IDC_GAME_PHONE_EDITION); }

}  // namespace

TEST_F(OptionSheet, OpensOnGameWithThreeTabsInOrder) {
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    RunModal(sheet, {[&] {
                 EXPECT_EQ(WindowText(sheet.m_hWnd), L"Qov Brumvale Options");
                 HWND hTab = sheet.GetTabControl();
                 ASSERT_EQ(::SendMessageW(hTab, TCM_GETITEMCOUNT, 0, 0), 3);
                 EXPECT_EQ(TabText(hTab, 0) + L"|" + TabText(hTab, 1) + L"|" + TabText(hTab, 2), L"Game|Screen Saver|Skins");
                 EXPECT_EQ(PropSheet_GetCurrentPageHwnd(sheet.m_hWnd), sheet.m_gamePage.m_hWnd);
                 // A page's window exists only once its tab has been chosen.
                 EXPECT_EQ(sheet.m_screenSaverPage.m_hWnd, nullptr);
                 EXPECT_EQ(sheet.m_skinsPage.m_hWnd, nullptr);
                 PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL);
             }});
    EXPECT_EQ(sheet.m_hWnd, nullptr);
}

// Every way the run ends, after the Skins tab was visited: which pages ran OK or Cancel, the
// result, and whether a quit message is left for whoever looks next.
TEST_F(OptionSheet, EndsOnceAPageClosedOrOnQuitAndNeverOtherwise) {
    struct Case {
        const char* name;
        void (*end)(CProbeSheet&);
        const char* log;
        INT_PTR result;
        BOOL pageClosed;
        bool quitLeft;
    } cases[] = {
        {"OK", [](CProbeSheet& s) { PressSheetButton(s.m_hWnd, PSBTN_OK); }, "G:ok K:ok ", IDOK, TRUE, false},
        {"sheet's Cancel", [](CProbeSheet& s) { PressSheetButton(s.m_hWnd, PSBTN_CANCEL); }, "G:cancel K:cancel ",
         IDCANCEL, TRUE, false},
        {"page's Cancel command", [](CProbeSheet& s) { ::SendMessageW(s.skins.m_hWnd, WM_COMMAND, IDCANCEL, 0); },
         "K:cancel ", IDCANCEL, TRUE, false},
        {"tap on the bar's Cancel", [](CProbeSheet& s) {
             HWND hBar = s.skins.GetCommandBar().m_hWnd;
             RECT rc{};
             ::SendMessageW(hBar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
             ClickAt(hBar, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
         }, "K:cancel ", IDCANCEL, TRUE, false},
        {"Escape key", [](CProbeSheet& s) {
             ::SetFocus(s.skins.GetDlgItem(IDC_SKINS_LIST));
             ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
         }, "G:cancel K:cancel ", IDCANCEL, TRUE, false},
        {"close", [](CProbeSheet& s) { ::SendMessageW(s.m_hWnd, WM_CLOSE, 0, 0); }, "G:cancel K:cancel ", IDCANCEL,
         TRUE, false},
        {"quit message", [](CProbeSheet&) { ::PostQuitMessage(7); }, "", IDCANCEL, FALSE, true},
        {"loop ended", [](CProbeSheet& s) { s.EndModalLoop(IDCANCEL); }, "", IDCANCEL, FALSE, false},
    };
    for (const Case& c : cases) {
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
        EXPECT_EQ(sheet.m_hWnd, nullptr);
    }
    // The options sheet puts a quit message in front of the default close: no page's OK runs.
    COptionsSheet options(L"Qov Brumvale Options", nullptr, 0);
    RunModal(options, {[&] { ::SendMessageW(options.m_hWnd, WM_CLOSE, 0, 0); }});
    EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(OptionSheet, OnlyThePageInFrontShowsItsBarAndBringsItToTheFront) {
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    COptionPage* pages[] = {&sheet.m_gamePage, &sheet.m_screenSaverPage, &sheet.m_skinsPage};
    RunModal(sheet, {[&] { sheet.SetActivePage(1); }, [&] { sheet.SetActivePage(2); },
                     [&] {
                         // Put behind the page's controls, it comes back in front of them.
                         HWND hBar = sheet.m_screenSaverPage.GetCommandBar().m_hWnd;
                         ::SetWindowPos(hBar, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                         sheet.SetActivePage(1);
                     },
                     [&] {
                         EXPECT_EQ(::GetWindow(sheet.m_screenSaverPage.m_hWnd, GW_CHILD),
                                   sheet.m_screenSaverPage.GetCommandBar().m_hWnd);
                         for (COptionPage* page : pages) {
                             HWND hBar = page->GetCommandBar().m_hWnd;
                             ASSERT_NE(hBar, nullptr);
                             EXPECT_EQ(::GetDlgCtrlID(hBar), 0xE800);
                             EXPECT_EQ(::IsWindowVisible(hBar) != FALSE, page == &sheet.m_screenSaverPage);
                             // One text button "Cancel" sending IDCANCEL, 23 x 22.
                             ASSERT_EQ(::SendMessageW(hBar, TB_BUTTONCOUNT, 0, 0), 1);
                             TBBUTTON button{};
                             wchar_t text[16] = {};
                             ::SendMessageW(hBar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button));
                             ::SendMessageW(hBar, TB_GETBUTTONTEXTW, IDCANCEL, reinterpret_cast<LPARAM>(text));
                             EXPECT_EQ(button.iBitmap, I_IMAGENONE);
                             EXPECT_EQ(std::wstring(text), L"Cancel");
                             EXPECT_EQ(::SendMessageW(hBar, TB_GETBUTTONSIZE, 0, 0), MAKELONG(23, 22));
                         }
                         PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL);
                     }});
}

// The page's chrome: its header over the whole width from its first WM_SIZE, the toolkit fonts,
// the input panel's child, the main window kept enabled and taps on the background swallowed.
TEST_F(OptionSheet, APageCarriesTheChromeFromItsFirstMessage) {
    CProbeSheet sheet;
    // Standing for the sheet's owner, disabled while it runs.
    HWND hMain = ::CreateWindowExW(0, L"STATIC", L"main", WS_POPUP | WS_DISABLED, 0, 0, 9, 9, nullptr, nullptr,
                                   nullptr, nullptr);
    CWnd main;
    main.Attach(hMain);
    AfxGetApp()->m_pMainWnd = &main;
    RunModal(sheet, {[&] {
                 CProbePage& page = sheet.game;
                 RECT rc{};
                 ::GetClientRect(page.m_hWnd, &rc);
                 EXPECT_EQ(page.Adapter().m_strTitle, L"Qov Brumvale Options");
                 EXPECT_EQ(page.Adapter().m_nHeaderWidth, rc.right);
                 EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(Box(page), WM_GETFONT, 0, 0)), GetControlFont());
                 EXPECT_NE(::FindWindowExW(page.m_hWnd, nullptr, L"SIPPREF", nullptr), nullptr);
                 EXPECT_TRUE(::IsWindowEnabled(hMain));
                 ClickAt(page.m_hWnd, rc.right - 3, rc.bottom - 3);  // no control there
                 const LRESULT checked = ::SendMessageW(Box(page), BM_GETCHECK, 0, 0);
                 ClickAt(Box(page), 5, 5);
                 EXPECT_NE(::SendMessageW(Box(page), BM_GETCHECK, 0, 0), checked);  // controls still take theirs
                 PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL);
             }});
    AfxGetApp()->m_pMainWnd = nullptr;
    main.Detach();
    ::DestroyWindow(hMain);
    EXPECT_EQ(sheet.log, "G:cancel ");  // no tap reached the page's map
}

// -16 and -50 never reach the page; other codes go to the map, a sheet's code from a control too.
TEST_F(OptionSheet, NotificationsFromControlsReachTheMapButTwoHandheldOnes) {
    struct Case {
        UINT code;
        LRESULT result;
        const char* log;
    } cases[] = {{NM_FIRST - 16, 1, ""}, {NM_FIRST - 50, 1, ""}, {NM_CLICK, 0, "G:-2 "}, {PSN_APPLY, 0, "G:-202 "}};
    for (const Case& c : cases) {
        CProbeSheet sheet;
        LRESULT result = -1;
        RunModal(sheet, {[&] {
                     NMHDR hdr{Box(sheet.game), IDC_GAME_PHONE_EDITION, c.code};
                     result = ::SendMessageW(sheet.game.m_hWnd, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
                     sheet.EndModalLoop(IDCANCEL);
                 }});
        EXPECT_EQ(result, c.result) << static_cast<int>(c.code);
        EXPECT_EQ(sheet.log, c.log) << static_cast<int>(c.code);
    }
}

TEST_F(OptionSheet, APageWhoseBarCannotBeMadeReportsItAndTheSheetGoesOn) {
    CRefuseWindows noToolbars(TOOLBARCLASSNAMEW);
    CProbeSheet sheet;
    RunModal(sheet, {[&] { PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL); }});
    EXPECT_EQ(sheet.game.m_initResult, FALSE);
    EXPECT_EQ(sheet.game.GetCommandBar().m_hWnd, nullptr);
}

TEST_F(OptionSheet, APageMovedAboveTheSheetComesBackShorterKeepingItsBottom) {
    CProbeSheet sheet;
    RECT before{}, after{};
    RunModal(sheet, {[&] {
                 before = WindowRectInParent(sheet.game.m_hWnd);
                 ::MoveWindow(sheet.game.m_hWnd, before.left, -12, before.right - before.left, before.bottom - before.top, TRUE);
                 after = WindowRectInParent(sheet.game.m_hWnd);
                 sheet.EndModalLoop(IDCANCEL);
             }});
    const RECT expected{before.left, 0, before.right, -12 + before.bottom - before.top};
    EXPECT_TRUE(::EqualRect(&after, &expected)) << after.top << " " << after.bottom;
}

TEST_F(OptionSheet, TabsLoseMultiLineOnlyWhenNotStacked) {
    for (BOOL stacked : {TRUE, FALSE}) {
        CProbeSheet sheet;
        sheet.EnableStackedTabs(stacked);
        LONG_PTR style = 0;
        RunModal(sheet, {[&] { style = ::GetWindowLongPtrW(sheet.GetTabControl(), GWL_STYLE), sheet.EndModalLoop(IDCANCEL); }});
        EXPECT_EQ((style & TCS_MULTILINE) != 0, stacked != FALSE);
    }
}

TEST_F(OptionSheet, CtrlTabChangesTabsAlsoFromInsideAPage) {
    auto press = [](WORD vk) {
        INPUT keys[4] = {{INPUT_KEYBOARD, {.ki = {VK_CONTROL, 0, 0, 0, 0}}}, {INPUT_KEYBOARD, {.ki = {vk, 0, 0, 0, 0}}},
                         {INPUT_KEYBOARD, {.ki = {vk, 0, KEYEVENTF_KEYUP, 0, 0}}},
                         {INPUT_KEYBOARD, {.ki = {VK_CONTROL, 0, KEYEVENTF_KEYUP, 0, 0}}}};
        ::SendInput(4, keys, sizeof(INPUT));
    };
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    int afterFirst = -1, afterSecond = -1;
    bool focusShown = false;
    RunModal(sheet, {[&] { ::SetForegroundWindow(sheet.m_hWnd), ::SetFocus(Box(sheet.m_gamePage)), press(VK_TAB); },
                     [&] {
                         afterFirst = sheet.GetActiveIndex();
                         // The focus left the page that went away, so F1 and the keys act on what is shown.
                         HWND hFocus = ::GetFocus();
                         focusShown = ::IsChild(sheet.m_hWnd, hFocus) && !::IsChild(sheet.m_gamePage.m_hWnd, hFocus);
                         press(VK_NEXT);
                     },
                     [&] { afterSecond = sheet.GetActiveIndex(), PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL); }});
    EXPECT_EQ(afterFirst, 1);
    EXPECT_EQ(afterSecond, 2);
    EXPECT_TRUE(focusShown);
}
