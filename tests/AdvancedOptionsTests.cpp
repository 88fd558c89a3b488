// The advanced options dialog with its island copy, against the real registry and files.
#include "dialogs/AdvancedOptionsDialog.h"
#include "tests/ToolkitHost.h"

namespace {

// A message box as shown: "information: " or "error: " (or "astray: " where not in the program's name over the
// dialog in front), then its text.
const std::wstring kSaved = L"information: Your current island is now saved and will be used as screen saver island.\n"
                            L"Now game play will have no effect on screen saver state.";
const std::wstring kBack = L"information: Now in screen saver you can see your current island.";
const std::wstring kFailed = L"error: Error saving current island for screen saver.\n"
                             L"Maybe you never run QovBrumvale or game is active now.";

}  // namespace

// The acts (a copy refused as the running game holds the saved state, the failure run makes); the sliders, island box
// and button as shown (Shown) before each act; the boxes met; what is stored, the opener's word, the copy.
TEST(AdvancedOptionsDialog, VolumesIslandBitAndIslandCopy) {
    // The game's saved state and an older island copy beside it, made afresh for each case.
    const std::filesystem::path dir = L"C:\\Island", state = dir / L"Save.ino", copy = dir / L"SS_Settings.ino";
    const std::string kState("island \x01\x02\x00\xFF state", 17), kOldCopy = "an older copy";
    const Changes kStored{{L"ss_sound_vol", Dword(30)}, {L"ss_music_vol", Dword(50)}};
    const std::vector<std::wstring> kFailedTwice{L"30 50 0 S", L"30 50 0 S"};
    // acts: Default Volume, the island box, Save island, OK, Cancel (d, i, s, o, c); mode: the opener's word, none when
    // not given, after as before unless given; copied: SS_Settings.ino holds the saved state.
    struct Case {
        Changes before = {}; std::optional<DWORD> mode = {}; std::string acts; std::vector<std::wstring> shown = {};
        Changes after = {}; std::vector<std::wstring> boxes = {}; std::optional<DWORD> modeAfter = {};
        bool bCopied = false;
    } const cases[] = {
        {.before = {{L"sound_vol", {}}}, .acts = "o", .shown = {L"50 50 0 S"},
         .after = {{L"ss_sound_vol", Dword(50)}, {L"ss_music_vol", Dword(50)}}},
        {.acts = "c", .shown = {L"30 50 0 S"}},
        {.before = {{L"ss_sound_vol", Dword(10)}, {L"music_vol", Dword(99)}}, .acts = "dc",
         .shown = {L"10 64 0 S", L"30 64 0 S"}},
        {.before = {{L"ss_sound_vol", Dword(0xDEF0)}, {L"music_vol", Dword(20)}, {L"ss_music_vol", Dword(5)}},
         .acts = "do", .shown = {L"30 5 0 S", L"30 20 0 S"},
         .after = {{L"ss_music_vol", Dword(20)}, {L"ss_sound_vol", Dword(30)}}},
        {.mode = 0x16, .acts = "iiio", .shown = {L"30 50 0 S", L"30 50 1 Sh-", L"30 50 0 S", L"30 50 1 Sh-"},
         .after = kStored, .modeAfter = 0x116},
        {.mode = 0xFFFFFFFF, .acts = "ic", .shown = {L"30 50 1 Sh-", L"30 50 0 S"}},
        {.mode = 0xFFFFFFFF, .acts = "io", .shown = {L"30 50 1 Sh-", L"30 50 0 S"}, .after = kStored,
         .modeAfter = 0xFFFFFEFF},
        // The copy: made at the click and kept after Cancel; an older copy is overwritten.
        {.before = {{L"UserSettings", Sz(state)}}, .acts = "sc", .shown = {L"30 50 0 S", L"30 50 0 U"},
         .after = {{L"SS_UserSettings", Sz(copy)}}, .boxes = {kSaved}, .bCopied = true},
        {.before = {{L"SS_UserSettings", Sz(copy)}}, .acts = "sc", .shown = {L"30 50 0 U", L"30 50 0 S"},
         .after = {{L"SS_UserSettings", {}}}, .boxes = {kBack}},
        {.before = {{L"SS_UserSettings", Sz(dir / L"Gone.ino")}}, .acts = "c", .shown = {L"30 50 0 S"}},
        // Each failure says so and changes nothing.
        {.acts = "sc", .shown = kFailedTwice, .boxes = {kFailed}},
        {.before = {{L"UserSettings", Sz(dir / L"Gone.ino")}}, .acts = "sc", .shown = kFailedTwice, .boxes = {kFailed}},
        {.before = {{L"UserSettings", Sz(L"C:/Island/Save.ino")}}, .acts = "sc", .shown = kFailedTwice,
         .boxes = {kFailed}},
    };
    const std::map<char, int> kClicked{{'d', kDefaultVolumeButton}, {'i', kLivingIslandBox}, {'s', kSaveIslandButton},
                                       {'o', IDOK}, {'c', IDCANCEL}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.shown));
        std::filesystem::create_directories(dir);
        std::ofstream(state, std::ios::binary) << kState;
        std::ofstream(copy, std::ios::binary) << kOldCopy;
        Snapshot expected = ResetProgramKeys(kGameKey, c.before);
        for (const auto& [name, value] : c.after) expected.Set(kGameKey, name, value);

        DWORD dwMode = c.mode.value_or(0);
        CAdvancedOptionsDialog dialog;
        if (c.mode) dialog.m_pdwMode = &dwMode;
        std::vector<std::wstring> shown;
        HWND hDialog = nullptr;
        CAnswerMessageBoxes answering;
        RunModal(dialog, {[&] {
                     hDialog = dialog.m_hWnd;
                     // The sliders stand on the window colour, as on the handheld.
                     const RECT slider = InParent(dialog.GetDlgItem(kMusicSlider));
                     EXPECT_EQ(PixelAt(dialog.m_hWnd, slider.left + 1, slider.top + 1), ::GetSysColor(COLOR_WINDOW));
                     for (char act : c.acts) {
                         shown.push_back(
                             Shown(dialog.m_hWnd, {kSoundSlider, kMusicSlider, kLivingIslandBox, kSaveIslandButton}));
                         if (kClicked.at(act) <= IDCANCEL) dialog.SendMessage(WM_COMMAND, kClicked.at(act));
                         else Click(dialog.m_hWnd, kClicked.at(act));
                     }
                 }});
        std::vector<std::wstring> boxes;
        for (const MessageBoxSeen& box : answering.m_seen) {
            const bool bOurs = box.caption == L"Brumvale Tests" && box.hOwner == hDialog;
            const bool bError = box.hIcon == ::LoadIconW(nullptr, IDI_ERROR);
            const bool bInformation = box.hIcon == ::LoadIconW(nullptr, IDI_INFORMATION);
            const wchar_t* kind = !bOurs ? L"astray: " : bError ? L"error: " : bInformation ? L"information: "
                                                                                             : L"astray: ";
            boxes.push_back(kind + box.text);
        }
        std::ifstream copied(copy, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator(copied), {}};
        EXPECT_EQ(std::tuple(shown, boxes, dwMode, Snapshot::Of(kVendorKeyPath), bytes),
                  std::tuple(c.shown, c.boxes, c.modeAfter.value_or(c.mode.value_or(0)), expected,
                             c.bCopied ? kState : kOldCopy));
    }
}
