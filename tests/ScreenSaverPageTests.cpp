// The Screen Saver page on the real sheet and registry, with its timeout picker, inside the
// sheet's own modal loop.
#include <gtest/gtest.h>

#include "app/OptionsSheet.h"
#include "shell/InputPanel.h"
#include "tests/Literals.h"
#include "tests/RegistryFixture.h"
#include "tests/ToolkitHost.h"

namespace {

using Step = std::function<void(HWND)>;
std::wstring PageShown(HWND hPage) {
    return Shown(hPage, {kEnableBox, kAcPowerBox, kFullScreenBox, kTimeoutPicker,
                         kTimeoutLabel, kExceptionsButton, kMoreOptionsButton});
}

Step SetTimeTo(WORD h, WORD m, WORD s) {
    const SYSTEMTIME st{2020, 1, 3, 1, h, m, s, 0};
    return [=](HWND hPage) { ::SendDlgItemMessageW(hPage, kTimeoutPicker, DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&st)); };
}
const Step kClickEnable = [](HWND hPage) { Click(hPage, kEnableBox); };
// "More Options...": the island box ticked and the dialog accepted.
const Step kLivingIsland = [](HWND hPage) {
    OnNextIdle([] { Click(AfxGetModalWnd(), kLivingIslandBox), ::SendMessageW(AfxGetModalWnd(), WM_COMMAND, IDOK, 0); });
    Click(hPage, kMoreOptionsButton);
};

}  // namespace

// What the page shows at opening (and after the step), what is stored after the sheet's button;
// a key is flushed for each OK, never for the defaults written at opening. The input panel is
// asked for while the time picker has the focus and sent away as it leaves.
TEST(ScreenSaverPage, ShowsAndStoresItsBitsAndTimeout) {
    const std::wstring on = L"1 1 1 ", off = L"0 1- 1- ", all = L" T E M", none = L" T- E- M-";
    auto timeSet = [&](const wchar_t* time) { return on + L"01:01:01" + all + L" | " + on + time + all; };
    struct Case {  // stored before; a step on the page; the sheet's button; shown; stored after
        std::optional<RegValue> mode, timeout; Step act; int button; std::wstring trace; RegValue modeAfter, timeoutAfter;
        bool bVolumesStored = false;  // by the advanced options
    } const cases[] = {
        {Dword(0x16), {}, kClickEnable, PSBTN_OK, off + L"00:02:00-" + none + L" | " + on + L"00:02:00" + all, Dword(6), Dword(120)},
        {Dword(0x11F), Dword(120), {}, PSBTN_OK, off + L"00:02:00-" + none, Dword(0x11F), Dword(120)},
        {Dword(6), Dword(3661), SetTimeTo(0, 0, 5), PSBTN_OK, timeSet(L"00:00:05"), Dword(6), Dword(10)},
        {Dword(6), Dword(3661), SetTimeTo(0, 0, 11), PSBTN_OK, timeSet(L"00:00:11"), Dword(6), Dword(11)},
        {Dword(6), Dword(100000), {}, PSBTN_OK, on + L"23:46:40" + all, Dword(6), Dword(85600)},
        {Dword(6), Dword(65536 * 3600 + 61), {}, PSBTN_OK, on + L"23:01:01" + all, Dword(6), Dword(82861)},
        // The island bit reaches the registry with the sheet's OK only; the dialog's volumes stay.
        {Dword(6), Dword(120), kLivingIsland, PSBTN_OK, on + L"00:02:00" + all + L" | " + on + L"00:02:00" + all, Dword(0x106), Dword(120), true},
        {Dword(6), Dword(120), kLivingIsland, PSBTN_CANCEL, on + L"00:02:00" + all + L" | " + on + L"00:02:00" + all, Dword(6), Dword(120), true},
        // Other types: a text too long for a number is absent, its default written over it; fewer bytes are a number.
        {Sz(L"switched off"), RegValue{REG_BINARY, {0x2C, 0x01, 0}}, {}, PSBTN_CANCEL, on + L"00:05:00" + all, Dword(6),
         RegValue{REG_BINARY, {0x2C, 0x01, 0}}},
        {RegValue{REG_DWORD, {0x14, 0}}, Sz(L"1"), {}, PSBTN_OK, L"0 0- 1- 00:00:49-" + none, Dword(0x14), Dword(49)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.trace));
        Snapshot expected =
            ResetProgramKeys(kSettingsKey, {{L"propNameScreenSaverMode", c.mode}, {L"propNameScreenSaverTimeout", c.timeout}});
        expected.Set(kSettingsKey, L"propNameScreenSaverMode", c.modeAfter).Set(kSettingsKey, L"propNameScreenSaverTimeout", c.timeoutAfter);
        if (c.bVolumesStored) expected.Set(kGameKey, L"ss_sound_vol", Dword(30)).Set(kGameKey, L"ss_music_vol", Dword(50));

        CWatchedRegistry watched;
        COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 1);
        std::wstring trace;
        RunModal(sheet, {[&] {
                     HWND hPage = sheet.m_screenSaverPage.m_hWnd;
                     trace = PageShown(hPage);
                     if (HWND hPicker = ::GetDlgItem(hPage, kTimeoutPicker); ::IsWindowEnabled(hPicker)) {
                         const int up = (::SetFocus(hPicker), GetLastSipRequest(hPicker));
                         ::SetFocus(::GetDlgItem(hPage, kEnableBox));
                         EXPECT_EQ(std::pair(up, GetLastSipRequest(hPicker)), std::pair(int(SIP_UP), int(SIP_DOWN)));
                     }
                     if (c.act) c.act(hPage), trace += L" | " + PageShown(hPage);
                     PressSheetButton(sheet.m_hWnd, c.button);
                 }});
        EXPECT_EQ(trace, c.trace);
        EXPECT_EQ(Snapshot::Of(kVendorKeyPath), expected);
        EXPECT_EQ(watched.s_nFlushes, (c.button == PSBTN_OK) + c.bVolumesStored);
    }
}
