// The options sheet run for real: tabs, the end of its run, Help routing, tab style.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "tests/Harness.h"
#include "app/OptionPage.h"
#include "app/OptionsSheet.h"
#include "resources/resource.h"

namespace {

// A page on a real template that counts what reaches it.
class CCountingPage : public CClosingPropertyPage {
public:
    using CClosingPropertyPage::CClosingPropertyPage;
    int okCount = 0, cancelCount = 0, helpCount = 0;

protected:
    void OnOK() override {
        ++okCount;
        CClosingPropertyPage::OnOK();
    }
    void OnCancel() override {
        ++cancelCount;
        CClosingPropertyPage::OnCancel();
    }
    BOOL OnHelpInfo(HELPINFO*) {
        ++helpCount;
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingPage, CClosingPropertyPage)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

class CCountingSheet : public CTranscriberFriendlyPropertySheet {
public:
    CCountingSheet() : CTranscriberFriendlyPropertySheet(L"Counting", nullptr, 0) {
        AddPage(&game);
        AddPage(&screenSaver);
        AddPage(&skins);
    }
    CCountingPage game{IDD_GAME_PAGE, IDS_GAME_TAB};
    CCountingPage screenSaver{IDD_SCREENSAVER_PAGE, IDS_SCREENSAVER_TAB};
    CCountingPage skins{IDD_SKINS_PAGE, IDS_SKINS_TAB};

    int TotalOk() const { return game.okCount + screenSaver.okCount + skins.okCount; }
};

void Press(CPropertySheet& sheet, int button) { ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, button, 0); }

class SheetTest : public testing::Test {
protected:
    void TearDown() override { TakeQuitMessage(); }
};

}  // namespace

TEST_F(SheetTest, OpensOnGameWithThreeTabsInOrder) {
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    HWND hSheet = nullptr;
    OnNextIdle([&] {
        hSheet = sheet.m_hWnd;
        EXPECT_EQ(WindowText(hSheet), L"Qov Brumvale Options");
        HWND hTab = sheet.GetTabControl();
        ASSERT_NE(hTab, nullptr);
        ASSERT_EQ(::SendMessageW(hTab, TCM_GETITEMCOUNT, 0, 0), 3);
        EXPECT_EQ(TabText(hTab, 0), L"Game");
        EXPECT_EQ(TabText(hTab, 1), L"Screen Saver");
        EXPECT_EQ(TabText(hTab, 2), L"Skins");
        EXPECT_EQ(sheet.GetActivePage(), &sheet.m_gamePage);
        EXPECT_EQ(PropSheet_GetCurrentPageHwnd(hSheet), sheet.m_gamePage.m_hWnd);
        EXPECT_EQ(WindowText(sheet.m_gamePage.GetDlgItem(IDC_GAME_PHONE_EDITION)), L"Enable phone edition support");
        // A page's window exists only once its tab has been chosen.
        EXPECT_EQ(sheet.m_screenSaverPage.m_hWnd, nullptr);
        EXPECT_EQ(sheet.m_skinsPage.m_hWnd, nullptr);
        Press(sheet, PSBTN_CANCEL);
    });
    sheet.DoModal();
    EXPECT_FALSE(::IsWindow(hSheet));
    EXPECT_EQ(sheet.m_hWnd, nullptr);
}

TEST_F(SheetTest, OkRunsEveryCreatedPageOnceAndNoOther) {
    CCountingSheet sheet;
    OnNextIdle([&] { sheet.SetActivePage(2); });
    OnNextIdle([&] { Press(sheet, PSBTN_OK); });
    INT_PTR result = sheet.DoModal();
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(sheet.game.okCount, 1);
    EXPECT_EQ(sheet.screenSaver.okCount, 0);  // its tab was never chosen
    EXPECT_EQ(sheet.skins.okCount, 1);
    EXPECT_TRUE(sheet.m_bPageClosed);
    EXPECT_FALSE(TakeQuitMessage());
}

