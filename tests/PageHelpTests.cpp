// Help on each page of the real sheet, through the real process start and the viewer's record.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/Harness.h"
#include "tests/HelpViewerRun.h"
#include "app/OptionsSheet.h"

using namespace helpviewer_test;

TEST(PageHelp, EachPageAsksForItsOwnTopicAlsoThroughTheSheet) {
    // By tab: Game, Screen Saver, Skins.
    const std::wstring expected[] = {L"file:QovBrumvale.htm#options_game\r\n",
                                     L"file:QovBrumvale.htm#options_screensaver\r\n",
                                     L"file:QovBrumvale.htm#options_skins\r\n"};
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    std::vector<std::wstring> recorded;  // by tab: Help sent to the page, then to the sheet
    auto help = [&](HWND hWnd) {
        HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, 0, nullptr, 0, {0, 0}};
        CViewerRun run;
        EXPECT_EQ(::SendMessageW(hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
        recorded.push_back(run.WaitDone() ? run.Recorded() : L"<viewer did not run>");
    };
    for (int tab = 0; tab < 3; ++tab) {
        OnNextIdle([&, tab] { sheet.SetActivePage(tab); });
        OnNextIdle([&] {
            help(PropSheet_GetCurrentPageHwnd(sheet.m_hWnd));
            help(sheet.m_hWnd);
        });
    }
    OnNextIdle([&] { ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); });
    sheet.DoModal();
    ASSERT_EQ(recorded.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(recorded[i], expected[i / 2]) << "tab " << i / 2 << (i % 2 ? ", Help to the sheet" : ", Help to the page");
    }
}
