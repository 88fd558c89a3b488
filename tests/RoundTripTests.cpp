// The whole program over the real registry, every window accepted as it opens: over states whose
// outcome is known value by value, and over random hostile states of the three keys.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "app/OptionsApp.h"
#include "app/OptionsSheet.h"
#include "app/base/ModuleDir.h"
#include "tests/Harness.h"
#include "tests/Literals.h"
#include "tests/RegistryFixture.h"
#include "toolkit/ControlHook.h"

#include <sddl.h>  // after windows.h

namespace {

enum class End { kOk, kCancel, kClose };
const char* const kEndNames[] = {"OK", "Cancel", "closing"};
const std::wstring kProgramDir = L"C:\\Program Files\\Brumvale\\", kSkins = kProgramDir + L"TimeSkins\\";
const std::wstring kServiceKeyPath = L"SOFTWARE\\Varnholt\\BrumvaleService";
std::string g_what;  // the run going on, named when it hangs or raises an exception
std::wstring g_met;  // what message boxes said, which exceptions were raised, whether a quit message was left

// A button's click as its parent hears it, enabled or not: a switched-off screen saver disables
// "Exceptions..." and "More Options...", which a user switches on first and off again.
void Press(HWND hParent, int nID) {
    ::SendMessageW(hParent, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), LPARAM(::GetDlgItem(hParent, nID)));
}

// The program once, everything accepted unedited: Game, Screen Saver (unless told otherwise) with
// "Exceptions..." ("Add...", the picker cancelled, OK) and "More Options..." (OK), Skins, then the
// sheet ended. Answers the message boxes, exceptions (which the framework keeps inside the window
// procedures) and quit message met; a watchdog ends the test program after a minute.
std::wstring RunProgram(End end, bool bScreenSaver, const std::string& what) {
    g_what = what;
    g_met.clear();
    InitOptionsProgram();
    g_strModuleDir = kProgramDir;  // the device's skins, not the test program's folder
    CAnswerMessageBoxes boxes;
    PVOID hSeen = ::AddVectoredExceptionHandler(1, [](EXCEPTION_POINTERS* p) -> LONG {
        std::fprintf(stderr, "\n%s: exception %08lX\n", g_what.c_str(), p->ExceptionRecord->ExceptionCode);
        g_met += L"exception|";
        return EXCEPTION_CONTINUE_SEARCH;
    });
    HANDLE hWatchdog = nullptr;
    auto bark = [](void*, BOOLEAN) {
        std::fprintf(stderr, "\n%s: not over within 60 s\n", g_what.c_str());
        ::TerminateProcess(::GetCurrentProcess(), 3);
    };
    ::CreateTimerQueueTimer(&hWatchdog, nullptr, bark, nullptr, 60000, 0, 0);
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    // The dialog in front, owned by the window that opened it, the sheet enabled under it all along.
    const auto front = [&sheet](HWND hOwner) {
        HWND hFront = AfxGetModalWnd();
        EXPECT_EQ(std::pair(::GetWindow(hFront, GW_OWNER), ::IsWindowEnabled(sheet.m_hWnd)), std::pair(hOwner, TRUE));
        return hFront;
    };
    OnNextIdle([&] {
        EXPECT_TRUE(Hooked(sheet.m_gamePage.GetDlgItem(kPhoneEditionBox)));  // pen taps straight to it
        if (bScreenSaver) {
            sheet.SetActivePage(1);
            OnNextIdle([&] {
                HWND hExceptions = front(sheet.m_hWnd);
                OnNextIdle([&] {
                    EXPECT_FALSE(::IsWindowEnabled(hExceptions));
                    Press(front(hExceptions), IDCANCEL);
                });
                Press(hExceptions, kAddButton);
                EXPECT_EQ(::GetActiveWindow(), hExceptions);  // back in front as the picker ends
                Press(hExceptions, IDOK);
            });
            Press(sheet.m_screenSaverPage.m_hWnd, kExceptionsButton);
            OnNextIdle([&] { Press(front(sheet.m_hWnd), IDOK); });
            Press(sheet.m_screenSaverPage.m_hWnd, kMoreOptionsButton);
        }
        sheet.SetActivePage(2);
        if (end == End::kClose) ::SendMessageW(sheet.m_hWnd, WM_CLOSE, 0, 0);
        else PressSheetButton(sheet.m_hWnd, end == End::kOk ? PSBTN_OK : PSBTN_CANCEL);
    });
    RunAsMainWindow(sheet);  // the sheet as the program's main window
    for (const MessageBoxSeen& box : boxes.m_seen) g_met += box.text + L"|";
    if (TakeQuitMessage()) g_met += L"quit|";
    ::DeleteTimerQueueTimer(nullptr, hWatchdog, INVALID_HANDLE_VALUE);
    ::RemoveVectoredExceptionHandler(hSeen);
    return g_met;
}

