// The class layer: message maps, windows bound at creation.
#include <gtest/gtest.h>

#include "framework/Framework.h"

namespace {

// The base maps WM_CLOSE and a command; the derived class maps the command again.
struct CMapBase : CWnd {
    std::string log;
    void OnClose() { log += "base-close "; }
    void OnBaseCommand() { log += "base-7 "; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMapBase, CWnd)
    ON_WM_CLOSE()
    ON_COMMAND(7, OnBaseCommand)
END_MESSAGE_MAP()

struct CMapDerived : CMapBase {
    UINT first = 0;  // the first message the object saw
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (first == 0) first = message;
        return CMapBase::WindowProc(message, wParam, lParam);
    }
    void OnCommand7() { log += "derived-7 "; }
    void OnClick(NMHDR*, LRESULT* pResult) {
        log += "click ";
        *pResult = 5;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMapDerived, CMapBase)
    ON_COMMAND(7, OnCommand7)
    ON_NOTIFY(NM_CLICK, 3, OnClick)
END_MESSAGE_MAP()

}  // namespace

// The most derived entry handles a message, never also the base's; unmapped messages get the
// window's own handling. A window made with CreateEx is bound from its first message on.
TEST(Framework, MapsTakeTheMostDerivedEntryAndCreateExBindsFromTheFirstMessage) {
    CWnd parent;
    parent.Attach(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99, 0, 0, 0, 0));
    CMapDerived wnd;
    ASSERT_TRUE(wnd.CreateEx(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 20}, &parent, 100));
    EXPECT_EQ(wnd.first, static_cast<UINT>(WM_NCCREATE));
    NMHDR click{wnd.m_hWnd, 3, static_cast<UINT>(NM_CLICK)}, other{wnd.m_hWnd, 4, static_cast<UINT>(NM_CLICK)};
    const struct { UINT message; WPARAM wParam; LPARAM lParam; const char* log; LRESULT result; } cases[] = {
        {WM_COMMAND, 7, 0, "derived-7 ", 0},
        {WM_COMMAND, MAKEWPARAM(7, 1), 0, "", 0},  // another notification code
        {WM_NOTIFY, 3, reinterpret_cast<LPARAM>(&click), "click ", 5},
        {WM_NOTIFY, 4, reinterpret_cast<LPARAM>(&other), "", 0},
        {WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"), "", TRUE},
        {WM_CLOSE, 0, 0, "base-close ", 0},  // the default close would destroy the edit
    };
    for (const auto& c : cases) {
        wnd.log.clear();
        EXPECT_EQ(::SendMessageW(wnd.m_hWnd, c.message, c.wParam, c.lParam), c.result) << c.message << " " << c.wParam;
        EXPECT_EQ(wnd.log, c.log) << c.message << " " << c.wParam;
    }
    CWnd none;  // a window that cannot be made
    EXPECT_FALSE(none.CreateEx(0, L"NoSuchClass", L"", WS_POPUP, RECT{}, nullptr, 0) || none.m_hWnd);
    ::DestroyWindow(parent.Detach());
    EXPECT_EQ(wnd.m_hWnd, nullptr);  // unbound at its end
}
