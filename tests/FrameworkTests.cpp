// The class layer and the shell services the windows build on: message maps, windows bound at
// creation, the option dialog base, message box ownership, tree items, folder enumeration.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/Harness.h"
#include "tests/ToolkitTestIds.h"
#include "app/OptionDialog.h"
#include "shell/FolderEnum.h"

namespace {

// Records what its map handles; the base class maps WM_CLOSE and a command the derived also maps.
class CMapBase : public CWnd {
public:
    std::string log;

protected:
    void OnClose() { log += "base-close "; }
    void OnBaseCommand() { log += "base-command "; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMapBase, CWnd)
    ON_WM_CLOSE()
    ON_COMMAND(7, OnBaseCommand)
    ON_COMMAND(8, OnBaseCommand)
END_MESSAGE_MAP()

class CMapDerived : public CMapBase {
protected:
    void OnCommand7() { log += "derived-7 "; }
    void OnSetFocus(HWND) { log += "focus "; }
    void OnClick(NMHDR*, LRESULT* pResult) { log += "click ", *pResult = 5; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMapDerived, CMapBase)
    ON_COMMAND(7, OnCommand7)
    ON_WM_SETFOCUS()
    ON_NOTIFY(NM_CLICK, 3, OnClick)
END_MESSAGE_MAP()

}  // namespace

TEST(Framework, MapsTakeTheMostDerivedEntryAndLeaveTheRestToTheWindow) {
    CMapDerived wnd;
    ASSERT_TRUE(wnd.CreateEx(0, L"EDIT", L"", WS_POPUP, RECT{0, 0, 50, 20}, nullptr, 0));
    NMHDR click{wnd.m_hWnd, 3, static_cast<UINT>(NM_CLICK)}, other{wnd.m_hWnd, 4, static_cast<UINT>(NM_CLICK)};
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* log;
        LRESULT result;
    } cases[] = {
        {WM_COMMAND, 7, 0, "derived-7 ", 0},        // the derived entry, never also the base's
        {WM_COMMAND, 8, 0, "base-command ", 0},     // not in the derived map: the base's
        {WM_COMMAND, MAKEWPARAM(8, 1), 0, "", 0},   // other code: nobody's
        {WM_NOTIFY, 3, reinterpret_cast<LPARAM>(&click), "click ", 5},
        {WM_NOTIFY, 4, reinterpret_cast<LPARAM>(&other), "", 0},
        {WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"), "", TRUE},  // unmapped: the edit's own
        {WM_CLOSE, 0, 0, "base-close ", 0},         // mapped: the default close never runs
    };
    for (const Case& c : cases) {
        wnd.log.clear();
        EXPECT_EQ(::SendMessageW(wnd.m_hWnd, c.message, c.wParam, c.lParam), c.result) << c.message << " " << c.wParam;
        EXPECT_EQ(wnd.log, c.log) << c.message << " " << c.wParam;
    }
    EXPECT_EQ(wnd.GetWindowText(), L"typed");
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);  // unbound at its end
}

TEST(Framework, CreateExBindsTheWindowFromItsFirstMessage) {
    // A control made at run time sees its own focus change, and was bound before WM_NCCREATE.
    struct CFirstMessage : CMapDerived {
        UINT first = 0;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (first == 0) first = message;
            return CMapDerived::WindowProc(message, wParam, lParam);
        }
    } wnd;
    HWND hParent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                     nullptr, nullptr);
    CWnd parent;
    parent.Attach(hParent);
    ASSERT_TRUE(wnd.CreateEx(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 20}, &parent, 100));
    EXPECT_EQ(wnd.first, static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(wnd.GetDlgCtrlID(), 100);
    ::SetFocus(wnd.m_hWnd);
    EXPECT_EQ(wnd.log, "focus ");
    EXPECT_FALSE(wnd.CreateEx(0, L"EDIT", L"", WS_CHILD, RECT{}, &parent, 101));  // once bound, stays
    CWnd none;
    EXPECT_FALSE(none.CreateEx(0, L"NoSuchClass", L"", WS_POPUP, RECT{}, nullptr, 0));
    EXPECT_EQ(none.m_hWnd, nullptr);
    parent.Detach();
    ::DestroyWindow(hParent);
}

namespace {
class CProbeDialog : public COptionDialog {
public:
    CProbeDialog(BOOL bCommandBar, CWnd* pParent = nullptr)
        : COptionDialog(IDD_TOOLKIT_HOST, pParent, L"Probe title", L"file:probe", bCommandBar) {}
    BOOL m_initResult = -1;
    const CDialogAdapter& Adapter() const { return m_chrome.m_adapter; }

protected:
    BOOL OnInitDialog() override { return m_initResult = COptionDialog::OnInitDialog(); }
};
}  // namespace

