// Each window of the program against its baseline (bench/BareWindows.h), in one process and in
// alternation, the one first in one round going second in the next:
//   - opening the Screen Saver tab and the Skins tab of a sheet started on the Game tab: from a
//     click on the tab until the sheet's first idle turn after it, its page shown and painted;
//   - opening the exceptions dialog, the advanced options and the program picker (over the drive
//     the benchmark runs on): until the dialog's first idle turn.
// Run from the program's folder on the device, so that both find the skins beside them.
//   window_bench [RUNS]
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "app/OptionsApp.h"
#include "app/OptionsSheet.h"
#include "bench/BareWindows.h"
#include "bench/Timing.h"
#include "dialogs/AdvancedOptionsDialog.h"
#include "dialogs/ExceptionsDialog.h"
#include "dialogs/SelectFileDialog.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

CWinApp g_benchApp(L"Window Bench");

// A click on a tab, once the sheet has come up and settled, timed until the sheet's next idle turn.
struct TabClick {
    int tab = 0;
    double start = 0, seconds = -1;
} g_click;

// Counted once the click has brought the page to the front with nothing left to paint.
void CALLBACK OnTabShown(HWND, UINT, UINT_PTR id, DWORD) {
    const double now = Now();
    ::KillTimer(nullptr, id);
    HWND hSheet = ShownDialog();
    HWND hPage = PropSheet_GetCurrentPageHwnd(hSheet);
    if (TabCtrl_GetCurSel(PropSheet_GetTabControl(hSheet)) != g_click.tab || hPage == nullptr ||
        !::IsWindowVisible(hPage) || HIWORD(::GetQueueStatus(QS_PAINT)) != 0) {
        ::SetTimer(nullptr, 0, 0, &OnTabShown);
        return;
    }
    g_click.seconds = now - g_click.start;
    ::PostMessageW(hSheet, WM_COMMAND, IDCANCEL, 0);
}

void CALLBACK OnSheetSettled(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    HWND hSheet = ShownDialog();
    HWND hTab = PropSheet_GetTabControl(hSheet);
    RECT rc{};
    if (hTab == nullptr || !TabCtrl_GetItemRect(hTab, g_click.tab, &rc)) {
        ::PostMessageW(hSheet, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    const LPARAM middle = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ArmIdleProbe(&OnTabShown);
    g_click.start = Now();
    ::PostMessageW(hTab, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    ::PostMessageW(hTab, WM_LBUTTONUP, 0, middle);
}

double TimeTab(const std::function<void()>& open, int tab) {
    Settle();
    g_click = TabClick{tab};
    ::SetTimer(nullptr, 0, 100, &OnSheetSettled);
    open();
    return g_click.seconds;
}

const std::vector<std::wstring> kExe{L"exe"};

// Once the program's dialog of a template is shown: where its controls lie, for the bare dialog to put its own there.
std::function<void(HWND)> PlacedFor(UINT nTemplate) {
    return [nTemplate](HWND hDlg) {
        std::vector<RECT> rects;
        for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
            RECT& rc = rects.emplace_back();
            ::GetWindowRect(h, &rc);
            ::MapWindowPoints(HWND_DESKTOP, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        }
        RECT client{};
        ::GetClientRect(hDlg, &client);
        PlaceBareControlsAs(nTemplate, client.right, std::move(rects));
    };
}

struct Window {
    const wchar_t* name;
    std::function<double()> program, bare;
};

std::vector<Window> Windows() {
    return {
        {L"Screen Saver tab",
         [] {
             return TimeTab([] {
                 COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
                 RunAsMainWindow(sheet);
             }, 1);
         },
         [] { return TimeTab([] { RunBareSheet(0); }, 1); }},
        {L"Skins tab",
         [] {
             return TimeTab([] {
                 COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
                 RunAsMainWindow(sheet);
             }, 2);
         },
         [] { return TimeTab([] { RunBareSheet(0); }, 2); }},
        {L"exceptions dialog",
         [] {
             return TimeUntilShown([] {
                 CExceptionsDialog dialog;
                 dialog.DoModal();
             }, PlacedFor(IDD_EXCEPTIONS));
         },
         [] { return TimeUntilShown([] { RunBareDialog(IDD_EXCEPTIONS); }); }},
        {L"advanced options",
         [] {
             return TimeUntilShown([] {
                 DWORD dwMode = 6;
                 CAdvancedOptionsDialog dialog;
                 dialog.m_pdwMode = &dwMode;
                 dialog.DoModal();
             }, PlacedFor(IDD_ADVANCED_OPTIONS));
         },
         [] { return TimeUntilShown([] { RunBareDialog(IDD_ADVANCED_OPTIONS); }); }},
        {L"program picker",
         [] {
             return TimeUntilShown([] {
                 CSelectFileDialog picker(L"", &kExe, 1, L"Select Program", nullptr);
                 picker.DoModal();
             }, PlacedFor(IDD_SELECT_FILE));
         },
         [] { return TimeUntilShown([] { RunBareDialog(IDD_SELECT_FILE); }); }},
    };
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    g_benchApp.InitApplication(::GetModuleHandleW(nullptr));
    InitOptionsProgram();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);
    const int runs = argc > 1 ? std::max(4, _wtoi(argv[1])) : 20;
    std::wprintf(L"each window against the platform doing its work alone: medians of %d rounds each, the ratio the "
                 L"median of each round's own\n",
                 runs);
    for (const Window& window : Windows()) {
        window.program();  // once each first: the first pays for loading what the window needs
        window.bare();
        std::vector<double> program, bare;
        for (int i = 0; i < runs; ++i) {
            const bool bProgramFirst = i % 2 == 0;
            const double first = bProgramFirst ? window.program() : window.bare();
            const double second = bProgramFirst ? window.bare() : window.program();
            if (first < 0 || second < 0) {
                std::fwprintf(stderr, L"%ls: round %d did not show the window\n", window.name, i);
                return 1;
            }
            program.push_back(bProgramFirst ? first : second);
            bare.push_back(bProgramFirst ? second : first);
        }
        std::wprintf(L"  %-19ls %8.2f ms, bare %8.2f ms: ratio %.3f (target 1.05 or less)\n", window.name,
                     Median(program) * 1000, Median(bare) * 1000, RoundRatio(program, bare));
        std::fflush(stdout);
    }
    return 0;
}
