// The option dialog base: its command bar, its owner and the message boxes it shows.
#include <gtest/gtest.h>

#include "tests/ToolkitHost.h"

// A dialog's bar stays docked at the bottom and ends the dialog; without its bar a dialog ends at
// once, cancelled. A message shown from a dialog in front of another belongs to that dialog.
TEST(OptionDialog, CarriesItsBarAndOwnsItsMessages) {
    // The main window owns a dialog without parent, enabled again by the chrome as on the handheld.
    CWnd main;
    main.Attach(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0));
    AfxGetApp()->m_pMainWnd = &main;
    CToolkitHost dialog(L"Outer", TRUE), inner(L"Inner", FALSE, &dialog);
    CAnswerMessageBoxes boxes;
    HWND hInner = nullptr;
    auto runInner = [&] {  // made without a bar, it ends with IDOK
        return RunModal(inner, {[&] {
            AfxMessageBox(L"From the inner one", MB_ICONERROR);
            hInner = inner.m_hWnd, inner.EndDialog(inner.GetCommandBar().m_hWnd ? 9 : IDOK);
        }});
    };
    EXPECT_EQ(RunModal(dialog, {[&] {
                           EXPECT_TRUE(main.IsWindowEnabled());
                           ::SetWindowPos(dialog.m_hWnd, nullptr, 0, 0, 300, 400, SWP_NOMOVE | SWP_NOZORDER);
                           RECT client{};
                           dialog.GetClientRect(&client);
                           EXPECT_EQ(InParent(dialog.GetCommandBar().m_hWnd).bottom, client.bottom);
                           EXPECT_EQ(runInner(), IDOK);
                           TapBarButton(dialog.GetCommandBar().m_hWnd);
                       }}), IDCANCEL);
    AfxGetApp()->m_pMainWnd = nullptr;
    ::DestroyWindow(main.Detach());
    ASSERT_EQ(boxes.m_seen.size(), 1u);
    EXPECT_EQ(std::pair(boxes.m_seen[0].hOwner, boxes.m_seen[0].hIcon), std::pair(hInner, ::LoadIconW(nullptr, IDI_ERROR)));

    CRefuseWindows noToolbars(TOOLBARCLASSNAMEW);
    CToolkitHost failed(L"No bar", TRUE);
    EXPECT_EQ(failed.DoModal(), IDCANCEL);
    EXPECT_EQ(failed.m_initResult, FALSE);
}
