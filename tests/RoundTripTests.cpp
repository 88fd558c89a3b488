// The whole program over the real registry, every window accepted as it opens: over states whose
// outcome is known value by value, and over random hostile states of the three keys.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "app/ModuleDir.h"
#include "app/OptionsSheet.h"
#include "resources/resource.h"
#include "settings/RegistryKey.h"
#include "settings/Schema.h"
#include "tests/Harness.h"
#include "tests/RegistryFixture.h"

#include <sddl.h>  // after windows.h

namespace {

enum class End { kOk, kCancel, kClose };
const char* const kEndNames[] = {"OK", "Cancel", "closing"};
const std::wstring kSkins = L"C:\\Program Files\\Brumvale\\TimeSkins\\", kServiceKeyPath = L"SOFTWARE\\Varnholt\\BrumvaleService";
std::string g_what;  // the run going on, named when it hangs or raises an exception
std::wstring g_met;  // what message boxes said and which exceptions were raised during the run
HHOOK g_hBoxHook = nullptr;

// A message box, a dialog holding a message text (id 0xFFFF on Windows, 100 on Wine) that no
// object of ours is bound to, is answered as it comes up.
LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
    const HWND h = reinterpret_cast<HWND>(wParam);
    const int nText = ::GetDlgItem(h, 0xFFFF) ? 0xFFFF : 100;
    if (wchar_t text[256] = {}; code == HCBT_ACTIVATE && ::GetDlgItem(h, nText) && !CWnd::FromHandlePermanent(h))
        ::GetDlgItemTextW(h, nText, text, 256), g_met += text + std::wstring(L"|"), ::PostMessageW(h, WM_COMMAND, IDOK, 0);
    return ::CallNextHookEx(g_hBoxHook, code, wParam, lParam);
}

// A button's click as its parent hears it, enabled or not: a switched-off screen saver disables
// "Exceptions..." and "More Options...", which a user switches on first and off again.
void Press(HWND hParent, int nID) { ::SendMessageW(hParent, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), LPARAM(::GetDlgItem(hParent, nID))); }

// The program once, accepting everything unedited: the tabs in turn (Game, Screen Saver unless
// told otherwise, Skins); from the Screen Saver tab "Exceptions...", in it "Add..." with the
// picker cancelled (its OK does nothing until a program is chosen) and OK, then "More Options..."
// and OK; the sheet ended last. Answers the message boxes and exceptions met on the way.
std::wstring RunProgram(End end, bool bScreenSaver, const std::string& what) {
    g_what = what, g_met.clear();
    g_strModuleDir = L"C:\\Program Files\\Brumvale\\";  // the device's skins
    g_hBoxHook = ::SetWindowsHookExW(WH_CBT, AnswerBoxes, nullptr, ::GetCurrentThreadId());
    // Every exception is seen as it is raised: the framework keeps any from leaving a window procedure, so a crash
    // there shows nowhere else. The watchdog ends the test program when the run is not over within a minute.
    PVOID hSeen = ::AddVectoredExceptionHandler(1, [](EXCEPTION_POINTERS* p) {
        std::fprintf(stderr, "\n%s: exception %08lX\n", g_what.c_str(), p->ExceptionRecord->ExceptionCode);
        return g_met += L"exception|", LONG(EXCEPTION_CONTINUE_SEARCH);
    });
    HANDLE hWatchdog = nullptr;
    auto bark = [](void*, BOOLEAN) { std::fprintf(stderr, "\n%s: not over within 60 s\n", g_what.c_str()), ::TerminateProcess(::GetCurrentProcess(), 3); };
    ::CreateTimerQueueTimer(&hWatchdog, nullptr, bark, nullptr, 60000, 0, 0);
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    RunModal(sheet, {[&] {
        if (bScreenSaver) {
            sheet.SetActivePage(1);
            OnNextIdle([] {
                OnNextIdle([] { Press(AfxGetModalWnd(), IDCANCEL); });
                Press(AfxGetModalWnd(), IDC_EXC_ADD);
                Press(AfxGetModalWnd(), IDOK);
            });
            Press(sheet.m_screenSaverPage.m_hWnd, IDC_SS_EXCEPTIONS);
            OnNextIdle([] { Press(AfxGetModalWnd(), IDOK); });
            Press(sheet.m_screenSaverPage.m_hWnd, IDC_SS_MORE_OPTIONS);
        }
        sheet.SetActivePage(2);
        if (end == End::kClose) ::SendMessageW(sheet.m_hWnd, WM_CLOSE, 0, 0);
        else PressSheetButton(sheet.m_hWnd, end == End::kOk ? PSBTN_OK : PSBTN_CANCEL);
    }});
    TakeQuitMessage();
    ::DeleteTimerQueueTimer(nullptr, hWatchdog, INVALID_HANDLE_VALUE), ::UnhookWindowsHookEx(g_hBoxHook), ::RemoveVectoredExceptionHandler(hSeen);
    return g_met;
}

