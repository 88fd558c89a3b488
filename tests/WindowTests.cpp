// Every window's facts as the table gives them, and where each first places itself on the 800 x 600 test screen.
#include "tests/Windows.h"

TEST(Windows, EachShowsItsCaptionHeaderHelpOwnerBarHooksFontsAndFirstPlacement) {
    const auto asked = WalkWindows([](const WindowFacts& row, HWND hWnd) {
        ExpectFacts(row, hWnd);
        for (const auto& [id, edges] : row.placed)
            EXPECT_EQ(Edges(id ? InParent(::GetDlgItem(hWnd, id)) : ClientOf(hWnd)), edges) << row.window << " " << id;
    });
    EXPECT_EQ(asked, TableTopics());
}
