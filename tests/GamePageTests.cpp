// The Game page on the real options sheet and the real registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "tests/Harness.h"
#include "app/OptionsSheet.h"
#include "resources/resource.h"
#include "settings/Schema.h"

namespace {

const wchar_t kVarnholt[] = L"SOFTWARE\\Varnholt";
constexpr long long kAbsent = -1;

// The program's keys, empty; other tests' keys beside them stay.
void ClearSchemaKeys() {
    for (const wchar_t* path : {kSettingsKeyPath, kExceptionsKeyPath, kGameKeyPath})
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, path);
}

// Values around the one under test that the page must leave alone.
void SeedNeighbours() {
    SetRegistryDword(HKEY_LOCAL_MACHINE, kSettingsKeyPath, kValueScreenSaverMode, 0x11F);
    SetRegistryDword(HKEY_LOCAL_MACHINE, kSettingsKeyPath, kValueScreenSaverTimeout, 3661);
    SetRegistryDword(HKEY_LOCAL_MACHINE, kGameKeyPath, kValueSoundVol, 30);
}

void SetGameMode(long long value) {
    HKEY hKey = nullptr;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr);
    if (value == kAbsent) ::RegDeleteValueW(hKey, kValueGameMode);
    else SetRegistryDword(HKEY_LOCAL_MACHINE, kSettingsKeyPath, kValueGameMode, static_cast<DWORD>(value));
    ::RegCloseKey(hKey);
}

// The registry state with the game mode as it should be; everything else as it was.
std::wstring ExpectedState(long long gameMode) {
    SetGameMode(gameMode);
    return RegistryState(HKEY_LOCAL_MACHINE, kVarnholt);
}

}  // namespace

TEST(GamePage, ReadsTheSwitchAndStoresExactlyOneOrZero) {
    enum Action { kOk, kToggleThenOk, kCancel, kToggleThenCancel };
    struct Case {
        long long stored;
        int shownChecked;
        Action action;
        long long expected;
    } cases[] = {
        {kAbsent, BST_CHECKED, kOk, 1},  // no value: phone edition on
        {2, BST_UNCHECKED, kOk, 0},      // only bit 0 counts
        {3, BST_CHECKED, kOk, 1},        // other bits dropped
        {0xDEF0, BST_CHECKED, kOk, 1},   // 57072 reads as no value
        {1, BST_CHECKED, kToggleThenOk, 0},
        {0, BST_UNCHECKED, kToggleThenOk, 1},
        {0, BST_UNCHECKED, kToggleThenCancel, 0},
        {kAbsent, BST_CHECKED, kToggleThenCancel, kAbsent},  // reading writes nothing back
        {2, BST_UNCHECKED, kCancel, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stored " << c.stored << ", action " << c.action);
        ClearSchemaKeys();
        SeedNeighbours();
        const std::wstring expected = ExpectedState(c.expected);
        SetGameMode(c.stored);

        COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
        int shown = -1;
        OnNextIdle([&] {
            HWND hBox = sheet.m_gamePage.GetDlgItem(IDC_GAME_PHONE_EDITION);
            shown = static_cast<int>(::SendMessageW(hBox, BM_GETCHECK, 0, 0));
            if (c.action == kToggleThenOk || c.action == kToggleThenCancel) ::SendMessageW(hBox, BM_CLICK, 0, 0);
            bool ok = c.action == kOk || c.action == kToggleThenOk;
            ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, ok ? PSBTN_OK : PSBTN_CANCEL, 0);
        });
        sheet.DoModal();
        EXPECT_EQ(shown, c.shownChecked);
        EXPECT_EQ(GetRegistryDword(HKEY_LOCAL_MACHINE, kSettingsKeyPath, kValueGameMode), c.expected);
        EXPECT_EQ(RegistryState(HKEY_LOCAL_MACHINE, kVarnholt), expected);
    }
}

TEST(GamePage, CloseStoresNothing) {
    ClearSchemaKeys();
    SeedNeighbours();
    SetGameMode(1);
    const std::wstring before = RegistryState(HKEY_LOCAL_MACHINE, kVarnholt);
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    OnNextIdle([&] {
        ::SendMessageW(sheet.m_gamePage.GetDlgItem(IDC_GAME_PHONE_EDITION), BM_CLICK, 0, 0);
        ::SendMessageW(sheet.m_hWnd, WM_CLOSE, 0, 0);
    });
    sheet.DoModal();
    TakeQuitMessage();
    EXPECT_EQ(RegistryState(HKEY_LOCAL_MACHINE, kVarnholt), before);
}