using Entries = std::vector<std::tuple<const wchar_t*, std::wstring, RegValue>>;  // key, value name, value

template <class T>
T Pick(std::mt19937& rng, std::initializer_list<T> options) { return options.begin()[rng() % options.size()]; }

// Any way a value can be wrong: every type, sizes from none to huge, texts without their null.
RegValue Hostile(std::mt19937& rng) {
    const std::wstring text = Pick<std::wstring>(rng, {L"", std::wstring(100000, L'x'), L"notes.exe", kSkins + L"Amber\\", L"\x01\t\u00fc\u2713"});
    const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
    std::vector<BYTE> bytes(Pick<size_t>(rng, {0, 1, 3, 8}));
    for (BYTE& b : bytes) b = BYTE(rng());
    switch (rng() % 5) {
        case 0: return Dword(Pick<DWORD>(rng, {0, 1, 2, 3, 9, 10, 64, 65, 86400, REGKEY_NO_DEFAULT, 0xFFFFFFFF, DWORD(rng())}));
        case 1: return Sz(text);
        case 2: return {REG_SZ, {p, p + text.size() * sizeof(wchar_t)}};
        case 3: return {Pick<DWORD>(rng, {REG_MULTI_SZ, REG_EXPAND_SZ}), Sz(text + L'\0').bytes};
        default: return {Pick<DWORD>(rng, {REG_BINARY, REG_DWORD, REG_SZ, REG_QWORD, REG_NONE}), bytes};
    }
}

// The program's values each there or not, of any type and size; foreign values of odd names
// (empty, 255 and 300 characters, control characters, Unicode, a program value's in other case)
// in the keys, some neighbours beside them; in some states 3,000 values in a key, a key named as
// a value, a key that nobody may write values or make keys in (its owner may still read it).
void MakeHostileState(unsigned seed) {
    std::mt19937 rng(seed);
    DeleteTree(kVendorKeyPath);
    if (rng() % 4) ResetProgramKeys(kSettingsKeyPath, {});
    const std::pair<const wchar_t*, std::vector<std::wstring>> keys[] = {
        {kSettingsKeyPath, {kValueScreenSaverMode, kValueScreenSaverTimeout, kValueGameMode}},
        {kExceptionsKeyPath, {L"  0", L"  1", L"  2"}},
        {kGameKeyPath, {kValueTimeSkin, kValueSoundVol, kValueMusicVol, kValueSsSoundVol, kValueSsMusicVol, kValueSsUserSettings, kValueUserSettings}}};
    for (const auto& [path, names] : keys) {
        for (const std::wstring& name : names)
            if (rng() % 4) SetValue(path, name, Hostile(rng));
        const std::wstring odd[] = {L"", std::wstring(255, L'n'), std::wstring(300, L'~'), L"\x01\x1f\t", L"\u00c5land \u6642\u8a08",
                                    ::CharUpperW(std::wstring(names[0]).data())};
        for (int n = rng() % 4; n > 0; --n) SetValue(path, odd[rng() % std::size(odd)], Hostile(rng));
        for (int i = rng() % 8 ? 0 : 3000; i > 0; --i) SetValue(path, L"many " + std::to_wstring(i), Dword(i));
        if (rng() % 5 == 0) SetValue(path + (L"\\" + names[rng() % names.size()]), L"", Dword(1));
    }
    if (rng() % 6) return;
    PSECURITY_DESCRIPTOR pSD = nullptr;
    HKEY hKey = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x6;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &pSD, nullptr);
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, keys[rng() % 3].first, 0, nullptr, 0, WRITE_DAC, nullptr, &hKey, nullptr);
    EXPECT_EQ(::RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, pSD), ERROR_SUCCESS);
    ::RegCloseKey(hKey), ::LocalFree(pSD);
}

