// The program picker on a folder made on the test device's drive; the exceptions dialog.
#include <gtest/gtest.h>

#include <algorithm>

#include "dialogs/ExceptionsDialog.h"
#include "dialogs/SelectFileDialog.h"
#include "resources/resource.h"
#include "settings/RegistryKey.h"
#include "settings/Schema.h"
#include "shell/FolderEnum.h"
#include "tests/Harness.h"
#include "tests/RegistryFixture.h"

namespace {

using Strings = std::vector<std::wstring>;
const Strings kExe{L"exe"};

HWND Modal() { return AfxGetModalWnd(); }
HWND Tree() { return ::GetDlgItem(Modal(), IDC_PICKER_TREE); }
std::wstring Text(HTREEITEM hItem) {  // a folder's name ends in "/"
    wchar_t text[MAX_PATH] = {};
    TVITEMW item{TVIF_TEXT | TVIF_IMAGE, hItem, 0, 0, text, MAX_PATH, 0, 0, 0, 0};
    TreeView_GetItem(Tree(), &item);
    return text + std::wstring(item.iImage == 0 ? L"/" : L"");
}
Strings Children(HTREEITEM hParent) {
    Strings names;
    for (HTREEITEM h = TreeView_GetChild(Tree(), hParent); h != nullptr; h = TreeView_GetNextSibling(Tree(), h))
        names.push_back(Text(h));
    return names;
}
HTREEITEM Find(const Strings& path) {  // from the root "\"
    HTREEITEM hItem = TreeView_GetRoot(Tree());
    for (const std::wstring& name : path)
        for (hItem = TreeView_GetChild(Tree(), hItem); hItem != nullptr && Text(hItem) != name;)
            hItem = TreeView_GetNextSibling(Tree(), hItem);
    return hItem;
}

// C:\Folder: each entry and whether the picker shows it. Each folder but Empty holds In.exe.
const std::pair<std::wstring, bool> kEntries[] = {
    {L"Program.exe", true}, {L"Sub/", true}, {L"Tool.EXE", true}, {L"readme", false}, {L"Empty/", true},
    {L"archive.exe.bak", false}, {L"exe", false}, {L"Hidden/", true}, {L"notes.txt", false},
    {L"ReadOnly/", true}, {L"a.exe", true},
};
void MakeFile(const std::wstring& path) { ::CloseHandle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0)); }

// A user's step: "+path", Add with the picker answering OK with the path; "sN", item N selected; "r", Remove.
void Perform(CExceptionsDialog& dialog, const std::wstring& op) {
    auto tell = [&](int id, int code) { dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), LPARAM(dialog.GetDlgItem(id))); };
    if (op[0] == L's') ::SendMessageW(dialog.GetDlgItem(IDC_EXC_LIST), LB_SETCURSEL, op[1] - L'0', 0), tell(IDC_EXC_LIST, LBN_SELCHANGE);
    if (op[0] == L'r') tell(IDC_EXC_REMOVE, BN_CLICKED);
    if (op[0] != L'+') return;
    OnNextIdle([&] {
        g_strPickedPath = op.substr(1);
        static_cast<CDialog*>(CWnd::FromHandlePermanent(Modal()))->EndDialog(IDOK);
    });
    tell(IDC_EXC_ADD, BN_CLICKED);
}

Changes Texts(const Strings& names, const Strings& texts) {
    Changes stored;
    for (size_t i = 0; i < texts.size(); ++i) stored.emplace(names[i], Sz(texts[i]));
    return stored;
}
const Strings kNames{L"  0", L"  1", L"  2"};

}  // namespace

