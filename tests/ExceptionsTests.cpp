// The program picker on a folder made for it on the test device's drive, and the exceptions
// dialog with the real registry, both driven inside their own modal loops.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "dialogs/ExceptionsDialog.h"
#include "dialogs/SelectFileDialog.h"
#include "resources/resource.h"
#include "settings/RegistryKey.h"
#include "settings/Schema.h"
#include "tests/Harness.h"
#include "tests/RegistryFixture.h"

namespace {

using Strings = std::vector<std::wstring>;
const Strings kExe{L"exe"};

// The innermost running dialog, as its object.
CDialog& ModalDialog() { return *static_cast<CDialog*>(CWnd::FromHandlePermanent(AfxGetModalWnd())); }
HWND PickerTree() { return ::GetDlgItem(AfxGetModalWnd(), IDC_PICKER_TREE); }

std::wstring ItemText(HWND hTree, HTREEITEM hItem) {
    wchar_t text[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_IMAGE, item.hItem = hItem, item.pszText = text, item.cchTextMax = MAX_PATH;
    TreeView_GetItem(hTree, &item);
    return text + std::wstring(item.iImage == 0 ? L"/" : L"");  // folders marked
}
HTREEITEM FindItem(HWND hTree, const Strings& path) {  // from the root "\"
    HTREEITEM hItem = TreeView_GetRoot(hTree);
    for (const std::wstring& name : path) {
        hItem = TreeView_GetChild(hTree, hItem);
        while (hItem != nullptr && ItemText(hTree, hItem) != name) hItem = TreeView_GetNextSibling(hTree, hItem);
    }
    return hItem;
}
Strings Children(HWND hTree, HTREEITEM hParent) {
    Strings names;
    for (HTREEITEM h = TreeView_GetChild(hTree, hParent); h != nullptr; h = TreeView_GetNextSibling(hTree, h))
        names.push_back(ItemText(hTree, h));
    return names;
}
std::wstring SelectedText() { HWND t = PickerTree(); return ItemText(t, TreeView_GetSelection(t)); }
bool OkEnabled() { return ::IsWindowEnabled(::GetDlgItem(AfxGetModalWnd(), IDOK)); }

// C:\Folder: folders, programs and files to hide; each entry shown or not.
struct Entry { std::wstring name; bool folder; bool shown; DWORD attributes = 0; };
const Entry kEntries[] = {
    {L"Program.exe", false, true}, {L"Sub", true, true}, {L"Tool.EXE", false, true},
    {L"readme", false, false}, {L"Empty", true, true}, {L"archive.exe.bak", false, false},
    {L"exe", false, false}, {L"Hidden", true, true, FILE_ATTRIBUTE_HIDDEN}, {L"notes.txt", false, false},
    {L"ReadOnly", true, true, FILE_ATTRIBUTE_READONLY}, {L"a.exe", false, true},
};

struct PickerTest : testing::Test {
    static void SetUpTestSuite() {
        ::CreateDirectoryW(L"\\Folder", nullptr);
        for (const Entry& e : kEntries) {
            const std::wstring path = L"\\Folder\\" + e.name;
            if (!e.folder) ::CloseHandle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            if (e.folder) ::CreateDirectoryW(path.c_str(), nullptr);
            if (e.folder && e.name != L"Empty")
                ::CloseHandle(::CreateFileW((path + L"\\In.exe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            if (e.attributes) ::SetFileAttributesW(path.c_str(), e.attributes | FILE_ATTRIBUTE_DIRECTORY);
        }
    }
};

}  // namespace

// Folders in the order the file system gives them, then the listed files in the reverse of it.
TEST_F(PickerTest, FoldersFirstThenFilesReversedOnlyListedExtensions) {
    Strings folders, files;
    WIN32_FIND_DATAW data{};
    HANDLE hFind = ::FindFirstFileW(L"\\Folder\\*", &data);
    do {
        for (const Entry& e : kEntries)
            if (e.shown && e.name == data.cFileName) {
                if (e.folder) folders.push_back(e.name + L"/");
                else files.insert(files.begin(), e.name);
            }
    } while (::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
    Strings expected = folders;
    expected.insert(expected.end(), files.begin(), files.end());

    CSelectFileDialog picker(L"", &kExe, 1, L"Pick", nullptr);
    EXPECT_EQ(RunModal(picker, {[&] {
                  HWND hTree = PickerTree();
                  EXPECT_EQ(Children(hTree, FindItem(hTree, {L"Folder/"})), expected);
                  EXPECT_EQ(Children(hTree, FindItem(hTree, {L"Folder/", L"Empty/"})), Strings{});
                  for (const wchar_t* folder : {L"Sub/", L"Hidden/", L"ReadOnly/"})
                      EXPECT_EQ(Children(hTree, FindItem(hTree, {L"Folder/", folder})), Strings{L"In.exe"}) << folder;
                  EXPECT_EQ(SelectedText(), L"\\/");  // the root, an item without image, counts as a folder
                  EXPECT_FALSE(OkEnabled());
                  ::SendMessageW(AfxGetModalWnd(), WM_COMMAND, IDCANCEL, 0);
              }}),
              IDCANCEL);
}

// Where the starting path leads, what OK then allows, and the path the caller reads after.
TEST_F(PickerTest, StartingPathSelectionOkAndResult) {
    const int kStaysOpen = 0;
    const struct { std::wstring start; Strings click; std::wstring selected; bool ok; int command, result; std::wstring picked; } rows[] = {
        {L"", {}, L"\\/", false, IDOK, kStaysOpen, L""},
        {L"\\folder\\SUB", {}, L"Sub/", false, IDOK, kStaysOpen, L""},
        {L"\\FOLDER\\program.EXE", {}, L"Program.exe", true, IDOK, IDOK, L"\\Folder\\Program.exe"},
        {L"\\Folder\\Missing\\Program.exe", {}, L"Folder/", false, IDOK, kStaysOpen, L""},
        {L"\\Folder\\Sub", {L"Folder/", L"Sub/", L"In.exe"}, L"In.exe", true, IDOK, IDOK, L"\\Folder\\Sub\\In.exe"},
        {L"\\Folder\\Tool.EXE", {L"Folder/"}, L"Folder/", false, IDOK, kStaysOpen, L""},
        {L"\\Folder\\Tool.EXE", {}, L"Tool.EXE", true, IDCANCEL, IDCANCEL, L"\\Folder\\Tool.EXE"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "start " << testing::PrintToString(row.start));
        CSelectFileDialog picker(row.start, &kExe, 1, L"Pick", nullptr);
        INT_PTR result = RunModal(picker, {[&] {
            if (!row.click.empty()) TreeView_SelectItem(PickerTree(), FindItem(PickerTree(), row.click));
            EXPECT_EQ(SelectedText(), row.selected);
            EXPECT_EQ(OkEnabled(), row.ok);
            ::SendMessageW(AfxGetModalWnd(), WM_COMMAND, row.command, 0);
            if (::IsWindow(picker.m_hWnd) && row.result == kStaysOpen) {
                EXPECT_TRUE(::IsWindowVisible(picker.m_hWnd));
                picker.EndDialog(kStaysOpen);
            }
        }});
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(g_strPickedPath, row.picked);
    }
}

namespace {

// One step of the user's: 'a' Add, the picker answering OK with the path; 'c' Add, the picker
// cancelled; 's' select the item; 'r' Remove.
struct Op { char kind; std::wstring path; int item = 0; };
Op Add(const std::wstring& path) { return {'a', path}; }
const Op kPickerCancelled{'c', L""}, kRemove{'r', L""};
Op Select(int item) { return {'s', L"", item}; }

int g_flushes = 0;
RegistryEntryPoints g_realRegistry;
LSTATUS WINAPI CountFlush(HKEY hKey) { return ++g_flushes, g_realRegistry.pfnFlushKey(hKey); }

void Perform(CExceptionsDialog& dialog, const Op& op) {
    HWND hList = dialog.GetDlgItem(IDC_EXC_LIST);
    auto command = [&](int id, int code, HWND from) { ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(id, code), LPARAM(from)); };
    if (op.kind == 'a' || op.kind == 'c')
        OnNextIdle([&] {
            g_strPickedPath = op.path;
            ModalDialog().EndDialog(op.kind == 'a' ? IDOK : IDCANCEL);
        });
    if (op.kind == 's') ::SendMessageW(hList, LB_SETCURSEL, op.item, 0), command(IDC_EXC_LIST, LBN_SELCHANGE, hList);
    if (op.kind == 'a' || op.kind == 'c') command(IDC_EXC_ADD, BN_CLICKED, dialog.GetDlgItem(IDC_EXC_ADD));
    if (op.kind == 'r') command(IDC_EXC_REMOVE, BN_CLICKED, dialog.GetDlgItem(IDC_EXC_REMOVE));
}

}  // namespace

// The list as loaded and edited, and the key after OK, Cancel or the bar's Cancel: rewritten
// whole on OK as "  0", "  1", ... in the list's order, untouched otherwise.
TEST(ExceptionsDialog, EditsTheListAndRewritesTheKeyOnOk) {
    using Stored = std::vector<std::pair<std::wstring, std::wstring>>;
    const int kBarCancel = 0;
    const struct { const char* what; Stored stored; std::vector<Op> ops; Strings list; int sel; int end; } rows[] = {
        {"loaded: nothing selected", {{L"  0", L"b.exe"}, {L"  1", L"a.exe"}}, {}, {L"a.exe", L"b.exe"}, -1, IDOK},
        {"a program's name", {}, {Add(L"\\Program Files\\Tools\\calc.exe")}, {L"calc.exe"}, 0, IDOK},
        {"trailing backslash", {}, {Add(L"\\Tools\\Sub\\")}, {L"Sub"}, 0, IDOK},
        {"no backslash", {}, {Add(L"calc.exe")}, {L"calc.exe"}, 0, IDOK},
        {"nothing left", {}, {Add(L"\\"), kPickerCancelled}, {}, -1, IDOK},
        {"duplicate; item 0 selected, then kept", {{L"  0", L"b.exe"}}, {Add(L"\\b.exe"), Add(L"\\a.exe")}, {L"a.exe", L"b.exe", L"b.exe"}, 1, IDOK},
        {"remove the last", {{L"  0", L"a"}, {L"  1", L"b"}, {L"  2", L"c"}}, {Select(2), kRemove}, {L"a", L"b"}, 1, IDOK},
        {"remove a middle one", {{L"  0", L"a"}, {L"  1", L"b"}, {L"  2", L"c"}}, {Select(1), kRemove}, {L"a", L"c"}, 1, IDOK},
        {"remove the only one", {{L"  0", L"a"}}, {Select(0), kRemove, kRemove}, {}, -1, IDOK},
        {"foreign names", {{L"zeta", L"b.exe"}, {L"alpha", L"c.exe"}, {L"7", L"a.exe"}}, {}, {L"a.exe", L"b.exe", L"c.exe"}, -1, IDOK},
        {"empty text", {{L"  0", L""}, {L"  1", L"a.exe"}}, {}, {L"a.exe"}, -1, IDOK},
        {"Cancel", {{L"  0", L"a.exe"}}, {Add(L"\\b.exe"), Select(0), kRemove}, {L"b.exe"}, 0, IDCANCEL},
        {"the bar's Cancel", {{L"  0", L"a.exe"}}, {Add(L"\\b.exe")}, {L"a.exe", L"b.exe"}, 0, kBarCancel},
    };
    g_realRegistry = GetRegistryEntryPoints();
    GetRegistryEntryPoints().pfnFlushKey = CountFlush;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ClearProgramKeys();
        SeedNeighbours();
        for (const auto& [name, text] : row.stored) SetValue(kExceptionsKeyPath, name, Sz(text));
        Snapshot expected = Snapshot::Of(kVendorKeyPath);
        if (row.end == IDOK) {
            expected.keys[kExceptionsKeyPath].clear();
            for (size_t i = 0; i < row.list.size(); ++i) {
                wchar_t name[8];
                swprintf(name, 8, L"%3d", int(i));
                expected.Set(kExceptionsKeyPath, name, Sz(row.list[i]));
            }
        }
        g_flushes = 0;
        CExceptionsDialog dialog;
        RunModal(dialog, {[&] {
            for (const Op& op : row.ops) Perform(dialog, op);
            HWND hList = dialog.GetDlgItem(IDC_EXC_LIST);
            Strings list;
            wchar_t text[64];
            for (int i = 0; ::SendMessageW(hList, LB_GETTEXT, i, LPARAM(text)) >= 0; ++i) list.push_back(text);
            EXPECT_EQ(list, row.list);
            EXPECT_EQ(::SendMessageW(hList, LB_GETCURSEL, 0, 0), row.sel);
            EXPECT_EQ(::IsWindowEnabled(dialog.GetDlgItem(IDC_EXC_REMOVE)), row.sel >= 0);
            if (row.end == kBarCancel) TapBarButton(dialog.GetCommandBar().m_hWnd);
            else ::SendMessageW(dialog.m_hWnd, WM_COMMAND, row.end, 0);
        }});
        EXPECT_EQ(Snapshot::Of(kVendorKeyPath), expected);
        EXPECT_EQ(g_flushes, row.end == IDOK && !row.list.empty()) << "flushes";
    }
    GetRegistryEntryPoints() = g_realRegistry;
}
