// The option page base on real sheets: command bars, the bar's Cancel, taps, swallowed
// notifications and the position correction.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "tests/Harness.h"
#include "app/OptionsSheet.h"
#include "resources/resource.h"
#include "settings/Schema.h"

namespace {

// An option page that counts what its own handlers get to see.
class CWatchedPage : public COptionPage {
public:
    using COptionPage::COptionPage;
    int taps = 0, clicks = 0, swallowed = 0;
    BOOL initResult = -1;
    const CDialogAdapter& Adapter() const { return m_chrome.m_adapter; }

protected:
    BOOL OnInitDialog() override {
        initResult = COptionPage::OnInitDialog();
        return initResult;
    }
    LRESULT OnLButtonDown(WPARAM, LPARAM) {
        ++taps;
        return 0;
    }
    void OnClick(NMHDR*, LRESULT* pResult) {
        ++clicks;
        *pResult = 0;
    }
    void OnSwallowed(NMHDR*, LRESULT* pResult) {
        ++swallowed;
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CWatchedPage, COptionPage)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_NOTIFY(NM_CLICK, IDC_GAME_PHONE_EDITION, OnClick)
    ON_NOTIFY(NM_FIRST - 16, IDC_GAME_PHONE_EDITION, OnSwallowed)
    ON_NOTIFY(NM_FIRST - 50, IDC_GAME_PHONE_EDITION, OnSwallowed)
END_MESSAGE_MAP()

class CWatchedSheet : public CTranscriberFriendlyPropertySheet {
public:
    CWatchedSheet() : CTranscriberFriendlyPropertySheet(L"Watched", nullptr, 0) { AddPage(&page); }
    CWatchedPage page{IDD_GAME_PAGE, IDS_GAME_TAB, L"file:x"};
};

const wchar_t kVarnholt[] = L"SOFTWARE\\Varnholt";

bool HasStyle(HWND hWnd, LONG_PTR style) { return (::GetWindowLongPtrW(hWnd, GWL_STYLE) & style) == style; }

std::wstring ButtonText(HWND hBar, int idCommand) {
    wchar_t text[64] = {};
    ::SendMessageW(hBar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(idCommand), reinterpret_cast<LPARAM>(text));
    return text;
}

}  // namespace

TEST(OptionPage, OnlyThePageInFrontShowsItsCancelBar) {
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    COptionPage* pages[] = {&sheet.m_gamePage, &sheet.m_screenSaverPage, &sheet.m_skinsPage};
    OnNextIdle([&] { sheet.SetActivePage(1); });
    OnNextIdle([&] { sheet.SetActivePage(2); });
    OnNextIdle([&] { sheet.SetActivePage(1); });
    OnNextIdle([&] {
        int shown = 0;
        for (COptionPage* page : pages) {
            HWND hBar = page->GetCommandBar().m_hWnd;
            ASSERT_NE(hBar, nullptr);
            EXPECT_EQ(::GetDlgCtrlID(hBar), 0xE800);
            if (HasStyle(hBar, WS_VISIBLE)) {
                ++shown;
                EXPECT_EQ(page, &sheet.m_screenSaverPage);
            }
            // One text button "Cancel" sending IDCANCEL, 23 x 22.
            ASSERT_EQ(::SendMessageW(hBar, TB_BUTTONCOUNT, 0, 0), 1);
            TBBUTTON button{};
            ::SendMessageW(hBar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button));
            EXPECT_EQ(button.idCommand, IDCANCEL);
            EXPECT_EQ(button.iBitmap, I_IMAGENONE);
            EXPECT_EQ(ButtonText(hBar, IDCANCEL), L"Cancel");
            LRESULT size = ::SendMessageW(hBar, TB_GETBUTTONSIZE, 0, 0);
            EXPECT_EQ(LOWORD(size), 23);
            EXPECT_EQ(HIWORD(size), 22);
        }
        EXPECT_EQ(shown, 1);
        ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    sheet.DoModal();
}

TEST(OptionPage, TheBarsCancelEndsTheSheetWithNothingSaved) {
    SetRegistryDword(HKEY_LOCAL_MACHINE, kSettingsKeyPath, kValueGameMode, 1);
    const std::wstring before = RegistryState(HKEY_LOCAL_MACHINE, kVarnholt);
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    OnNextIdle([&] {
        // Change the box, then tap the bar's button as the pen would.
        ::SendMessageW(sheet.m_gamePage.GetDlgItem(IDC_GAME_PHONE_EDITION), BM_CLICK, 0, 0);
        HWND hBar = sheet.m_gamePage.GetCommandBar().m_hWnd;
        RECT rc{};
        ::SendMessageW(hBar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
        ClickAt(hBar, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    });
    sheet.DoModal();
    EXPECT_TRUE(sheet.m_bPageClosed);
    EXPECT_EQ(sheet.m_hWnd, nullptr);
    EXPECT_EQ(RegistryState(HKEY_LOCAL_MACHINE, kVarnholt), before);
}

TEST(OptionPage, TapsOnTheBackgroundDoNothingAndControlsStillGetTheirs) {
    CWatchedSheet sheet;
    int checkAfterTap = -1;
    OnNextIdle([&] {
        HWND hPage = sheet.page.m_hWnd;
        RECT rc{};
        ::GetClientRect(hPage, &rc);
        ClickAt(hPage, rc.right - 3, rc.bottom - 3);  // no control there
        HWND hBox = sheet.page.GetDlgItem(IDC_GAME_PHONE_EDITION);
        int before = static_cast<int>(::SendMessageW(hBox, BM_GETCHECK, 0, 0));
        ClickAt(hBox, 5, 5);
        checkAfterTap = static_cast<int>(::SendMessageW(hBox, BM_GETCHECK, 0, 0)) != before;
        ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    sheet.DoModal();
    EXPECT_EQ(sheet.page.taps, 0);
    EXPECT_EQ(checkAfterTap, 1);  // the box toggled under the pen
}

TEST(OptionPage, TwoHandheldNotificationsNeverReachThePage) {
    struct Case {
        UINT code;
        LRESULT result;
        int swallowed, clicks;
    } cases[] = {
        {NM_FIRST - 16, 1, 0, 0},
        {NM_FIRST - 50, 1, 0, 0},
        {NM_CLICK, 0, 0, 1},  // any other notification goes on to the map
    };
    CWatchedSheet sheet;
    std::vector<LRESULT> results;
    OnNextIdle([&] {
        HWND hBox = sheet.page.GetDlgItem(IDC_GAME_PHONE_EDITION);
        for (const Case& c : cases) {
            NMHDR hdr{hBox, IDC_GAME_PHONE_EDITION, c.code};
            results.push_back(::SendMessageW(sheet.page.m_hWnd, WM_NOTIFY, IDC_GAME_PHONE_EDITION,
                                             reinterpret_cast<LPARAM>(&hdr)));
        }
        ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    sheet.DoModal();
    ASSERT_EQ(results.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(results[i], cases[i].result) << "code " << static_cast<int>(cases[i].code);
    EXPECT_EQ(sheet.page.swallowed, 0);
    EXPECT_EQ(sheet.page.clicks, 1);
}

TEST(OptionPage, APageSeesItsFirstSizeAndShowsItsHeaderAtOnce) {
    CWatchedSheet sheet;
    int headerWidth = 0;
    RECT client{};
    std::wstring title;
    OnNextIdle([&] {
        headerWidth = sheet.page.Adapter().m_nHeaderWidth;
        title = sheet.page.Adapter().m_strTitle;
        ::GetClientRect(sheet.page.m_hWnd, &client);
        ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    sheet.DoModal();
    EXPECT_EQ(headerWidth, client.right);
    EXPECT_EQ(title, L"Qov Brumvale Options");
}

namespace {
// Refuses every toolbar window made on this thread while it lives.
class CNoToolbars {
public:
    CNoToolbars() { s_hHook = ::SetWindowsHookExW(WH_CBT, &Refuse, nullptr, ::GetCurrentThreadId()); }
    ~CNoToolbars() { ::UnhookWindowsHookEx(s_hHook); }

private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const auto* cbt = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
            if (!IS_INTRESOURCE(cbt->lpcs->lpszClass) && lstrcmpiW(cbt->lpcs->lpszClass, TOOLBARCLASSNAMEW) == 0)
                return 1;
        }
        return ::CallNextHookEx(s_hHook, code, wParam, lParam);
    }
    static inline HHOOK s_hHook = nullptr;
};
}  // namespace

TEST(OptionPage, APageWhoseBarCannotBeMadeEndsAsCancelled) {
    CNoToolbars noToolbars;
    CWatchedSheet sheet;
    OnNextIdle([&] { ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); });
    sheet.DoModal();
    // The page reports the failure; the sheet itself goes on and still ends as asked.
    EXPECT_EQ(sheet.page.initResult, FALSE);
    EXPECT_EQ(sheet.page.GetCommandBar().m_hWnd, nullptr);
    EXPECT_TRUE(sheet.m_bPageClosed);
}

TEST(OptionPage, APageMovedAboveTheSheetComesBackShorter) {
    CWatchedSheet sheet;
    RECT before{}, after{};
    OnNextIdle([&] {
        HWND hPage = sheet.page.m_hWnd;
        HWND hSheet = sheet.m_hWnd;
        ::GetWindowRect(hPage, &before);
        ::MapWindowPoints(HWND_DESKTOP, hSheet, reinterpret_cast<POINT*>(&before), 2);
        ::MoveWindow(hPage, before.left, -12, before.right - before.left, before.bottom - before.top, TRUE);
        ::GetWindowRect(hPage, &after);
        ::MapWindowPoints(HWND_DESKTOP, hSheet, reinterpret_cast<POINT*>(&after), 2);
        ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    sheet.DoModal();
    const int height = before.bottom - before.top;
    EXPECT_EQ(after.top, 0);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.bottom, -12 + height);  // the bottom edge where the move put it
    EXPECT_EQ(after.bottom - after.top, height - 12);
}
