// Every window's facts as the table gives them, and where each first places itself on the 800 x 600 test screen.
#include "tests/ToolkitHost.h"
#include "tests/Windows.h"

TEST(Windows, EachShowsItsCaptionHeaderHelpOwnerBarHooksFontsAndFirstPlacement) {
    std::vector<std::string> topics;
    for (const WindowFacts& row : kWindows) topics.push_back("file:QovBrumvale.htm#" + row.help);
    const auto asked = WalkWindows([](const WindowFacts& row, HWND hWnd) {
        SCOPED_TRACE(row.window);
        const WindowFacts shown = FactsOf(row, hWnd);
        EXPECT_EQ(shown.caption, row.caption);
        EXPECT_EQ(shown.header, row.header);
        EXPECT_EQ(shown.owner, row.owner);
        EXPECT_EQ(shown.bar, row.bar);
        EXPECT_EQ(shown.hooked, row.hooked);
        EXPECT_EQ(shown.fonts, row.fonts);
        for (const auto& [id, edges] : row.placed)
            EXPECT_EQ(Edges(id ? InParent(::GetDlgItem(hWnd, id)) : ClientOf(hWnd)), edges) << "control " << id;
    });
    EXPECT_EQ(asked, topics);
}
