// The class layer: windows bound at creation, a throw ending the run (every window proves the maps).
#include <gtest/gtest.h>

#include "framework/Framework.h"
#include "tests/Faults.h"
#include "tests/Harness.h"

namespace {

struct CFirstSeen : CWnd {
    UINT first = 0;  // the first message the object saw
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (first == 0) first = message;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

// CreateEx binds from the first message; a failed one has no window.
TEST(Framework, CreateExBindsFromTheFirstMessage) {
    CWnd parent;
    parent.Attach(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99, 0, 0, 0, 0));
    CFirstSeen wnd;
    ASSERT_TRUE(wnd.CreateEx(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 20}, &parent, 100));
    EXPECT_EQ(wnd.first, static_cast<UINT>(WM_NCCREATE));
    CWnd none;
    EXPECT_FALSE(none.CreateEx(0, L"NoSuchClass", L"", WS_POPUP, RECT{}, nullptr, 0) || none.m_hWnd);
    ::DestroyWindow(parent.Detach());
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
