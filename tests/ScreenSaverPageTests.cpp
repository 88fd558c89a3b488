// The Screen Saver page on the real sheet and registry, with its timeout picker, inside the sheet's own modal loop.
#include "app/OptionsSheet.h"
#include "pages/TimeoutPicker.h"
#include "shell/InputPanel.h"
#include "tests/ToolkitHost.h"

namespace {

using Step = std::function<void(HWND)>;
std::wstring PageShown(HWND hPage) {
    return Shown(hPage, {kEnableBox, kAcPowerBox, kFullScreenBox, kTimeoutPicker, kTimeoutLabel, kExceptionsButton,
                         kMoreOptionsButton});
}

Step SetTimeTo(WORD h, WORD m, WORD s) {
    const SYSTEMTIME st{2020, 1, 3, 1, h, m, s, 0};
    return [=](HWND hPage) { ::SendDlgItemMessageW(hPage, kTimeoutPicker, DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&st)); };
}
const Step kClickEnable = [](HWND hPage) { Click(hPage, kEnableBox); };
// "More Options...": the island box ticked and the dialog accepted.
const Step kLivingIsland = [](HWND hPage) {
    OnNextIdle([] {
        Click(AfxGetModalWnd(), kLivingIslandBox);
        ::SendMessageW(AfxGetModalWnd(), WM_COMMAND, IDOK, 0);
    });
    Click(hPage, kMoreOptionsButton);
};

}  // namespace