using Entries = std::vector<std::tuple<const wchar_t*, std::wstring, RegValue>>;  // key, value name, value

// Any way a value can be wrong: a number or a text, of its own type or any other, whole, without a
// text's null or cut to a few bytes.
RegValue Hostile(std::mt19937& rng) {
    const auto pick = [&rng](const auto& options) { return options[rng() % std::size(options)]; };
    const DWORD numbers[] = {0, 1, 2, 3, 9, 10, 64, 65, 86400, 0xDEF0, 0xFFFFFFFF, DWORD(rng())};
    const std::wstring texts[] = {L"", std::wstring(100000, L'x'), L"notes.exe", kSkins + L"Amber\\", L"\x01\t\u00fc"};
    const DWORD types[] = {REG_BINARY, REG_DWORD, REG_SZ, REG_MULTI_SZ, REG_EXPAND_SZ, REG_QWORD, REG_NONE};
    RegValue value = rng() % 2 ? Dword(pick(numbers)) : Sz(pick(texts));
    const size_t sizes[] = {value.bytes.size() - 2, 0, 1, 3, 8};
    if (rng() % 3 == 0) value.type = pick(types);
    if (rng() % 3 == 0) value.bytes.resize(pick(sizes), BYTE(rng()));
    return value;
}

// The program's values each there or not, of any type and size; foreign values of odd names in the
// keys; in some states 3,000 values in a key, a key named as a value, a key nobody may write in.
void MakeHostileState(unsigned seed) {
    std::mt19937 rng(seed);
    const auto oneIn = [&rng](unsigned n) { return rng() % n == 0; };
    DeleteTree(kVendorKeyPath);
    if (!oneIn(4)) ResetProgramKeys(kSettingsKey, {});
    const std::pair<const wchar_t*, std::vector<std::wstring>> keys[] = {
        {kSettingsKey, {L"propNameScreenSaverMode", L"propNameScreenSaverTimeout", L"propNameGameMode"}},
        {kExceptionsKey, {L"  0", L"  1", L"  2"}},
        {kGameKey, {L"time_skin", L"sound_vol", L"music_vol", L"ss_sound_vol", L"ss_music_vol",
                        L"SS_UserSettings", L"UserSettings"}}};
    for (const auto& [path, names] : keys) {
        const std::wstring odd[] = {L"", std::wstring(255, L'n'), std::wstring(300, L'~'), L"\x01\x1f\t",
                                    L"\u00c5land \u6642\u8a08"};
        for (const std::wstring& name : names)
            if (!oneIn(4)) SetValue(path, name, Hostile(rng));
        for (int n = rng() % 4; n > 0; --n) SetValue(path, odd[rng() % std::size(odd)], Hostile(rng));
        for (int i = oneIn(8) ? 3000 : 0; i > 0; --i) SetValue(path, L"many " + std::to_wstring(i), Dword(i));
        if (oneIn(5)) SetValue(path + (L"\\" + names[rng() % names.size()]), L"", Dword(1));
    }
    if (!oneIn(6)) return;
    PSECURITY_DESCRIPTOR pSD = nullptr;
    HKEY hKey = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x6;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &pSD, nullptr);
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, keys[rng() % 3].first, 0, nullptr, 0, WRITE_DAC, nullptr, &hKey, nullptr);
    EXPECT_EQ(::RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, pSD), ERROR_SUCCESS);
    ::RegCloseKey(hKey);
    ::LocalFree(pSD);
}