// The tree: folders in the order the file system gives them, then the listed files in the reverse
// of it. Where the starting path leads, what OK then allows, and the path the caller reads after.
TEST(Picker, ListsFoldersThenFilesAndLeadsFromTheStartingPathToTheResult) {
    ::CreateDirectoryW(L"\\Folder", nullptr);
    for (const auto& [entry, shown] : kEntries) {
        const std::wstring path = L"\\Folder\\" + entry.substr(0, entry.find(L'/'));
        if (entry.back() != L'/') MakeFile(path);
        else if (::CreateDirectoryW(path.c_str(), nullptr) && entry != L"Empty/") MakeFile(path + L"\\In.exe");
    }
    ::SetFileAttributesW(L"\\Folder\\Hidden", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    ::SetFileAttributesW(L"\\Folder\\ReadOnly", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY);
    Strings expected;
    auto firstFile = expected.begin() - expected.begin();
    ForEachFolderEntry(L"\\Folder\\*", [&](const WIN32_FIND_DATAW& data) {
        for (const auto& [entry, shown] : kEntries)
            if (shown && entry.substr(0, entry.find(L'/')) == data.cFileName)
                expected.insert(expected.begin() + (entry.back() == L'/' ? firstFile++ : firstFile), entry);
    });
    const int kStaysOpen = 0;
    const struct { std::wstring start; Strings click; std::wstring selected; int command, result; std::wstring picked; } rows[] = {
        {L"", {}, L"\\/", IDOK, kStaysOpen, L""},  // the root: an item without image, a folder
        {L"\\folder\\SUB", {}, L"Sub/", IDOK, kStaysOpen, L""},
        {L"\\FOLDER\\program.EXE", {}, L"Program.exe", IDOK, IDOK, L"\\Folder\\Program.exe"},
        {L"\\Folder\\Missing\\Program.exe", {}, L"Folder/", IDOK, kStaysOpen, L""},
        {L"\\Folder\\Sub", {L"Folder/", L"Sub/", L"In.exe"}, L"In.exe", IDOK, IDOK, L"\\Folder\\Sub\\In.exe"},
        {L"\\Folder\\Tool.EXE", {L"Folder/"}, L"Folder/", IDOK, kStaysOpen, L""},
        {L"\\Folder\\Tool.EXE", {}, L"Tool.EXE", IDCANCEL, IDCANCEL, L"\\Folder\\Tool.EXE"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "start " << testing::PrintToString(row.start));
        CSelectFileDialog picker(row.start, &kExe, 1, L"Pick", nullptr);
        EXPECT_EQ(RunModal(picker, {[&] {
                      if (row.start.empty()) {  // the whole tree, once
                          EXPECT_EQ(Children(Find({L"Folder/"})), expected);
                          for (const wchar_t* folder : {L"Sub/", L"Hidden/", L"ReadOnly/", L"Empty/"})
                              EXPECT_EQ(Children(Find({L"Folder/", folder})), folder[0] == L'E' ? Strings{} : Strings{L"In.exe"});
                      }
                      if (!row.click.empty()) TreeView_SelectItem(Tree(), Find(row.click));
                      EXPECT_EQ(Text(TreeView_GetSelection(Tree())), row.selected);
                      EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(Modal(), IDOK)), row.selected.back() != L'/');
                      ::SendMessageW(Modal(), WM_COMMAND, row.command, 0);
                      if (picker.ContinueModal()) picker.EndDialog(kStaysOpen);
                  }}), row.result);
        EXPECT_EQ(g_strPickedPath, row.picked);
    }
}