// What the page shows (Shown) at opening and after the act, what the sheet's button stores; a key flushed for each OK,
// never for the defaults written at opening. The input panel is asked for while the time picker has the focus, not
// after.
TEST(ScreenSaverPage, ShowsAndStoresItsBitsAndTimeout) {
    const std::wstring on = L"1 1 1 ", off = L"0 1- 1- ", all = L" T E M", none = L" T- E- M-";
    const std::vector<std::wstring> kTwoMinutesTwice{on + L"00:02:00" + all, on + L"00:02:00" + all};
    // after: as stored unless given.
    struct Case {
        std::optional<RegValue> mode = {}, timeout = {}; Step act = {}; int button = PSBTN_OK;
        std::vector<std::wstring> shown = {}; std::optional<RegValue> modeAfter = {}, timeoutAfter = {};
        bool bVolumesStored = false;
    } const cases[] = {
        {.mode = Dword(0x16), .act = kClickEnable, .shown = {off + L"00:02:00-" + none, on + L"00:02:00" + all},
         .modeAfter = Dword(6), .timeoutAfter = Dword(120)},
        {.mode = Dword(0x11F), .timeout = Dword(120), .shown = {off + L"00:02:00-" + none}},
        // Under ten seconds stored as ten, shown as set.
        {.mode = Dword(6), .timeout = Dword(3661), .act = SetTimeTo(0, 0, 5),
         .shown = {on + L"01:01:01" + all, on + L"00:00:05" + all}, .timeoutAfter = Dword(10)},
        {.mode = Dword(6), .timeout = Dword(3661), .act = SetTimeTo(0, 0, 11),
         .shown = {on + L"01:01:01" + all, on + L"00:00:11" + all}, .timeoutAfter = Dword(11)},
        {.mode = Dword(6), .timeout = Dword(100000), .shown = {on + L"23:46:40" + all}, .timeoutAfter = Dword(85600)},
        {.mode = Dword(6), .timeout = Dword(65536 * 3600 + 61), .shown = {on + L"23:01:01" + all},
         .timeoutAfter = Dword(82861)},
        // The island bit reaches the registry with the sheet's OK only; the dialog's volumes stay (stored by the
        // dialog).
        {.mode = Dword(6), .timeout = Dword(120), .act = kLivingIsland, .shown = kTwoMinutesTwice,
         .modeAfter = Dword(0x106), .bVolumesStored = true},
        {.mode = Dword(6), .timeout = Dword(120), .act = kLivingIsland, .button = PSBTN_CANCEL,
         .shown = kTwoMinutesTwice, .bVolumesStored = true},
        // Other types: a text too long for a number is absent, its default written over it; fewer bytes are a number.
        {.mode = Sz(L"switched off"), .timeout = RegValue{REG_BINARY, {0x2C, 0x01, 0}}, .button = PSBTN_CANCEL,
         .shown = {on + L"00:05:00" + all}, .modeAfter = Dword(6)},
        {.mode = RegValue{REG_DWORD, {0x14, 0}}, .timeout = Sz(L"1"), .shown = {L"0 0- 1- 00:00:49-" + none},
         .modeAfter = Dword(0x14), .timeoutAfter = Dword(49)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.shown));
        const wchar_t *kMode = L"propNameScreenSaverMode", *kTimeout = L"propNameScreenSaverTimeout";
        Snapshot expected = ResetProgramKeys(kSettingsKey, {{kMode, c.mode}, {kTimeout, c.timeout}});
        expected.Set(kSettingsKey, kMode, c.modeAfter ? c.modeAfter : c.mode)
            .Set(kSettingsKey, kTimeout, c.timeoutAfter ? c.timeoutAfter : c.timeout);
        if (c.bVolumesStored)
            expected.Set(kGameKey, L"ss_sound_vol", Dword(30)).Set(kGameKey, L"ss_music_vol", Dword(50));

        CWatchedRegistry watched;
        COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 1);
        std::vector<std::wstring> shown;
        RunModal(sheet, {[&] {
                     HWND hPage = sheet.m_screenSaverPage.m_hWnd;
                     shown.push_back(PageShown(hPage));
                     HWND hPicker = ::GetDlgItem(hPage, kTimeoutPicker);
                     // The style but the bits the page sets.
                     EXPECT_EQ(::GetWindowLongW(hPicker, GWL_STYLE) & ~(WS_DISABLED | WS_CLIPSIBLINGS), 0x50800009L);
                     if (::IsWindowEnabled(hPicker)) {
                         ::SetFocus(hPicker);
                         const int up = GetLastSipRequest(hPicker);
                         ::SetFocus(::GetDlgItem(hPage, kEnableBox));
                         EXPECT_EQ(std::pair(up, GetLastSipRequest(hPicker)), std::pair(int(SIP_UP), int(SIP_DOWN)));
                     }
                     if (c.act) {
                         c.act(hPage);
                         shown.push_back(PageShown(hPage));
                     }
                     PressSheetButton(sheet.m_hWnd, c.button);
                 }});
        EXPECT_EQ(std::tuple(shown, Snapshot::Of(kVendorKeyPath), watched.s_nFlushes),
                  std::tuple(c.shown, expected, (c.button == PSBTN_OK) + c.bVolumesStored));
    }
}

// The timeout picker alone, each field given past its range: it stops at its own limit, nothing carried to the next.
TEST(TimeoutPicker, EachFieldStopsAtItsOwnLimit) {
    const struct { WORD hour, minute, second, milliseconds; const wchar_t* shown; } rows[] = {
        {25, 75, 99, 0, L"23:59:59"}, {5, 60, 0, 0, L"05:59:00"}, {24, 0, 0, 0, L"23:00:00"},
        {0, 0, 60, 0, L"00:00:59"}, {1, 2, 3, 1500, L"01:02:03"}, {0, 0, 0, 0, L"00:00:00"},
    };
    CToolkitHost host(L"Picker");
    RunModal(host, {[&] {
        CTimeoutPicker picker;
        ASSERT_TRUE(picker.Create(&host, {10, 40, 110, 60}, L"HH':'mm':'ss", TRUE));
        for (const auto& row : rows) {
            picker.SetTime({2020, 1, 3, 1, row.hour, row.minute, row.second, row.milliseconds});
            EXPECT_EQ(TextOf(picker.m_hWnd), row.shown) << row.hour << ":" << row.minute << ":" << row.second;
        }
        host.EndDialog(IDCANCEL);
    }});
}