// Each value changed or gone, or come, outside the Exceptions key, but for the values a run stores,
// each of its own type. Keys a run opens are made when missing, and are not compared.
std::set<std::wstring> Unexpected(const Snapshot& before, const Snapshot& after) {
    const std::pair<const wchar_t*, std::vector<std::pair<const wchar_t*, DWORD>>> writable[] = {
        {kSettingsKey, {{L"propNameScreenSaverMode", REG_DWORD}, {L"propNameScreenSaverTimeout", REG_DWORD}, {L"propNameGameMode", REG_DWORD}}},
        {kGameKey, {{L"time_skin", REG_SZ}, {L"ss_sound_vol", REG_DWORD}, {L"ss_music_vol", REG_DWORD}}}};
    Snapshot b = before, a = after;
    for (const auto& [path, values] : writable)
        for (const auto& [name, type] : values)
            if (a.keys[path].contains(name) && a.keys[path][name].type == type) b.keys[path][name] = a.keys[path][name];
    std::set<std::wstring> found;
    for (auto [one, other] : {std::pair(&b, &a), std::pair(&a, &b)})
        for (const auto& [path, values] : one->keys)
            for (const auto& [name, value] : values)
                if (!path.starts_with(kExceptionsKey) && (!other->keys[path].contains(name) || other->keys[path][name] != value))
                    found.insert((path + L"\\:" + name).substr(0, 120));
    return found;
}

unsigned FromEnvironment(const char* pszName, unsigned nDefault) {
    const char* psz = std::getenv(pszName);
    return psz ? std::strtoul(psz, nullptr, 10) : nDefault;
}

}  // namespace