// The dialogs' chrome: the header title and the bar with its Cancel that stays docked at the
// bottom when the dialog is resized; a dialog whose bar cannot be made ends at once, cancelled.
TEST(Framework, OptionDialogsCarryTheirBarAndEndWhenItCannotBeMade) {
    CProbeDialog dialog(TRUE);
    LONG gap = -1, gapAfterResize = -2;
    auto barGap = [&] {
        RECT client{}, bar = WindowRectInParent(dialog.GetCommandBar().m_hWnd);
        dialog.GetClientRect(&client);
        return client.bottom - bar.bottom;
    };
    EXPECT_EQ(RunModal(dialog, {[&] {
                           EXPECT_EQ(dialog.Adapter().m_strTitle, L"Probe title");
                           gap = barGap();
                           ::SetWindowPos(dialog.m_hWnd, nullptr, 0, 0, 300, 400, SWP_NOMOVE | SWP_NOZORDER);
                           gapAfterResize = barGap();
                           HWND hBar = dialog.GetCommandBar().m_hWnd;
                           RECT rc{};
                           ::SendMessageW(hBar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
                           ClickAt(hBar, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
                       }}),
              IDCANCEL);
    EXPECT_EQ(gap, 0);
    EXPECT_EQ(gapAfterResize, 0);
    EXPECT_EQ(dialog.m_initResult, TRUE);

    CProbeDialog noBar(FALSE);
    RunModal(noBar, {[&] {
                 EXPECT_EQ(noBar.GetCommandBar().m_hWnd, nullptr);
                 noBar.EndDialog(IDOK);
             }});
    EXPECT_EQ(noBar.m_initResult, TRUE);

    CRefuseWindows noToolbars(TOOLBARCLASSNAMEW);
    CProbeDialog failed(TRUE);
    EXPECT_EQ(failed.DoModal(), IDCANCEL);  // nobody pressed anything
    EXPECT_EQ(failed.m_initResult, FALSE);
}

// A message shown from a dialog belongs to that dialog, not to the sheet behind it, and keeps it
// from taking input meanwhile.
TEST(Framework, MessageBoxesAreOwnedByTheInnermostModalWindow) {
    CProbeDialog outer(TRUE);
    CProbeDialog inner(FALSE, &outer);
    MessageBoxSeen fromInner, fromOuter;
    HWND hInner = nullptr, hOuter = nullptr;
    int answer = 0;
    RunModal(outer, {[&] {
                 RunModal(inner, {[&] { answer = AfxMessageBox(L"From the inner one", MB_ICONERROR); },
                                  [&] { hInner = inner.m_hWnd, fromInner = AnswerMessageBox(IDOK); },
                                  [&] { inner.EndDialog(IDOK); }});
                 // Queued only now: the steps of a run go after every step already waiting.
                 OnNextIdle([&] { hOuter = outer.m_hWnd, fromOuter = AnswerMessageBox(IDOK); });
                 OnNextIdle([&] { outer.EndDialog(IDOK); });
                 AfxMessageBox(L"From the outer one");
             }});
    EXPECT_EQ(fromInner.hOwner, hInner);
    EXPECT_EQ(fromInner.caption, L"Brumvale Tests");
    EXPECT_EQ(fromInner.text, L"From the inner one");
    EXPECT_EQ(fromInner.hIcon, ::LoadIconW(nullptr, IDI_ERROR));
    EXPECT_FALSE(fromInner.ownerEnabled);
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(fromOuter.text, L"From the outer one");
    EXPECT_EQ(fromOuter.hOwner, hOuter);
}

TEST(Framework, TreeItemsGoAfterTheGivenItemAndKeepTheirImages) {
    CTreeCtrl tree;
    ASSERT_TRUE(tree.CreateEx(0, WC_TREEVIEWW, L"", WS_POPUP, RECT{0, 0, 100, 100}, nullptr, 0));
    HTREEITEM hRoot = tree.InsertItem(L"\\", TVI_ROOT, TVI_FIRST);
    HTREEITEM hFolder = tree.InsertItem(L"Folder", 0, 0, hRoot, TVI_FIRST);
    tree.InsertItem(L"b.exe", 1, 1, hRoot, hFolder);
    tree.InsertItem(L"a.exe", 1, 2, hRoot, hFolder);  // directly after the folder: before b.exe
    std::wstring order;
    for (HTREEITEM h = tree.GetChildItem(hRoot); h != nullptr; h = tree.GetNextSiblingItem(h)) {
        int image = -1;
        EXPECT_TRUE(tree.GetItemSelectedImage(h, image));
        order += tree.GetItemText(h) + L":" + std::to_wstring(image) + L" ";
        EXPECT_EQ(tree.GetParentItem(h), hRoot);
    }
    EXPECT_EQ(order, L"Folder:0 a.exe:2 b.exe:1 ");
    EXPECT_TRUE(tree.SelectItem(hFolder));
    EXPECT_EQ(tree.GetSelectedItem(), hFolder);
    tree.DestroyWindow();
}

TEST(Framework, FolderEntriesComeWithoutPseudoEntriesAndTheSearchIsAlwaysClosed) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path dir = std::filesystem::path(temp) / L"brumvale-enum";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / L"Sub");
    std::ofstream(dir / L"a.exe").put('x');
    const std::wstring pattern = dir.wstring() + L"\\*";
    // While a search is open the folder cannot be removed: a search left open shows there.
    auto folderCanGo = [&] {
        std::filesystem::path moved = dir.wstring() + L"-moved";
        if (!::MoveFileW(dir.c_str(), moved.c_str())) return false;
        return ::MoveFileW(moved.c_str(), dir.c_str()) != FALSE;
    };
    std::vector<std::wstring> names;
    EXPECT_TRUE(ForEachFolderEntry(pattern, [&](const WIN32_FIND_DATAW& data) { names.push_back(data.cFileName); }));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Sub", L"a.exe"}));
    EXPECT_THROW(ForEachFolderEntry(pattern, [](const WIN32_FIND_DATAW&) { throw 1; }), int);
    EXPECT_TRUE(folderCanGo());
    EXPECT_FALSE(ForEachFolderEntry(dir.wstring() + L"\\Missing\\*", [](const WIN32_FIND_DATAW&) { ADD_FAILURE(); }));
    std::filesystem::remove_all(dir);
}