TEST_F(SheetTest, EndsOnAnyWayOfCancellingWithoutOk) {
    struct Case {
        const char* name;
        void (*cancel)(CCountingSheet&);
    } cases[] = {
        {"sheet Cancel button", [](CCountingSheet& s) { Press(s, PSBTN_CANCEL); }},
        {"page Cancel command", [](CCountingSheet& s) { ::SendMessageW(s.game.m_hWnd, WM_COMMAND, IDCANCEL, 0); }},
        {"Escape key", [](CCountingSheet& s) {
             ::SetFocus(s.game.GetDlgItem(IDC_GAME_PHONE_EDITION));
             ::PostMessageW(s.game.GetDlgItem(IDC_GAME_PHONE_EDITION), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCountingSheet sheet;
        OnNextIdle([&] { c.cancel(sheet); });
        EXPECT_EQ(sheet.DoModal(), IDCANCEL);
        EXPECT_EQ(sheet.TotalOk(), 0);
        EXPECT_TRUE(sheet.m_bPageClosed);
        EXPECT_GE(sheet.game.cancelCount, 1);
    }
}

TEST_F(SheetTest, KeepsRunningUntilEndedOrQuit) {
    // Without a page closing, only the loop's own end or a quit message stops it.
    CCountingSheet sheet;
    bool aliveAfterIdleTurns = false;
    OnNextIdle([] {});
    OnNextIdle([] {});
    OnNextIdle([&] {
        aliveAfterIdleTurns = ::IsWindow(sheet.m_hWnd) != FALSE;
        ::PostQuitMessage(7);
    });
    sheet.DoModal();
    EXPECT_TRUE(aliveAfterIdleTurns);
    EXPECT_EQ(sheet.TotalOk(), 0);
    EXPECT_FALSE(sheet.m_bPageClosed);
    // The quit message stays for whoever looks next.
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);

    CCountingSheet ended;
    OnNextIdle([&] { ended.EndModalLoop(IDCANCEL); });
    ended.DoModal();
    EXPECT_FALSE(TakeQuitMessage());
    EXPECT_EQ(ended.TotalOk(), 0);
}

TEST_F(SheetTest, CloseEndsTheRunWithoutAnyOkAndTheOptionsSheetLeavesAQuit) {
    CCountingSheet counting;
    COptionsSheet options(L"Qov Brumvale Options", nullptr, 0);
    for (CPropertySheet* sheet : {static_cast<CPropertySheet*>(&counting), static_cast<CPropertySheet*>(&options)}) {
        OnNextIdle([&] { sheet->SetActivePage(2); });
        OnNextIdle([&] { ::SendMessageW(sheet->m_hWnd, WM_CLOSE, 0, 0); });
        sheet->DoModal();
        EXPECT_EQ(sheet->m_hWnd, nullptr);
        // Only the options sheet posts the quit message before the default close.
        EXPECT_EQ(TakeQuitMessage(), sheet == &options);
    }
    EXPECT_EQ(counting.TotalOk(), 0);
}

TEST_F(SheetTest, HelpGoesToThePageInFront) {
    CCountingSheet sheet;
    LRESULT answer = 0;
    OnNextIdle([&] { sheet.SetActivePage(2); });
    OnNextIdle([&] {
        HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, 0, nullptr, 0, {0, 0}};
        answer = ::SendMessageW(sheet.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        Press(sheet, PSBTN_CANCEL);
    });
    sheet.DoModal();
    EXPECT_EQ(answer, TRUE);
    EXPECT_EQ(sheet.skins.helpCount, 1);
    EXPECT_EQ(sheet.game.helpCount, 0);
    EXPECT_EQ(sheet.screenSaver.helpCount, 0);
}

TEST_F(SheetTest, TabsLoseMultiLineOnlyWhenNotStacked) {
    for (BOOL stacked : {TRUE, FALSE}) {
        SCOPED_TRACE(stacked ? "stacked" : "not stacked");
        CCountingSheet sheet;
        sheet.EnableStackedTabs(stacked);
        LONG_PTR after = -1;
        OnNextIdle([&] {
            after = ::GetWindowLongPtrW(::GetDlgItem(sheet.m_hWnd, 0x3020), GWL_STYLE);
            Press(sheet, PSBTN_CANCEL);
        });
        sheet.DoModal();
        if (stacked) EXPECT_TRUE(after & TCS_MULTILINE);
        else EXPECT_FALSE(after & TCS_MULTILINE);
    }
}

namespace {
void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD vk : keys) inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {vk, 0, 0, 0, 0}}});
    for (auto it = keys.end(); it != keys.begin();) inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {*--it, 0, KEYEVENTF_KEYUP, 0, 0}}});
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
}  // namespace

TEST_F(SheetTest, CtrlTabChangesTabsAlsoFromInsideAPage) {
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    int afterFirst = -1, afterSecond = -1;
    bool focusInSheet = false, focusOnHiddenPage = true;
    OnNextIdle([&] {
        ::SetForegroundWindow(sheet.m_hWnd);
        ::SetFocus(sheet.m_gamePage.GetDlgItem(IDC_GAME_PHONE_EDITION));
        PressKeys({VK_CONTROL, VK_TAB});
    });
    OnNextIdle([&] {
        afterFirst = sheet.GetActiveIndex();
        HWND hFocus = ::GetFocus();
        focusInSheet = hFocus == sheet.m_hWnd || ::IsChild(sheet.m_hWnd, hFocus);
        focusOnHiddenPage = ::IsChild(sheet.m_gamePage.m_hWnd, hFocus) != FALSE;
        PressKeys({VK_CONTROL, VK_NEXT});
    });
    OnNextIdle([&] {
        afterSecond = sheet.GetActiveIndex();
        Press(sheet, PSBTN_CANCEL);
    });
    sheet.DoModal();
    EXPECT_EQ(afterFirst, 1);
    EXPECT_EQ(afterSecond, 2);
    // The focus left the page that went away, so F1 and the keys act on what is shown.
    EXPECT_TRUE(focusInSheet);
    EXPECT_FALSE(focusOnHiddenPage);
}
