// The class layer and the shell services the windows build on: message maps, windows bound at
// creation, the option dialog base, message box ownership, folder enumeration.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "shell/FolderEnum.h"
#include "tests/ToolkitHost.h"

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
    void OnClick(NMHDR*, LRESULT* pResult) { log += "click ", *pResult = 5; }
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

// A dialog's bar stays docked at the bottom and ends the dialog; without its bar a dialog ends at
// once, cancelled. A message shown from a dialog in front of another belongs to that dialog.
TEST(Framework, OptionDialogsCarryTheirBarAndOwnTheirMessages) {
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
                           EXPECT_EQ(WindowRectInParent(dialog.GetCommandBar().m_hWnd).bottom, client.bottom);
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

// A missing folder gives FALSE without a visit; a visit that throws still closes the search,
// else the folder could not move.
TEST(Framework, FolderSearchesAreAlwaysClosed) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / L"brumvale-search";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / L"a.exe").put('x');
    const auto none = [](const WIN32_FIND_DATAW&) { ADD_FAILURE(); };
    EXPECT_THROW(ForEachFolderEntry(dir.wstring() + L"\\*", [](const WIN32_FIND_DATAW&) { throw 1; }), int);
    const std::wstring moved = dir.wstring() + L"-moved";
    EXPECT_TRUE(::MoveFileW(dir.c_str(), moved.c_str()) && ::MoveFileW(moved.c_str(), dir.c_str()));
    EXPECT_FALSE(ForEachFolderEntry(dir.wstring() + L"\\Missing\\*", none));
    std::filesystem::remove_all(dir);
}
