// The advanced options dialog with its island copy, against the real registry and files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "dialogs/AdvancedOptionsDialog.h"
#include "tests/Literals.h"
#include "tests/RegistryFixture.h"
#include "tests/ToolkitHost.h"
#include "toolkit/ControlHook.h"

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
    const Changes kStored{{L"ss_sound_vol", Dword(30)}, {L"ss_music_vol", Dword(50)}};
    struct Case {  // mode: the opener's word, none when not given; copied: SS_Settings.ino holds the saved state
        Changes before; std::optional<DWORD> mode; const char* steps; std::wstring trace; Changes after;
        std::optional<DWORD> modeAfter = {}; bool bCopied = false;
    } const cases[] = {
        {{{L"sound_vol", {}}}, {}, "O", L"50 50 0 S O", {{L"ss_sound_vol", Dword(50)}, {L"ss_music_vol", Dword(50)}}},
        {{}, {}, "C", L"30 50 0 S C", {}},
        {{{L"ss_sound_vol", Dword(10)}, {L"music_vol", Dword(99)}}, {}, "DC", L"10 64 0 S D 30 64 0 S C", {}},
        {{{L"ss_sound_vol", Dword(0xDEF0)}, {L"music_vol", Dword(20)}, {L"ss_music_vol", Dword(5)}}, {}, "DO",
         L"30 5 0 S D 30 20 0 S O", {{L"ss_music_vol", Dword(20)}, {L"ss_sound_vol", Dword(30)}}},
        {{}, 0x16, "TTTO", L"30 50 0 S T 30 50 1 Sh- T 30 50 0 S T 30 50 1 Sh- O", kStored, 0x116},
        {{}, 0xFFFFFFFF, "TC", L"30 50 1 Sh- T 30 50 0 S C", {}, 0xFFFFFFFF},
        {{}, 0xFFFFFFFF, "TO", L"30 50 1 Sh- T 30 50 0 S O", kStored, 0xFFFFFEFF},
        // The copy: made at the click and kept after Cancel; an older copy is overwritten.
        {{{L"UserSettings", Sz(state)}}, {}, "IC", L"30 50 0 S I i:saved 30 50 0 U C", {{L"SS_UserSettings", Sz(copy)}}, {}, true},
        {{{L"SS_UserSettings", Sz(copy)}}, {}, "IC", L"30 50 0 U I i:back 30 50 0 S C", {{L"SS_UserSettings", {}}}},
        {{{L"SS_UserSettings", Sz(dir / L"Gone.ino")}}, {}, "C", L"30 50 0 S C", {}},
        // Each failure says so and changes nothing.
        {{}, {}, "IC", L"30 50 0 S I e:failed 30 50 0 S C", {}},
        {{{L"UserSettings", Sz(dir / L"Gone.ino")}}, {}, "IC", L"30 50 0 S I e:failed 30 50 0 S C", {}},
        {{{L"UserSettings", Sz(L"C:/Island/Save.ino")}}, {}, "IC", L"30 50 0 S I e:failed 30 50 0 S C", {}},
        {{{L"UserSettings", Sz(state)}}, {}, "LIC", L"30 50 0 S L 30 50 0 S I e:failed 30 50 0 S C", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.trace));
        std::filesystem::create_directories(dir);
        std::ofstream(state, std::ios::binary) << kState;
        std::ofstream(copy, std::ios::binary) << kOldCopy;
        Snapshot expected = ResetProgramKeys(kGameKey, c.before);
        for (const auto& [name, value] : c.after) value ? expected.Set(kGameKey, name, *value) : expected.Remove(kGameKey, name);

        DWORD dwMode = c.mode.value_or(0);
        CAdvancedOptionsDialog dialog;
        if (c.mode) dialog.m_pdwMode = &dwMode;
        std::wstring trace;
        HANDLE hHeld = INVALID_HANDLE_VALUE;
        CAnswerMessageBoxes boxes;
        auto shown = [&] { return Shown(dialog.m_hWnd, {kSoundSlider, kMusicSlider, kLivingIslandBox, kSaveIslandButton}); };
        RunModal(dialog, {[&] {
                     trace = shown();
                     // The sliders stand on the window colour, as on the handheld.
                     const RECT slider = InParent(dialog.GetDlgItem(kMusicSlider));
                     EXPECT_EQ(PixelAt(dialog.m_hWnd, slider.left + 1, slider.top + 1), ::GetSysColor(COLOR_WINDOW));
                     EXPECT_TRUE(Hooked(dialog.GetDlgItem(kDefaultVolumeButton)));  // not in the trace
                     for (const char* step = c.steps; *step; ++step) {
                         trace += L" " + std::wstring(1, wchar_t(*step));
                         if (*step == 'O' || *step == 'C')
                             return (void)::SendMessageW(dialog.m_hWnd, WM_COMMAND, *step == 'O' ? IDOK : IDCANCEL, 0);
                         if (*step == 'L') hHeld = ::CreateFileW(state.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
                         const int nID = *step == 'D' ? kDefaultVolumeButton : *step == 'T' ? kLivingIslandBox : kSaveIslandButton;
                         if (*step != 'L') Click(dialog.m_hWnd, nID);
                         for (const MessageBoxSeen& box : std::exchange(boxes.m_seen, {})) {
                             trace += box.hIcon == ::LoadIconW(nullptr, IDI_INFORMATION) ? L" i:" : box.hIcon == ::LoadIconW(nullptr, IDI_ERROR) ? L" e:" : L" ?:";
                             for (auto [name, text] : kMessages) trace += box.text == text && box.caption == L"Brumvale Tests" ? name : L"";
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