// The list as loaded and edited; the key rewritten whole on OK as "  0", "  1", ... in the list's
// order, untouched by Cancel or the bar's Cancel.
TEST(ExceptionsDialog, EditsTheListAndRewritesTheKeyOnOk) {
    const int kBarCancel = 0;
    struct Row { const char* what; Changes stored; Strings ops; Strings list; int sel; int end; };
    std::vector<Row> rows = {
        {"loaded: nothing selected", Texts(kNames, {L"b.exe", L"a.exe"}), {}, {L"a.exe", L"b.exe"}, -1, IDOK},
        {"a program's name", {}, {L"+\\Program Files\\Tools\\calc.exe"}, {L"calc.exe"}, 0, IDOK},
        {"duplicate; item 0 selected, then kept", Texts(kNames, {L"b.exe"}), {L"+\\b.exe", L"+\\a.exe"},
         {L"a.exe", L"b.exe", L"b.exe"}, 1, IDOK},
        {"remove the last", Texts(kNames, {L"a", L"b", L"c"}), {L"s2", L"r"}, {L"a", L"b"}, 1, IDOK},
        {"remove a middle one", Texts(kNames, {L"a", L"b", L"c"}), {L"s1", L"r"}, {L"a", L"c"}, 1, IDOK},
        {"remove the only one", Texts(kNames, {L"a"}), {L"s0", L"r", L"r"}, {}, -1, IDOK},
        {"the bar's Cancel", Texts(kNames, {L"a.exe"}), {L"+\\b.exe"}, {L"a.exe", L"b.exe"}, 0, kBarCancel},
    };
    // Thousands of values, other types, a text without its null, the longest name the store reads,
    // and a name too long for it, which ends its enumeration (the name sorts last) and so stays.
    Row many{"5,000 values and odd ones", {{L"q dword", Dword('A')}, {L"q nonull", RegValue{REG_SZ, {'z', 0, 'z', 0}}},
             {std::wstring(259, L'n'), Sz(L"B")}}, {}, {L"A", L"B"}, -1, IDOK};
    for (int i = 0; i < 5000; ++i)
        many.stored.emplace(L"p" + std::to_wstring(i), Sz(many.list.emplace_back(L"p" + std::to_wstring(10000 + i))));
    many.list.push_back(L"zz");
    many.stored.emplace(std::wstring(300, L'~'), Sz(L"out of reach"));
    rows.push_back(many);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Snapshot expected = ResetProgramKeys(kExceptionsKeyPath, row.stored);
        if (row.end == IDOK) {
            std::erase_if(expected.keys[kExceptionsKeyPath], [](const auto& value) { return value.first.size() < 260; });
            for (int i = 0; i < int(row.list.size()); ++i)
                if (wchar_t name[8]; swprintf(name, 8, L"%3d", i) > 0) expected.Set(kExceptionsKeyPath, name, Sz(row.list[i]));
        }
        CWatchedRegistry watched;  // a key is flushed once written, as it closes
        CExceptionsDialog dialog;
        RunModal(dialog, {[&] {
            for (const std::wstring& op : row.ops) Perform(dialog, op);
            HWND hList = dialog.GetDlgItem(IDC_EXC_LIST);
            Strings list;
            for (wchar_t text[64]; ::SendMessageW(hList, LB_GETTEXT, list.size(), LPARAM(text)) >= 0;) list.push_back(text);
            EXPECT_EQ(list, row.list);
            EXPECT_EQ(::SendMessageW(hList, LB_GETCURSEL, 0, 0), row.sel);
            EXPECT_EQ(::IsWindowEnabled(dialog.GetDlgItem(IDC_EXC_REMOVE)), row.sel >= 0);
            if (row.end == kBarCancel) TapBarButton(dialog.GetCommandBar().m_hWnd);
            else dialog.SendMessage(WM_COMMAND, row.end);
        }});
        EXPECT_EQ(Snapshot::Of(kVendorKeyPath), expected);
        EXPECT_EQ(watched.s_nFlushes, row.end == IDOK && !row.list.empty()) << "flushes";
    }
}

// Drive B: as tests/picker-odd-tree.sh makes it; run from there only. The picker opens with
// everything in it; the link back to the root is shown and not entered again.
TEST(PickerLimits, DISABLED_OddDriveOpensWhole) {
    ::SetCurrentDirectoryW(L"B:\\");
    Strings deep;
    for (int i = 1; i <= 12; ++i) deep.push_back(L"folder number " + std::to_wstring(i) + L" of a deep path/");
    deep.push_back(L"deep.exe");
    CSelectFileDialog picker(L"", &kExe, 1, L"Pick", nullptr);
    RunModal(picker, {[&] {
        EXPECT_EQ(Children(Find({L"Many/"})).size(), 10000u);
        EXPECT_NE(Find(deep), nullptr);
        Strings odd = Children(Find({L"Odd ü ✓/"}));
        std::sort(odd.begin(), odd.end());
        EXPECT_EQ(odd, (Strings{L"\"quoted\".exe", L"100% sure.exe", L"Case.exe", L"case.exe", L"with  spaces .exe",
                                L"Ünïcødé ✓.exe"}));
        EXPECT_NE(Find({L"Locked/"}), nullptr);
        EXPECT_EQ(Children(Find({L"Loop/", L"Inner/", L"Back/"})), Strings{});
        picker.EndDialog(IDCANCEL);
    }});
    ::SetCurrentDirectoryW(L"C:\\");
}
