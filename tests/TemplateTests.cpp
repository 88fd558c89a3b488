// What every page and dialog template must keep, whatever its controls: each control below the
// header band, and no two sharing an id.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>

#include "resources/resource.h"
#include "framework/Wnd.h"
#include "toolkit/ToolkitFonts.h"

TEST(Templates, ControlsStayBelowTheHeaderWithTheirOwnIds) {
    for (UINT id : {IDD_GAME_PAGE, IDD_SKINS_PAGE, IDD_SCREENSAVER_PAGE, IDD_EXCEPTIONS, IDD_ADVANCED_OPTIONS}) {
        HWND hDlg = ::CreateDialogParamW(nullptr, MAKEINTRESOURCEW(id), nullptr,
                                         [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return 0; }, 0);
        ASSERT_NE(hDlg, nullptr) << id;
        std::set<int> ids;
        for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
            const int ctrl = ::GetDlgCtrlID(h);
            EXPECT_GE(WindowRectInParent(h).top, ScaleY(24) + 1) << id << ":" << ctrl;  // below the band's rule
            EXPECT_TRUE(ctrl == 0xFFFF || ids.insert(ctrl).second) << id << ":" << ctrl;  // 0xFFFF: IDC_STATIC
        }
        ::DestroyWindow(hDlg);
    }
}
