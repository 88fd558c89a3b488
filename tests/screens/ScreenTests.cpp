// The toolkit on the handhelds' screens. Each run of this program is on one screen, set up by
// tests/run-on-screen.sh, which names it in BRUMVALE_SCREEN ("240x320") and BRUMVALE_DPI.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/ToolkitHost.h"
#include "tests/ToolkitTestIds.h"
#include "shell/ShellControls.h"
#include "toolkit/ScreenLayout.h"
#include "toolkit/ToolkitFonts.h"

namespace {

struct ScreenCase {
    int cx, cy;
    int scale;     // GetScreenScale
    bool sipPref;  // a "SIPPREF" child is made
} const kScreens[] = {
    {240, 320, 1, true}, {320, 240, 1, true}, {400, 300, 1, true},
    {240, 240, 1, false}, {480, 640, 2, true}, {640, 480, 2, true},
};

struct DpiCase {
    int dpi;
    int band;                   // header band height: the first row of the rule
    std::vector<int> ruleRows;  // rows of the black rule
    int fontHeight;             // toolkit fonts' cell height
} const kDpis[] = {
    {96, 24, {24}, 13},
    {192, 48, {48, 49}, 26},
};

class ScreenTest : public testing::Test {
protected:
    void SetUp() override {
        const char* size = std::getenv("BRUMVALE_SCREEN");
        const char* dpi = std::getenv("BRUMVALE_DPI");
        ASSERT_TRUE(size != nullptr && dpi != nullptr) << "run through tests/run-on-screen.sh";
        int cx = 0, cy = 0;
        ASSERT_EQ(std::sscanf(size, "%dx%d", &cx, &cy), 2);
        for (const ScreenCase& s : kScreens)
            if (s.cx == cx && s.cy == cy) m_pScreen = &s;
        for (const DpiCase& d : kDpis)
            if (d.dpi == std::atoi(dpi)) m_pDpi = &d;
        ASSERT_NE(m_pScreen, nullptr) << "no expectations for screen " << size;
        ASSERT_NE(m_pDpi, nullptr) << "no expectations for " << dpi << " dpi";
    }
    const ScreenCase* m_pScreen = nullptr;
    const DpiCase* m_pDpi = nullptr;
};

}  // namespace

TEST_F(ScreenTest, RunsOnTheNamedScreen) {
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), m_pScreen->cx);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), m_pScreen->cy);
    HDC hdc = ::GetDC(nullptr);
    EXPECT_EQ(::GetDeviceCaps(hdc, LOGPIXELSX), m_pDpi->dpi);
    EXPECT_EQ(::GetDeviceCaps(hdc, LOGPIXELSY), m_pDpi->dpi);
    ::ReleaseDC(nullptr, hdc);
}

TEST_F(ScreenTest, ScaleFactorFollowsScreenWidth) { EXPECT_EQ(GetScreenScale(), m_pScreen->scale); }

TEST_F(ScreenTest, SipPrefChildOnlyWhereTheScreenIsNotSquare) {
    CToolkitHost host(L"SIP");
    host.RunWith([&] {
        HWND hSip = ::FindWindowExW(host.m_hWnd, nullptr, kSipPrefClass, nullptr);
        EXPECT_EQ(hSip != nullptr, m_pScreen->sipPref);
    });
}

TEST_F(ScreenTest, HeaderBandRuleAndFontsFollowPixelDensity) {
    CToolkitHost host(L"Header");
    host.RunWith([&] {
        // Small enough to stay on the screen, where its pixels can be read back.
        host.SizeClientAndPaint(m_pScreen->cx - 40, m_pScreen->cy - 60);
        CClientPixels px(host.m_hWnd);
        const int x = px.Width() - 10;  // right of the title; controls begin further down
        EXPECT_EQ(px.RowsOf(x, RGB(0, 0, 0), 2 * m_pDpi->band), m_pDpi->ruleRows);
        EXPECT_EQ(px.At(x, m_pDpi->band - 1), ::GetSysColor(COLOR_WINDOW));

        std::vector<int> ink = px.RowsWith(RGB(0, 0, 156), px.Height());
        ASSERT_FALSE(ink.empty());
        EXPECT_LT(ink.back(), m_pDpi->band);
        // Capitals and descenders of "Header" take more than half the cell, never more than all.
        int inkHeight = ink.back() - ink.front() + 1;
        EXPECT_GT(inkHeight, m_pDpi->fontHeight / 2);
        EXPECT_LE(inkHeight, m_pDpi->fontHeight);
        EXPECT_GE(px.ColumnsWith(RGB(0, 0, 156), m_pDpi->band).front(), ScaleX(8));

        EXPECT_EQ(FontOf(host.GetDlgItem(IDC_TOOLKIT_OK)).nHeight, m_pDpi->fontHeight);
        EXPECT_EQ(FontOf(host.GetDlgItem(IDC_TOOLKIT_CHECK)).nHeight, m_pDpi->fontHeight);
    });
}

// Last: it changes the display mode, as turning the device does, and puts it back.
TEST_F(ScreenTest, ScaleFactorStaysWhenTheScreenChanges) {
    const int scale = GetScreenScale();
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
