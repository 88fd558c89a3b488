// Help on each page of the real sheet, through the real process start and the viewer's record.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "tests/Harness.h"
#include "tests/HelpViewerRun.h"
#include "app/OptionsSheet.h"

using namespace helpviewer_test;

TEST(PageHelp, EachPageAsksForItsOwnTopicAlsoThroughTheSheet) {
    struct Case {
        int tab;
        const wchar_t* expected;
    } cases[] = {
        {0, L"file:QovBrumvale.htm#options_game"},
        {1, L"file:QovBrumvale.htm#options_screensaver"},
        {2, L"file:QovBrumvale.htm#options_skins"},
    };
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    std::vector<std::vector<std::wstring>> toPage, toSheet;
    std::vector<LRESULT> answers;
    for (const Case& c : cases) {
        OnNextIdle([&, c] { sheet.SetActivePage(c.tab); });
        OnNextIdle([&] {
            HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, 0, nullptr, 0, {0, 0}};
            HWND hPage = PropSheet_GetCurrentPageHwnd(sheet.m_hWnd);
            {
                CViewerRun run;
                answers.push_back(::SendMessageW(hPage, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)));
                toPage.push_back(run.WaitDone() ? run.Recorded() : std::vector<std::wstring>{L"<viewer did not run>"});
            }
            {
                CViewerRun run;
                answers.push_back(::SendMessageW(sheet.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)));
                toSheet.push_back(run.WaitDone() ? run.Recorded() : std::vector<std::wstring>{L"<viewer did not run>"});
            }
        });
    }
    OnNextIdle([&] { ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); });
    sheet.DoModal();
    ASSERT_EQ(toPage.size(), 3u);
    ASSERT_EQ(toSheet.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(testing::Message() << "tab " << i);
        EXPECT_EQ(toPage[i], std::vector<std::wstring>{cases[i].expected});
        EXPECT_EQ(toSheet[i], std::vector<std::wstring>{cases[i].expected});
    }
    for (LRESULT answer : answers) EXPECT_EQ(answer, TRUE);
}