// Each state, ending and whether the Screen Saver tab was opened: the vendor subtree as before but
// for the keys every run opens, the Screen Saver tab's edits (defaults, its dialogs' OK) and the
// sheet's OK's; a quit message left after closing.
TEST(RoundTrip, AcceptingEverythingUneditedStoresOnlyWhatEachEndingStores) {
    const wchar_t *S = kSettingsKey, *E = kExceptionsKey, *G = kGameKey;
    const RegValue neon = Sz(kSkins + L"Neon\\");
    const struct {
        const char* what;
        Entries stored, ss, ssOk, ok;  // as stored; the edits of the Screen Saver tab, of its OK, of the others' OK
    } states[] = {
        {"the sample device, in use: all comes back as it was",
         {{S, L"propNameScreenSaverMode", Dword(0x106)}, {S, L"propNameScreenSaverTimeout", Dword(300)}, {S, L"propNameGameMode", Dword(1)},
          {E, L"  0", Sz(L"notes.exe")}, {E, L"  1", Sz(L"PLAYER.EXE")}, {G, L"sound_vol", Dword(40)},
          {G, L"music_vol", Dword(24)}, {G, L"UserSettings", Sz(L"C:\\My Documents\\Brumvale\\Island.ino")},
          {G, L"time_skin", neon}, {G, L"ss_sound_vol", Dword(30)}, {G, L"ss_music_vol", Dword(0)}},
         {{E, L"  0", Sz(L"notes.exe")}, {E, L"  1", Sz(L"PLAYER.EXE")}, {G, L"ss_sound_vol", Dword(30)},
          {G, L"ss_music_vol", Dword(0)}}, {}, {}},
        {"empty", {},
         {{S, L"propNameScreenSaverMode", Dword(6)}, {S, L"propNameScreenSaverTimeout", Dword(120)}, {G, L"ss_sound_vol", Dword(50)},
          {G, L"ss_music_vol", Dword(50)}}, {}, {{S, L"propNameGameMode", Dword(1)}, {G, L"time_skin", Sz(L"")}}},
        // An unreadable mode, a short timeout, a game mode of 3 bytes, exceptions under foreign names (one empty,
        // one without its null), a skin in other case, the game's volumes (one out of range) for the screen saver's.
        {"to be tidied",
         {{S, L"propNameScreenSaverMode", Sz(L"switched off")}, {S, L"propNameScreenSaverTimeout", Dword(5)},
          {S, L"propNameGameMode", {REG_BINARY, {2, 0, 0}}}, {E, L"zeta", Sz(L"PLAYER.EXE")}, {E, L"7", Sz(L"calc.exe")},
          {E, L"  5", Sz(L"")}, {E, L"%d", {REG_SZ, {'n', 0, 'o', 0, 't', 0, 'e', 0, 's', 0}}},
          {G, L"sound_vol", Dword(40)}, {G, L"music_vol", Dword(99)}, {G, L"ss_sound_vol", Dword(0xDEF0)},
          {G, L"time_skin", Sz(L"c:\\PROGRAM FILES\\brumvale\\timeskins\\neon\\")}},
         {{S, L"propNameScreenSaverMode", Dword(6)}, {E, L"  0", Sz(L"calc.exe")}, {E, L"  1", Sz(L"notes")},
          {E, L"  2", Sz(L"PLAYER.EXE")}, {G, L"ss_sound_vol", Dword(40)}, {G, L"ss_music_vol", Dword(64)}},
         {{S, L"propNameScreenSaverTimeout", Dword(10)}}, {{S, L"propNameGameMode", Dword(0)}, {G, L"time_skin", neon}}},
    };
    for (const auto& state : states)
        for (End end : {End::kOk, End::kCancel, End::kClose})
            for (bool bScreenSaver : {true, false}) {
                const std::string what = state.what + std::string(", ") + kEndNames[int(end)] +
                                         (bScreenSaver ? "" : ", no Screen Saver tab");
                SCOPED_TRACE(what);
                DeleteTree(kVendorKeyPath);
                if (!state.stored.empty()) ResetProgramKeys(S, {});
                for (const auto& [path, name, value] : state.stored) SetValue(path, name, value);
                Snapshot expected = Snapshot::Of(kVendorKeyPath);
                for (const std::wstring path : {kVendorKeyPath, kServiceKeyPath.c_str(), S, G}) expected.keys[path];
                if (bScreenSaver) expected.keys[E].clear();
                for (const Entries* edits : {&state.ss, &state.ssOk, &state.ok})
                    if ((edits == &state.ok || bScreenSaver) && (edits == &state.ss || end == End::kOk))
                        for (const auto& [path, name, value] : *edits) expected.Set(path, name, value);
                EXPECT_EQ(RunProgram(end, bScreenSaver, what), end == End::kClose ? L"quit|" : L"");
                EXPECT_EQ(Snapshot::Of(kVendorKeyPath), expected);
            }
}

// BRUMVALE_HOSTILE_STATES states (12 unless given) seeded from BRUMVALE_HOSTILE_SEED on (1 unless given), each
// ended with OK: every run is over in time, meets no message box nor exception and changes only what it may.
TEST(RoundTrip, HostileRegistriesEndAndChangeOnlyTheProgramsValues) {
    const unsigned nStates = FromEnvironment("BRUMVALE_HOSTILE_STATES", 12);
    const unsigned seedBase = FromEnvironment("BRUMVALE_HOSTILE_SEED", 1);
    unsigned nFailed = 0;
    for (unsigned seed = seedBase; seed < seedBase + nStates; ++seed) {
        const std::string what = "hostile state, seed " + std::to_string(seed);
        SCOPED_TRACE(what);
        MakeHostileState(seed);
        const Snapshot before = Snapshot::Of(kVendorKeyPath);
        const std::wstring met = RunProgram(End::kOk, true, what);
        const std::set<std::wstring> unexpected = Unexpected(before, Snapshot::Of(kVendorKeyPath));
        EXPECT_EQ(met, L"");
        EXPECT_EQ(unexpected, std::set<std::wstring>{});
        nFailed += !met.empty() || !unexpected.empty();
    }
    ResetProgramKeys(kSettingsKey, {});  // no locked key left behind
    std::printf("hostile states: %u run from seed %u, %u failed\n", nStates, seedBase, nFailed);
}
