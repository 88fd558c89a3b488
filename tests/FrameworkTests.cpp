// The class layer: the most derived map entry, windows bound at creation (every window proves the rest of the maps).
#include <gtest/gtest.h>

#include "framework/Framework.h"
#include "tests/Faults.h"
#include "tests/Harness.h"

namespace {

// The base and the derived class map the same command.
struct CMapBase : CWnd {
    std::string log;
    void OnBaseCommand() { log += "base-7 "; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMapBase, CWnd)
    ON_COMMAND(7, OnBaseCommand)
END_MESSAGE_MAP()

struct CMapDerived : CMapBase {
    UINT first = 0;  // the first message the object saw
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (first == 0) first = message;
        return CMapBase::WindowProc(message, wParam, lParam);
    }
    void OnCommand7() { log += "derived-7 "; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMapDerived, CMapBase)
    ON_COMMAND(7, OnCommand7)
END_MESSAGE_MAP()

}  // namespace

// The most derived entry alone takes a message; CreateEx binds from the first message to the end, a failed one has no
// window.
TEST(Framework, MapsTakeTheMostDerivedEntryAndCreateExBindsFromTheFirstMessage) {
    CWnd parent;
    parent.Attach(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99, 0, 0, 0, 0));
    CMapDerived wnd;
    ASSERT_TRUE(wnd.CreateEx(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 20}, &parent, 100));
    EXPECT_EQ(wnd.first, static_cast<UINT>(WM_NCCREATE));
    ::SendMessageW(wnd.m_hWnd, WM_COMMAND, 7, 0);
    EXPECT_EQ(wnd.log, "derived-7 ");
    CWnd none;
    EXPECT_FALSE(none.CreateEx(0, L"NoSuchClass", L"", WS_POPUP, RECT{}, nullptr, 0) || none.m_hWnd);
    ::DestroyWindow(parent.Detach());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

// A throw as the sheet starts ends the run, as one anywhere else does: the sheet, cancelled, leaves the quit behind it.
TEST(Framework, AThrowAsTheSheetStartsEndsTheRun) {
    struct CThrowingSheet : CPropertySheet {
        CThrowingSheet() : CPropertySheet(L"Throws", nullptr, 0) {}
        BOOL OnInitDialog() override {
            ::PostMessageW(m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            throw std::bad_alloc();
        }
    } sheet;
    CPropertyPage page(kGamePageTemplate);
    sheet.AddPage(&page);
    sheet.DoModal();
    EXPECT_TRUE(TakeQuitMessage());
}

// So does a throw as a dialog whose creation was not seen is bound at its WM_INITDIALOG (its first allocation failed).
TEST(Framework, AThrowAsADialogIsBoundLateEndsTheRun) {
    struct CBoundLate : CDialog {
        CBoundLate() : CDialog(104) {}  // the advanced options' template
        using CDialog::DialogProc;
    } dialog;
    g_pszPhase = "bound late";
    faults::Arm("new", 1);
    HWND hWnd = ::CreateDialogParamW(nullptr, MAKEINTRESOURCEW(104), nullptr, &CBoundLate::DialogProc, LPARAM(&dialog));
    faults::Disarm();
    g_pszPhase = "";
    ::DestroyWindow(hWnd);
    EXPECT_TRUE(TakeQuitMessage());
}