// Each difference outside the Exceptions key but the keys a run opens, made when missing, and
// the values it stores, each of its own type. Names are the registry's, of any case.
std::set<std::wstring> Unexpected(const Snapshot& before, const Snapshot& after) {
    auto at = [](const wchar_t* path, const wchar_t* name) { return path + std::wstring(L"\\:") + name; };
    const std::pair<std::wstring, DWORD> writable[] = {
        {kVendorKeyPath, REG_NONE}, {kServiceKeyPath, REG_NONE}, {kSettingsKeyPath, REG_NONE}, {kGameKeyPath, REG_NONE},
        {at(kSettingsKeyPath, kValueScreenSaverMode), REG_DWORD}, {at(kSettingsKeyPath, kValueScreenSaverTimeout), REG_DWORD},
        {at(kSettingsKeyPath, kValueGameMode), REG_DWORD}, {at(kGameKeyPath, kValueTimeSkin), REG_SZ},
        {at(kGameKeyPath, kValueSsSoundVol), REG_DWORD}, {at(kGameKeyPath, kValueSsMusicVol), REG_DWORD}};
    auto flat = [](const Snapshot& snapshot) {  // each key by its path, each value by its key's path, "\\:" and its name
        std::map<std::wstring, RegValue> entries;
        for (const auto& [path, values] : snapshot.keys)
            for (entries[path]; const auto& [name, value] : values) entries[path + L"\\:" + name] = value;
        return entries;
    };
    const std::map<std::wstring, RegValue> b = flat(before), a = flat(after);
    std::set<std::wstring> found;
    for (const auto* one : {&b, &a})
        for (const auto& [entry, unused] : *one) {
            const auto ib = b.find(entry), ia = a.find(entry);
            if ((ib != b.end() && ia != a.end() && ib->second == ia->second) ||
                (entry + L"\\").starts_with(kExceptionsKeyPath + std::wstring(L"\\")))
                continue;
            if (ia == a.end() || std::none_of(std::begin(writable), std::end(writable), [&](const auto& w) {
                    return !_wcsicmp(w.first.c_str(), entry.c_str()) && w.second == ia->second.type;
                }))
                found.insert(entry.substr(0, 120));
        }
    return found;
}

}  // namespace

