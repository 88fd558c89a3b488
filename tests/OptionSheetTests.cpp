// The program's property sheet and the option page base, on probe pages.
#include "app/OptionsSheet.h"
#include "tests/ToolkitHost.h"

namespace {

// An option page on a real template that records, in order, what reaches its handlers.
struct CProbePage : COptionPage {
    CProbePage(UINT nIDTemplate, UINT nIDCaption, std::string& log, char name)
        : COptionPage(nIDTemplate, nIDCaption, L"file:probe"), m_log(log), m_name(name) {}
    void Record(const std::string& what) { m_log += m_name + (":" + what + " "); }
    void OnOK() override {
        Record("ok");
        COptionPage::OnOK();
    }
    void OnCancel() override {
        Record("cancel");
        COptionPage::OnCancel();
    }
    LRESULT OnLButtonDown(WPARAM, LPARAM) {
        Record("tap");
        return 0;
    }
    void OnNotified(NMHDR* pHdr, LRESULT* pResult) {
        Record(std::to_string(int(pHdr->code)));
        *pResult = 0;
    }
    std::string& m_log;
    char m_name;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbePage, COptionPage)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_NOTIFY(NM_CLICK, kPhoneEditionBox, OnNotified)
    ON_NOTIFY(PSN_APPLY, kPhoneEditionBox, OnNotified)
END_MESSAGE_MAP()

struct CProbeSheet : CTranscriberFriendlyPropertySheet {
    CProbeSheet() : CTranscriberFriendlyPropertySheet(L"Probe", nullptr, 0) {
        for (CProbePage* page : {&game, &skins}) AddPage(page);
    }
    std::string log;
    CProbePage game{kGamePageTemplate, kGameTabText, log, 'G'};
    CProbePage skins{kSkinsPageTemplate, kSkinsTabText, log, 'K'};
};

// A page's bar as shown: its id, its buttons' size, whether it shows (whether its page does) and comes first among the
// page's children (in front of its controls), and each button's text, command and whether it has an image.
std::wstring BarOf(const COptionPage& page) {
    HWND h = page.GetCommandBar().m_hWnd;
    const LRESULT size = ::SendMessageW(h, TB_GETBUTTONSIZE, 0, 0);
    wchar_t bar[64] = {};
    swprintf(bar, 64, L"%#x %dx%d %ls%ls", ::GetDlgCtrlID(h), LOWORD(size), HIWORD(size),
             (::GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE) ? L"shown" : L"hidden",
             ::GetWindow(page.m_hWnd, GW_CHILD) == h ? L" first" : L"");
    std::wstring shown = bar;
    for (int i = 0; i < ::SendMessageW(h, TB_BUTTONCOUNT, 0, 0); ++i) {
        TBBUTTON b{};
        ::SendMessageW(h, TB_GETBUTTON, i, LPARAM(&b));
        ::SendMessageW(h, TB_GETBUTTONTEXTW, b.idCommand, LPARAM(bar));
        shown += L" " + std::wstring(bar) + L":" + std::to_wstring(b.idCommand);
        shown += b.iBitmap != I_IMAGENONE ? L" with an image" : L"";
    }
    return shown;
}

}  // namespace

// Every way the run ends, after the Game page's chrome was tried and the Skins tab visited: which pages ran OK or
// Cancel, the result, a quit message left. Until then only the front page's bar shows, in front of the page's controls.
// The chrome: the options' title in the header, background taps kept from the page, notifications -16 and -50
// swallowed, others to its map; moved above the sheet, the page comes back shorter. Unstacked tabs lose TCS_MULTILINE.
TEST(OptionSheet, RoutesThroughThePagesChromeEndsOnceAPageClosedOrOnQuitAndOnlyTheFrontPageShowsItsBar) {
    struct Case {
        const char* how; BOOL stacked; void (*end)(CProbeSheet&); std::string log; INT_PTR result; bool quit;
    };
    const Case cases[] = {
        {"OK", TRUE, [](auto& s) { PressSheetButton(s.m_hWnd, PSBTN_OK); }, "G:ok K:ok ", IDOK, false},
        {"sheet's Cancel", TRUE, [](auto& s) { PressSheetButton(s.m_hWnd, PSBTN_CANCEL); }, "G:cancel K:cancel ",
         IDCANCEL, false},
        {"bar's Cancel", FALSE, [](auto& s) { TapBarButton(s.skins.GetCommandBar().m_hWnd); }, "K:cancel ", IDCANCEL,
         false},
        {"close", FALSE, [](auto& s) { ::SendMessageW(s.m_hWnd, WM_CLOSE, 0, 0); }, "G:cancel K:cancel ", IDCANCEL,
         false},
        {"quit message", TRUE, [](auto&) { ::PostQuitMessage(7); }, "", IDCANCEL, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        CProbeSheet sheet;
        sheet.EnableStackedTabs(c.stacked);
        std::vector<LRESULT> results;
        const auto chrome = [&] {
            HWND hPage = sheet.game.m_hWnd, hBox = sheet.game.GetDlgItem(kPhoneEditionBox);
            ::SendMessageW(hPage, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            for (UINT code : {NM_FIRST - 16, NM_FIRST - 50, NM_CLICK, PSN_APPLY}) {
                NMHDR hdr{hBox, kPhoneEditionBox, code};
                results.push_back(::SendMessageW(hPage, WM_NOTIFY, hdr.idFrom, LPARAM(&hdr)));
            }
            const RECT before = InParent(hPage);
            ::SetWindowPos(hPage, nullptr, before.left, -12, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            EXPECT_EQ(Edges(InParent(hPage)), Edges({before.left, 0, before.right, -12 + before.bottom - before.top}));
            EXPECT_EQ((::GetWindowLongPtrW(sheet.GetTabControl(), GWL_STYLE) & TCS_MULTILINE) != 0, c.stacked != FALSE);
        };
        // Skins chosen, its bar sent behind the page's controls; Game, then Skins again in front.
        const auto visitSkins = [&] {
            sheet.SetActivePage(1);
            ::SetWindowPos(sheet.skins.GetCommandBar().m_hWnd, HWND_BOTTOM, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            sheet.SetActivePage(0);
            sheet.SetActivePage(1);
        };
        std::vector<std::wstring> bars;  // read only while the sheet still runs
        const auto end = [&] {
            bars = {BarOf(sheet.game), BarOf(sheet.skins)};
            c.end(sheet);
        };
        // A few idle turns without a closing page do not end the run.
        const INT_PTR result = RunModal(sheet, {chrome, visitSkins, [] {}, [] {}, end});
        const std::vector<std::wstring> kBars{L"0xe800 23x22 hidden first Cancel:2",
                                              L"0xe800 23x22 shown first Cancel:2"};
        EXPECT_EQ(std::pair(results, bars), std::pair(std::vector<LRESULT>{1, 1, 0, 0}, kBars));  // Skins' bar shown
        EXPECT_EQ(std::tuple(sheet.log, result, bool(sheet.m_bPageClosed), TakeQuitMessage()),
                  std::tuple("G:-2 G:-202 " + c.log, c.result, !c.log.empty(), c.quit));
    }
}
