// The Game page on the real options sheet and the real registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <tuple>

#include "app/OptionsSheet.h"
#include "resources/resource.h"
#include "settings/RegistryKey.h"
#include "settings/Schema.h"
#include "tests/Harness.h"
#include "tests/RegistryFixture.h"
#include "toolkit/ControlHook.h"

// Only bit 0 of the stored mode counts; OK stores exactly 1 or 0, Cancel and Close nothing.
TEST(GamePage, ReadsTheSwitchAndStoresExactlyOneOrZero) {
    const int kClose = 0;  // the sheet closed, no button pressed
    const std::tuple<std::optional<DWORD>, int, bool, int, std::optional<DWORD>> cases[] = {
        // stored, box shown, toggled, button, stored after
        {std::nullopt, BST_CHECKED, false, PSBTN_OK, 1},       // no value: phone edition on
        {2, BST_UNCHECKED, false, PSBTN_OK, 0},                // only bit 0 counts
        {3, BST_CHECKED, false, PSBTN_OK, 1},                  // other bits dropped
        {REGKEY_NO_DEFAULT, BST_CHECKED, false, PSBTN_OK, 1},  // reads as no value
        {1, BST_CHECKED, true, PSBTN_OK, 0},
        {2, BST_UNCHECKED, true, PSBTN_CANCEL, 2},                      // not the box, nor a tidied 0
        {std::nullopt, BST_CHECKED, true, PSBTN_CANCEL, std::nullopt},  // reading writes nothing back
        {1, BST_CHECKED, true, kClose, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c));
        const auto& [stored, shownChecked, toggle, button, after] = c;
        ClearProgramKeys();
        SeedNeighbours();
        if (stored) SetValue(kSettingsKeyPath, kValueGameMode, Dword(*stored));
        Snapshot expected = Snapshot::Of(kVendorKeyPath);
        if (after) expected.Set(kSettingsKeyPath, kValueGameMode, Dword(*after));

        COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
        RunModal(sheet, {[&] {
                     HWND hBox = sheet.m_gamePage.GetDlgItem(IDC_GAME_PHONE_EDITION);
                     EXPECT_TRUE(IsControlHooked(hBox));  // pen taps go straight to the box
                     EXPECT_EQ(::SendMessageW(hBox, BM_GETCHECK, 0, 0), shownChecked);
                     if (toggle) ::SendMessageW(hBox, BM_CLICK, 0, 0);
                     ::SendMessageW(sheet.m_hWnd, button == kClose ? WM_CLOSE : PSM_PRESSBUTTON, button, 0);
                 }});
        // Close puts a quit message in front of the default close, which would run the pages' Cancel.
        EXPECT_EQ(TakeQuitMessage(), button == kClose);
        EXPECT_EQ(Snapshot::Of(kVendorKeyPath), expected);
    }
}