// Each state, ending and whether the Screen Saver tab was opened: the vendor subtree as before,
// but for the keys every run opens (made with their parents when missing) and the edits of
// each window's OK and of the Screen Saver tab's opening, which stores the defaults.
TEST(RoundTrip, AcceptingEverythingUneditedStoresOnlyWhatEachEndingStores) {
    const wchar_t *S = kSettingsKeyPath, *E = kExceptionsKeyPath, *G = kGameKeyPath, *kNames[] = {L"  0", L"  1", L"  2"};
    const RegValue neon = Sz(kSkins + L"Neon\\");
    // The edits: of the Screen Saver tab's opening; of the exceptions dialog's OK, the key rewritten; of the advanced
    // options' OK, ss_sound_vol and ss_music_vol; of the sheet's OK, the Screen Saver page's and the other pages'.
    struct State {
        const char* what; Entries stored, opened; std::vector<std::wstring> exceptions; DWORD dwSound, dwMusic; Entries ssOk, ok;
    } const states[] = {
        {"the sample device, in use: all comes back as it was",
         {{S, kValueScreenSaverMode, Dword(0x106)}, {S, kValueScreenSaverTimeout, Dword(300)}, {S, kValueGameMode, Dword(1)},
          {E, L"  0", Sz(L"notes.exe")}, {E, L"  1", Sz(L"PLAYER.EXE")}, {G, kValueSoundVol, Dword(40)}, {G, kValueMusicVol, Dword(24)},
          {G, kValueUserSettings, Sz(L"C:\\My Documents\\Brumvale\\Island.ino")}, {G, kValueTimeSkin, neon},
          {G, kValueSsSoundVol, Dword(30)}, {G, kValueSsMusicVol, Dword(0)}},
         {}, {L"notes.exe", L"PLAYER.EXE"}, 30, 0, {}, {}},
        {"empty", {}, {{S, kValueScreenSaverMode, Dword(6)}, {S, kValueScreenSaverTimeout, Dword(120)}}, {}, 50, 50, {},
         {{S, kValueGameMode, Dword(1)}, {G, kValueTimeSkin, Sz(L"")}}},
        // An unreadable mode, a short timeout, a game mode of 3 bytes and other bits, exceptions under foreign names (one
        // empty, one without its null), a skin in other case, the game's volumes (one out of range) for the screen saver's.
        {"to be tidied",
         {{S, kValueScreenSaverMode, Sz(L"switched off")}, {S, kValueScreenSaverTimeout, Dword(5)},
          {S, kValueGameMode, {REG_BINARY, {2, 0, 0}}}, {E, L"zeta", Sz(L"PLAYER.EXE")}, {E, L"7", Sz(L"calc.exe")},
          {E, L"  5", Sz(L"")}, {E, L"%d", {REG_SZ, {'n', 0, 'o', 0, 't', 0, 'e', 0, 's', 0}}}, {G, kValueSoundVol, Dword(40)},
          {G, kValueMusicVol, Dword(99)}, {G, kValueSsSoundVol, Dword(REGKEY_NO_DEFAULT)},
          {G, kValueTimeSkin, Sz(L"c:\\PROGRAM FILES\\brumvale\\timeskins\\neon\\")}},
         {{S, kValueScreenSaverMode, Dword(6)}}, {L"calc.exe", L"notes", L"PLAYER.EXE"}, 40, 64,
         {{S, kValueScreenSaverTimeout, Dword(10)}}, {{S, kValueGameMode, Dword(0)}, {G, kValueTimeSkin, neon}}},
    };
    for (const State& state : states)
        for (End end : {End::kOk, End::kCancel, End::kClose})
            for (bool bScreenSaver : {true, false}) {
                const std::string what = state.what + std::string(", ") + kEndNames[int(end)] + (bScreenSaver ? "" : ", no Screen Saver tab");
                SCOPED_TRACE(what);
                DeleteTree(kVendorKeyPath);
                if (!state.stored.empty()) ResetProgramKeys(kSettingsKeyPath, {});
                for (const auto& [path, name, value] : state.stored) SetValue(path, name, value);
                Snapshot expected = Snapshot::Of(kVendorKeyPath);
                for (const std::wstring path : {kVendorKeyPath, kServiceKeyPath.c_str(), S, G}) expected.keys[path];
                const auto apply = [&](const Entries& edits) { for (const auto& [path, name, value] : edits) expected.Set(path, name, value); };
                if (bScreenSaver) {
                    apply(state.opened);
                    expected.keys[E].clear();
                    for (size_t i = 0; i < state.exceptions.size(); ++i) expected.Set(E, kNames[i], Sz(state.exceptions[i]));
                    expected.Set(G, kValueSsSoundVol, Dword(state.dwSound)).Set(G, kValueSsMusicVol, Dword(state.dwMusic));
                }
                if (end == End::kOk) apply(state.ok), apply(bScreenSaver ? state.ssOk : Entries{});
                EXPECT_EQ(RunProgram(end, bScreenSaver, what), L"");
                EXPECT_EQ(Snapshot::Of(kVendorKeyPath), expected);
            }
}

// BRUMVALE_HOSTILE_STATES states (12 unless given) seeded from BRUMVALE_HOSTILE_SEED on (1 unless given), each
// ended with OK: every run is over in time, meets no message box nor exception and changes only what it may.
TEST(RoundTrip, HostileRegistriesEndAndChangeOnlyTheProgramsValues) {
    const char *pszCount = std::getenv("BRUMVALE_HOSTILE_STATES"), *pszSeed = std::getenv("BRUMVALE_HOSTILE_SEED");
    const unsigned nStates = pszCount ? std::strtoul(pszCount, nullptr, 10) : 12, seedBase = pszSeed ? std::strtoul(pszSeed, nullptr, 10) : 1;
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
    ResetProgramKeys(kSettingsKeyPath, {});  // no locked key left behind
    std::printf("hostile states: %u run from seed %u, %u failed\n", nStates, seedBase, nFailed);
}
