// The Game page on the real options sheet and the real registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <optional>

#include "app/OptionsSheet.h"
#include "resources/resource.h"
#include "settings/RegistryKey.h"
#include "settings/Schema.h"
#include "tests/Harness.h"
#include "tests/RegistryFixture.h"
#include "toolkit/ControlHook.h"

// Only bit 0 of the stored mode counts; OK stores exactly 1 or 0, Cancel and Close nothing.
TEST(GamePage, ReadsTheSwitchAndStoresExactlyOneOrZero) {
    enum : int { kToggle = 1, kOk = 2, kCancel = 4, kClose = 8 };
    struct Case {
        std::optional<DWORD> stored;
        int shownChecked;
        int actions;
        std::optional<DWORD> expected;
    } cases[] = {
        {std::nullopt, BST_CHECKED, kOk, 1},       // no value: phone edition on
        {2, BST_UNCHECKED, kOk, 0},                // only bit 0 counts
        {3, BST_CHECKED, kOk, 1},                  // other bits dropped
        {REGKEY_NO_DEFAULT, BST_CHECKED, kOk, 1},  // reads as no value
        {1, BST_CHECKED, kToggle | kOk, 0},
        {0, BST_UNCHECKED, kToggle | kOk, 1},
        {0, BST_UNCHECKED, kToggle | kCancel, 0},
        {std::nullopt, BST_CHECKED, kToggle | kCancel, std::nullopt},  // reading writes nothing back
        {2, BST_UNCHECKED, kCancel, 2},
        {1, BST_CHECKED, kToggle | kClose, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        ClearProgramKeys();
        SeedNeighbours();
        if (c.stored) SetValue(kSettingsKeyPath, kValueGameMode, Dword(*c.stored));
        Snapshot expected = Snapshot::Of(kVendorKeyPath);
        if (c.expected) expected.Set(kSettingsKeyPath, kValueGameMode, Dword(*c.expected));

        COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
        int shown = -1;
        OnNextIdle([&] {
            HWND hBox = sheet.m_gamePage.GetDlgItem(IDC_GAME_PHONE_EDITION);
            EXPECT_TRUE(IsControlHooked(hBox));  // pen taps go straight to the box
            shown = static_cast<int>(::SendMessageW(hBox, BM_GETCHECK, 0, 0));
            if (c.actions & kToggle) ::SendMessageW(hBox, BM_CLICK, 0, 0);
            if (c.actions & kClose) ::SendMessageW(sheet.m_hWnd, WM_CLOSE, 0, 0);
            else ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, (c.actions & kOk) ? PSBTN_OK : PSBTN_CANCEL, 0);
        });
        sheet.DoModal();
        TakeQuitMessage();  // left by Close
        EXPECT_EQ(shown, c.shownChecked);
        EXPECT_EQ(Snapshot::Of(kVendorKeyPath), expected);
    }
}
