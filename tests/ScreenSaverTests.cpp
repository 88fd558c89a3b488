// The Screen Saver page on the real sheet, its timeout picker, and the advanced options dialog
// with its island copy, against the real registry and files, inside their own modal loops.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/OptionsSheet.h"
#include "dialogs/AdvancedOptionsDialog.h"
#include "resources/resource.h"
#include "settings/Schema.h"
#include "shell/InputPanel.h"
#include "tests/RegistryFixture.h"
#include "tests/ToolkitHost.h"
#include "toolkit/ControlHook.h"

namespace {

using Step = std::function<void(HWND)>;
void Click(HWND hDlg, int nID) { ::SendMessageW(::GetDlgItem(hDlg, nID), BM_CLICK, 0, 0); }

// The controls as a user sees them, a word each: a check box 1 or 0, a slider its position, the time
// picker its time, anything else its first letter; then h hidden, - disabled, ? not hooked.
std::wstring Shown(HWND hDlg, std::initializer_list<int> ids) {
    std::wstring shown;
    for (int nID : ids) {
        HWND h = ::GetDlgItem(hDlg, nID);
        wchar_t cls[32] = {};
        const bool bBox = ::GetClassNameW(h, cls, 32) && (::GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX && !lstrcmpiW(cls, L"Button");
        shown += (shown.empty() ? L"" : L" ") +
                 (!lstrcmpiW(cls, TRACKBAR_CLASSW) ? std::to_wstring(::SendMessageW(h, TBM_GETPOS, 0, 0))
                  : bBox                           ? std::to_wstring(::IsDlgButtonChecked(hDlg, nID))
                                                   : WindowTextOf(h).substr(0, lstrcmpiW(cls, DATETIMEPICK_CLASSW) ? 1 : 99)) +
                 (::IsWindowVisible(h) ? L"" : L"h") + (::IsWindowEnabled(h) ? L"" : L"-") + (IsControlHooked(h) ? L"" : L"?");
    }
    return shown;
}
std::wstring PageShown(HWND hPage) {
    return Shown(hPage, {IDC_SS_ENABLE, IDC_SS_AC_POWER_ONLY, IDC_SS_NO_FULL_SCREEN, IDC_SS_TIMEOUT_PICKER,
                         IDC_SS_TIMEOUT_LABEL, IDC_SS_EXCEPTIONS, IDC_SS_MORE_OPTIONS});
}

Step SetTimeTo(WORD h, WORD m, WORD s) {
    const SYSTEMTIME st{2020, 1, 3, 1, h, m, s, 0};
    return [=](HWND hPage) { ::SendDlgItemMessageW(hPage, IDC_SS_TIMEOUT_PICKER, DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&st)); };
}
const Step kClickEnable = [](HWND hPage) { Click(hPage, IDC_SS_ENABLE); };
// "More Options...": the island box ticked and the dialog accepted.
const Step kLivingIsland = [](HWND hPage) {
    OnNextIdle([] { Click(AfxGetModalWnd(), IDC_ADV_LIVING_ISLAND), ::SendMessageW(AfxGetModalWnd(), WM_COMMAND, IDOK, 0); });
    Click(hPage, IDC_SS_MORE_OPTIONS);
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
            ResetProgramKeys(kSettingsKeyPath, {{kValueScreenSaverMode, c.mode}, {kValueScreenSaverTimeout, c.timeout}});
        expected.Set(kSettingsKeyPath, kValueScreenSaverMode, c.modeAfter).Set(kSettingsKeyPath, kValueScreenSaverTimeout, c.timeoutAfter);
        if (c.bVolumesStored) expected.Set(kGameKeyPath, kValueSsSoundVol, Dword(30)).Set(kGameKeyPath, kValueSsMusicVol, Dword(50));

        CWatchedRegistry watched;
        COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 1);
        std::wstring trace;
        RunModal(sheet, {[&] {
                     HWND hPage = sheet.m_screenSaverPage.m_hWnd;
                     trace = PageShown(hPage);
                     if (HWND hPicker = ::GetDlgItem(hPage, IDC_SS_TIMEOUT_PICKER); ::IsWindowEnabled(hPicker)) {
                         const int up = (::SetFocus(hPicker), GetLastSipRequest(hPicker));
                         ::SetFocus(::GetDlgItem(hPage, IDC_SS_ENABLE));
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

// Steps: D "Default Volume", T the island box, I the island button (its message read and
// answered: i information, e error icon; then which text), L the saved state held open as the
// running game holds it, O OK, C Cancel. After each step the controls as shown.
TEST(AdvancedOptionsDialog, VolumesIslandBitAndIslandCopy) {
    const std::pair<const wchar_t*, const wchar_t*> kMessages[] = {
        {L"saved", L"Your current island is now saved and will be used as screen saver island.\n"
                   L"Now game play will have no effect on screen saver state."},
        {L"back", L"Now in screen saver you can see your current island."},
        {L"failed", L"Error saving current island for screen saver.\nMaybe you never run QovBrumvale or game is active now."}};
    // The game's saved state and an older island copy beside it, made afresh for each case.
    const std::filesystem::path dir = L"C:\\Island", state = dir / L"Save.ino", copy = dir / L"SS_Settings.ino";
    const std::string kState("island \x01\x02\x00\xFF state", 17), kOldCopy = "an older copy";
    auto bytes = [](const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(file), {}};
    };
    const Changes kStored{{kValueSsSoundVol, Dword(30)}, {kValueSsMusicVol, Dword(50)}};
    struct Case {  // mode: the opener's word, none when not given; copied: SS_Settings.ino holds the saved state
        Changes before; std::optional<DWORD> mode; const char* steps; std::wstring trace; Changes after;
        std::optional<DWORD> modeAfter = {}; bool bCopied = false;
    } const cases[] = {
        {{{kValueSoundVol, {}}}, {}, "O", L"50 50 0 S O", {{kValueSsSoundVol, Dword(50)}, {kValueSsMusicVol, Dword(50)}}},
        {{}, {}, "C", L"30 50 0 S C", {}},
        {{{kValueSsSoundVol, Dword(10)}, {kValueMusicVol, Dword(99)}}, {}, "DC", L"10 64 0 S D 30 64 0 S C", {}},
        {{{kValueSsSoundVol, Dword(0xDEF0)}, {kValueMusicVol, Dword(20)}, {kValueSsMusicVol, Dword(5)}}, {}, "DO",
         L"30 5 0 S D 30 20 0 S O", {{kValueSsMusicVol, Dword(20)}, {kValueSsSoundVol, Dword(30)}}},
        {{}, 0x16, "TTTO", L"30 50 0 S T 30 50 1 Sh- T 30 50 0 S T 30 50 1 Sh- O", kStored, 0x116},
        {{}, 0xFFFFFFFF, "TC", L"30 50 1 Sh- T 30 50 0 S C", {}, 0xFFFFFFFF},
        {{}, 0xFFFFFFFF, "TO", L"30 50 1 Sh- T 30 50 0 S O", kStored, 0xFFFFFEFF},
        // The copy: made at the click and kept after Cancel; an older copy is overwritten.
        {{{kValueUserSettings, Sz(state)}}, {}, "IC", L"30 50 0 S I i:saved 30 50 0 U C", {{kValueSsUserSettings, Sz(copy)}}, {}, true},
        {{{kValueSsUserSettings, Sz(copy)}}, {}, "IC", L"30 50 0 U I i:back 30 50 0 S C", {{kValueSsUserSettings, {}}}},
        {{{kValueSsUserSettings, Sz(dir / L"Gone.ino")}}, {}, "C", L"30 50 0 S C", {}},
        // Each failure says so and changes nothing.
        {{}, {}, "IC", L"30 50 0 S I e:failed 30 50 0 S C", {}},
        {{{kValueUserSettings, Sz(dir / L"Gone.ino")}}, {}, "IC", L"30 50 0 S I e:failed 30 50 0 S C", {}},
        {{{kValueUserSettings, Sz(L"C:/Island/Save.ino")}}, {}, "IC", L"30 50 0 S I e:failed 30 50 0 S C", {}},
        {{{kValueUserSettings, Sz(state)}}, {}, "LIC", L"30 50 0 S L 30 50 0 S I e:failed 30 50 0 S C", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.trace));
        std::filesystem::create_directories(dir);
        std::ofstream(state, std::ios::binary) << kState;
        std::ofstream(copy, std::ios::binary) << kOldCopy;
        Snapshot expected = ResetProgramKeys(kGameKeyPath, c.before);
        for (const auto& [name, value] : c.after) value ? expected.Set(kGameKeyPath, name, *value) : expected.Remove(kGameKeyPath, name);

        DWORD dwMode = c.mode.value_or(0);
        CAdvancedOptionsDialog dialog;
        if (c.mode) dialog.m_pdwMode = &dwMode;
        std::wstring trace;
        HANDLE hHeld = INVALID_HANDLE_VALUE;
        CAnswerMessageBoxes boxes;
        auto shown = [&] { return Shown(dialog.m_hWnd, {IDC_ADV_SOUND_SLIDER, IDC_ADV_MUSIC_SLIDER, IDC_ADV_LIVING_ISLAND, IDC_ADV_SAVE_ISLAND}); };
        RunModal(dialog, {[&] {
                     trace = shown();
                     // The sliders stand on the window colour, as on the handheld.
                     const RECT slider = WindowRectInParent(dialog.GetDlgItem(IDC_ADV_MUSIC_SLIDER));
                     EXPECT_EQ(PixelAt(dialog.m_hWnd, slider.left + 1, slider.top + 1), ::GetSysColor(COLOR_WINDOW));
                     EXPECT_TRUE(IsControlHooked(dialog.GetDlgItem(IDC_ADV_DEFAULT_VOLUME)));  // not in the trace
                     for (const char* step = c.steps; *step; ++step) {
                         trace += L" " + std::wstring(1, wchar_t(*step));
                         if (*step == 'O' || *step == 'C')
                             return (void)::SendMessageW(dialog.m_hWnd, WM_COMMAND, *step == 'O' ? IDOK : IDCANCEL, 0);
                         if (*step == 'L') hHeld = ::CreateFileW(state.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
                         const int nID = *step == 'D' ? IDC_ADV_DEFAULT_VOLUME : *step == 'T' ? IDC_ADV_LIVING_ISLAND : IDC_ADV_SAVE_ISLAND;
                         if (*step != 'L') Click(dialog.m_hWnd, nID);
                         for (const MessageBoxSeen& box : std::exchange(boxes.m_seen, {})) {
                             trace += box.hIcon == ::LoadIconW(nullptr, IDI_INFORMATION) ? L" i:" : box.hIcon == ::LoadIconW(nullptr, IDI_ERROR) ? L" e:" : L" ?:";
                             for (auto [name, text] : kMessages) trace += box.text == text && box.caption == AfxGetApp()->m_strAppName ? name : L"";
                         }
                         trace += L" " + shown();
                     }
                 }});
        ::CloseHandle(hHeld);
        EXPECT_EQ(trace, c.trace);
        EXPECT_EQ(dwMode, c.modeAfter.value_or(c.mode.value_or(0)));
        EXPECT_EQ(Snapshot::Of(kVendorKeyPath), expected);
        EXPECT_EQ(bytes(copy), c.bCopied ? kState : kOldCopy);
    }
}
