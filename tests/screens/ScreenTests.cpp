// The toolkit on the handhelds' screens. Each run of this program is on one real screen and pixel
// density, set up by tests/run-on-screen.sh.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "tests/ToolkitHost.h"
#include "tests/ToolkitTestIds.h"
#include "shell/ShellControls.h"
#include "toolkit/ScreenLayout.h"
#include "toolkit/ToolkitFonts.h"

namespace {

struct Screen {
    int cx, cy, dpi;            // as tests/CMakeLists.txt pairs them
    int scale;                  // GetScreenScale
    bool sipPref;               // a "SIPPREF" child is made
    int band;                   // header band height: the first row of the rule
    std::vector<int> ruleRows;  // rows of the black rule
    int fontHeight;             // toolkit fonts' cell height
} const kScreens[] = {
    {240, 320, 96, 1, true, 24, {24}, 13},       {320, 240, 96, 1, true, 24, {24}, 13},
    {400, 300, 96, 1, true, 24, {24}, 13},       {240, 240, 96, 1, false, 24, {24}, 13},
    {480, 640, 192, 2, true, 48, {48, 49}, 26}, {640, 480, 96, 2, true, 24, {24}, 13},
};

// Finds the expectations for the screen this run is really on.
class ScreenTest : public testing::Test {
protected:
    void SetUp() override {
        HDC hdc = ::GetDC(nullptr);
        const int dpi = ::GetDeviceCaps(hdc, LOGPIXELSY);
        ::ReleaseDC(nullptr, hdc);
        const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
        for (const Screen& s : kScreens)
            if (s.cx == cx && s.cy == cy && s.dpi == dpi) m_pScreen = &s;
        ASSERT_NE(m_pScreen, nullptr) << "no expectations for " << cx << "x" << cy << " at " << dpi << " dpi";
    }
    const Screen* m_pScreen = nullptr;
};

}  // namespace

TEST_F(ScreenTest, HeaderFontsAndSipPrefFitTheScreen) {
    CToolkitHost host(L"Header");
    host.RunWith([&] {
        EXPECT_EQ(::FindWindowExW(host.m_hWnd, nullptr, kSipPrefClass, nullptr) != nullptr, m_pScreen->sipPref);
        // Small enough to stay on the screen, where its pixels can be read back.
        SizeClient(host.m_hWnd, m_pScreen->cx - 40, m_pScreen->cy - 60);
        const int x = m_pScreen->cx - 50;  // right of the title; controls begin further down
        const int band = m_pScreen->band;
        // The band is filled with the window colour and hangs its rule below its last row.
        EXPECT_EQ(RowsOf(host.m_hWnd, x, RGB(0, 0, 0), 2 * band), m_pScreen->ruleRows);
        EXPECT_EQ(PixelAt(host.m_hWnd, x, band - 1), ::GetSysColor(COLOR_WINDOW));

        // The title in its colour, centred in the band, from 8 logical pixels in; the capitals
        // of "Header" take more than half the font's cell, never more than all of it.
        RECT ink = BoundsOf(host.m_hWnd, RGB(0, 0, 156), 2 * band);
        ASSERT_FALSE(::IsRectEmpty(&ink));
        EXPECT_LE(ink.bottom, band);
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, band / 2.0, band / 8.0);
        EXPECT_GT(ink.bottom - ink.top, m_pScreen->fontHeight / 2);
        EXPECT_LE(ink.bottom - ink.top, m_pScreen->fontHeight);
        EXPECT_GE(ink.left, ScaleX(8));
        for (int id : {IDC_TOOLKIT_OK, IDC_TOOLKIT_CHECK})
            EXPECT_EQ(FontOf(host.GetDlgItem(id)).lfHeight, m_pScreen->fontHeight) << id;
    });
}

// Last: it changes the display mode, as turning the device does, and puts it back.
TEST_F(ScreenTest, ScaleFactorFollowsTheFirstScreenWidthOnly) {
    const int scale = GetScreenScale();
    EXPECT_EQ(scale, m_pScreen->scale);
    // The desktop offers only modes no larger than itself: a mode across the 400-pixel line
    // exists on the wide screens.
    DEVMODEW target{};
    target.dmSize = sizeof(target);
    bool found = false;
    for (DWORD i = 0; !found && ::EnumDisplaySettingsW(nullptr, i, &target); ++i)
        found = (target.dmPelsWidth > 400) != (m_pScreen->cx > 400);
    if (!found) GTEST_SKIP() << "no display mode across 400 pixels from " << m_pScreen->cx;

    target.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(::ChangeDisplaySettingsExW(nullptr, &target, nullptr, CDS_FULLSCREEN, nullptr), DISP_CHANGE_SUCCESSFUL);
    const int cxChanged = ::GetSystemMetrics(SM_CXSCREEN);
    const int scaleAfter = GetScreenScale();
    ::ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);

    EXPECT_EQ(cxChanged, static_cast<int>(target.dmPelsWidth));
    EXPECT_EQ(scaleAfter, scale);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), m_pScreen->cx);
}
