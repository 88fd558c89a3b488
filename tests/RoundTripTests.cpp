// The whole program over the real registry, every window accepted as it opens, over states of known outcome.
#include "app/base/ModuleDir.h"
#include "tests/Harness.h"

namespace {

enum class End { kOk, kCancel, kClose };
const char* const kEndNames[] = {"OK", "Cancel", "closing"};
const std::wstring kProgramDir = L"C:\\Program Files\\Brumvale\\", kSkins = kProgramDir + L"TimeSkins\\";
const std::wstring kServiceKeyPath = L"SOFTWARE\\Varnholt\\BrumvaleService";
HWND g_hSheet = nullptr;

// The dialog in front is owned by the window that opened it, the sheet enabled under it all along.
void OwnedBy(HWND hFront, HWND hOwner) {
    EXPECT_EQ(std::pair(::GetWindow(hFront, GW_OWNER), ::IsWindowEnabled(g_hSheet)), std::pair(hOwner, TRUE));
}

// The program once, everything accepted unedited, buttons pressed enabled or not (a switched-off screen saver disables
// "Exceptions..." and "More Options..."): Game, Screen Saver (unless told otherwise) with "Exceptions..." ("Add...",
// the picker cancelled, OK) and "More Options..." (OK), Skins, the sheet ended; answers the boxes' texts, exceptions, a
// quit left.
std::wstring RunAccepting(End end, bool bScreenSaver) {
    std::vector<ProgramStep> steps = {{"game", kSheet, [](HWND h) {
        g_hSheet = h;
        g_strModuleDir = kProgramDir;  // the device's skins, not the test program's folder
    }}};
    if (bScreenSaver) {
        steps.insert(steps.end(), {
            {"screen saver", kSheet, [](HWND h) { PropSheet_SetCurSel(h, nullptr, 1); }},
            {"screen saver", kSheet, [](HWND h) { Press(Page(h), kExceptionsButton); }},
            {"exceptions", L"Screen Saver Exceptions", [](HWND h) {
                 OwnedBy(h, g_hSheet);
                 Press(h, kAddButton);
             }},
            {"picker", L"Select File", [](HWND h) {  // owned by the exceptions dialog, disabled under it
                 OwnedBy(h, ::GetWindow(h, GW_OWNER));
                 EXPECT_FALSE(::IsWindowEnabled(::GetWindow(h, GW_OWNER)));
                 Press(h, IDCANCEL);
             }},
            {"exceptions", L"Screen Saver Exceptions", [](HWND h) {  // back in front as the picker ended
                 EXPECT_EQ(::GetActiveWindow(), h);
                 Press(h, IDOK);
             }},
            {"advanced", kSheet, [](HWND h) { Press(Page(h), kMoreOptionsButton); }},
            {"advanced", L"Advanced Options", [](HWND h) {
                 OwnedBy(h, g_hSheet);
                 Press(h, IDOK);
             }}});
    }
    steps.push_back({"skins", kSheet, [](HWND h) { PropSheet_SetCurSel(h, nullptr, 2); }});
    steps.push_back({"end", kSheet, [end](HWND h) {
        if (end == End::kClose) ::SendMessageW(h, WM_CLOSE, 0, 0);
        else PressSheetButton(h, end == End::kOk ? PSBTN_OK : PSBTN_CANCEL);
    }});
    const ProgramRun run = RunProgram(steps);
    std::wstring met;
    for (const MessageBoxSeen& box : run.boxes) met += box.text + L"|";
    return met + (run.exceptions ? L"exception|" : L"") + (run.quitLeft ? L"quit|" : L"");
}

}  // namespace

