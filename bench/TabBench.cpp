// Opening a tab of the options sheet: from a click on the tab until the page it brings to the
// front is painted, for the Screen Saver page against the Game page, in one process. Each round
// makes a fresh options sheet started on the Skins tab, so that neither page has a window yet,
// clicks the one tab and then the other (which of the two goes first alternates from round to
// round) and ends the sheet.
//
//   tab_bench [RUNS]
//
// The sheet runs in its own modal loop, which takes the click from the queue and dispatches it
// as it would the pen's. The loop asks ContinueModal after each message it dispatched; the
// first time the thread's queue is then empty, paint included, the page counts as painted.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "app/OptionsApp.h"
#include "app/OptionsSheet.h"
#include "bench/Timing.h"
#include "framework/WinApp.h"

namespace {

CWinApp g_benchApp(L"Tab Bench");

// The tabs, in the order the sheet adds them.
constexpr int kGameTab = 0;
constexpr int kScreenSaverTab = 1;
constexpr int kSkinsTab = 2;

// Before each click the queue must have stayed empty this long: what the X server sends in its
// own time (activation, focus) then lands before the click, not inside the span measured.
constexpr DWORD kSettleMilliseconds = 20;

// An options sheet that clicks the given tabs one after the other once its loop is idle, and
// ends once the last one's page is painted.
class CTabClickingSheet : public COptionsSheet {
public:
    explicit CTabClickingSheet(std::vector<int> tabs)
        : COptionsSheet(L"Qov Brumvale Options", nullptr, kSkinsTab), m_tabs(std::move(tabs)) {}

    std::vector<double> m_seconds;  // one per tab clicked, in the order clicked
    std::wstring m_strError;        // why the round went wrong; empty when it did not

protected:
    BOOL ContinueModal() override {
        if (!COptionsSheet::ContinueModal()) return FALSE;
        if (!m_strError.empty()) return FALSE;
        if (HIWORD(::GetQueueStatus(QS_ALLINPUT)) != 0) return TRUE;  // messages or paint waiting
        const double now = Now();
        if (m_bClicked) {
            m_bClicked = false;
            m_seconds.push_back(now - m_start);
            if (!CheckOpened(m_tabs[m_seconds.size() - 1])) return FALSE;
        }
        if (m_nNext == m_tabs.size()) return FALSE;
        // Nothing came within the settling time: click. Otherwise the loop takes what came.
        if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, kSettleMilliseconds, QS_ALLINPUT) != WAIT_TIMEOUT)
            return TRUE;
        return Click(m_tabs[m_nNext++]);
    }

private:
    std::vector<int> m_tabs;
    size_t m_nNext = 0;
    bool m_bClicked = false;
    double m_start = 0;

    bool Fail(const std::wstring& error) {
        m_strError = error;
        return false;
    }

    // A tap in the middle of the tab, posted to the tab control for the loop to take as it takes
    // the pen's.
    BOOL Click(int tab) {
        if (GetPage(tab)->m_hWnd != nullptr)
            return Fail(L"tab " + std::to_wstring(tab) + L"'s page was made before its click");
        HWND hTab = GetTabControl();
        RECT rc{};
        if (hTab == nullptr || !TabCtrl_GetItemRect(hTab, tab, &rc)) return Fail(L"no tab " + std::to_wstring(tab));
        const LPARAM middle = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        m_bClicked = true;
        m_start = Now();
        ::PostMessageW(hTab, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        ::PostMessageW(hTab, WM_LBUTTONUP, 0, middle);
        return TRUE;
    }

    // The click brought the tab's page to the front, and nothing of it waits to be painted.
    bool CheckOpened(int tab) {
        CPropertyPage* pPage = GetPage(tab);
        if (GetActiveIndex() != tab || pPage->m_hWnd == nullptr || !::IsWindowVisible(pPage->m_hWnd))
            return Fail(L"the click on tab " + std::to_wstring(tab) + L" did not bring its page to the front");
        if (::GetUpdateRect(pPage->m_hWnd, nullptr, FALSE))
            return Fail(L"tab " + std::to_wstring(tab) + L"'s page still waits to be painted");
        return true;
    }
};

struct Round {
    double game = 0, screenSaver = 0;
};

// One fresh sheet, the two tabs clicked in the order given; false when the round went wrong.
bool RunRound(bool bGameFirst, Round& round) {
    const std::vector<int> tabs = bGameFirst ? std::vector<int>{kGameTab, kScreenSaverTab}
                                             : std::vector<int>{kScreenSaverTab, kGameTab};
    CTabClickingSheet sheet(tabs);
    RunAsMainWindow(sheet);
    if (sheet.m_strError.empty() && sheet.m_seconds.size() != tabs.size())
        sheet.m_strError = L"the sheet ended after " + std::to_wstring(sheet.m_seconds.size()) + L" of its clicks";
    if (!sheet.m_strError.empty()) {
        std::fwprintf(stderr, L"%ls\n", sheet.m_strError.c_str());
        return false;
    }
    round.game = sheet.m_seconds[bGameFirst ? 0 : 1];
    round.screenSaver = sheet.m_seconds[bGameFirst ? 1 : 0];
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    g_benchApp.InitApplication(::GetModuleHandleW(nullptr));
    InitOptionsProgram();

    // An even number of rounds, so that each tab goes first as often as the other.
    int runs = argc > 1 ? std::max(6, _wtoi(argv[1])) : 20;
    runs += runs % 2;
    // One round in each order first, not counted: the first pages made pay for loading.
    Round round;
    if (!RunRound(true, round) || !RunRound(false, round)) return 1;
    std::vector<double> game, screenSaver;
    for (int i = 0; i < runs; ++i) {
        if (!RunRound(i % 2 == 0, round)) {
            std::fwprintf(stderr, L"round %d failed\n", i);
            return 1;
        }
        game.push_back(round.game);
        screenSaver.push_back(round.screenSaver);
    }
    const double mg = Median(game), ms = Median(screenSaver);
    std::wprintf(L"opening a tab, from the click until its page is painted, median of %d rounds each\n", runs);
    std::wprintf(L"  Screen Saver tab: %.2f ms\n", ms * 1000);
    std::wprintf(L"  Game tab:         %.2f ms\n", mg * 1000);
    std::wprintf(L"  ratio:            %.3f (target 1.2 or less)\n", ms / mg);
    return 0;
}