// Each state, ending and whether the Screen Saver tab was opened: the vendor subtree as before but for the keys every
// run opens, the Screen Saver tab's edits (defaults, its dialogs' OK) and the sheet's OK's; a quit message left after
// closing.
TEST(RoundTrip, AcceptingEverythingUneditedStoresOnlyWhatEachEndingStores) {
    const wchar_t *S = kSettingsKey, *E = kExceptionsKey, *G = kGameKey;
    const wchar_t *kMode = L"propNameScreenSaverMode", *kTimeout = L"propNameScreenSaverTimeout";
    const wchar_t* kGameMode = L"propNameGameMode";
    const RegValue neon = Sz(kSkins + L"Neon\\");
    // stored, ss, ssOk, ok: as stored; the edits of the Screen Saver tab, of its OK, of the others' OK.
    const struct { const char* what; Values stored, ss, ssOk, ok; } states[] = {
        {"the sample device, in use, but for a game mode of 3: all comes back as it was, the game mode as 1",
         {{S, kMode, Dword(0x106)}, {S, kTimeout, Dword(300)}, {S, kGameMode, Dword(3)},
          {E, L"  0", Sz(L"notes.exe")}, {E, L"  1", Sz(L"PLAYER.EXE")}, {G, L"sound_vol", Dword(40)},
          {G, L"music_vol", Dword(24)}, {G, L"UserSettings", Sz(L"C:\\My Documents\\Brumvale\\Island.ino")},
          {G, L"time_skin", neon}, {G, L"ss_sound_vol", Dword(30)}, {G, L"ss_music_vol", Dword(0)}},
         {{E, L"  0", Sz(L"notes.exe")}, {E, L"  1", Sz(L"PLAYER.EXE")}, {G, L"ss_sound_vol", Dword(30)},
          {G, L"ss_music_vol", Dword(0)}}, {}, {{S, kGameMode, Dword(1)}}},
        {"empty", {},
         {{S, kMode, Dword(6)}, {S, kTimeout, Dword(120)}, {G, L"ss_sound_vol", Dword(50)},
          {G, L"ss_music_vol", Dword(50)}}, {}, {{S, kGameMode, Dword(1)}, {G, L"time_skin", Sz(L"")}}},
        // An unreadable mode, a short timeout, a game mode of 3 bytes, exceptions under foreign names (one empty,
        // one without its null), a skin in other case, the game's volumes (one out of range) for the screen saver's.
        {"to be tidied",
         {{S, kMode, Sz(L"switched off")}, {S, kTimeout, Dword(5)},
          {S, kGameMode, {REG_BINARY, {2, 0, 0}}}, {E, L"zeta", Sz(L"PLAYER.EXE")}, {E, L"7", Sz(L"calc.exe")},
          {E, L"  5", Sz(L"")}, {E, L"%d", {REG_SZ, {'n', 0, 'o', 0, 't', 0, 'e', 0, 's', 0}}},
          {G, L"sound_vol", Dword(40)}, {G, L"music_vol", Dword(99)}, {G, L"ss_sound_vol", Dword(0xDEF0)},
          {G, L"time_skin", Sz(L"c:\\PROGRAM FILES\\brumvale\\timeskins\\neon\\")}},
         {{S, kMode, Dword(6)}, {E, L"  0", Sz(L"calc.exe")}, {E, L"  1", Sz(L"notes")},
          {E, L"  2", Sz(L"PLAYER.EXE")}, {G, L"ss_sound_vol", Dword(40)}, {G, L"ss_music_vol", Dword(64)}},
         {{S, kTimeout, Dword(10)}}, {{S, kGameMode, Dword(0)}, {G, L"time_skin", neon}}},
    };
    for (const auto& state : states)
        for (End end : {End::kOk, End::kCancel, End::kClose})
            for (bool bScreenSaver : {true, false}) {
                SCOPED_TRACE(state.what + std::string(", ") + kEndNames[int(end)] +
                             (bScreenSaver ? "" : ", no Screen Saver tab"));
                DeleteTree(kVendorKeyPath);
                if (!state.stored.empty()) ResetProgramKeys(S, {});
                SetValues(state.stored);
                Snapshot expected = Snapshot::Of(kVendorKeyPath);
                for (const std::wstring path : {kVendorKeyPath, kServiceKeyPath.c_str(), S, G}) expected.keys[path];
                if (bScreenSaver) expected.keys[E].clear();
                for (const Values* edits : {&state.ss, &state.ssOk, &state.ok})
                    if ((edits == &state.ok || bScreenSaver) && (edits == &state.ss || end == End::kOk))
                        for (const auto& [path, name, value] : *edits) expected.Set(path, name, value);
                // No box, no exception.
                EXPECT_EQ(RunAccepting(end, bScreenSaver), end == End::kClose ? L"quit|" : L"");
                EXPECT_EQ(Snapshot::Of(kVendorKeyPath), expected);
            }
}
