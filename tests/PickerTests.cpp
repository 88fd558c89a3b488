// The program picker on folders made on the test device's drives.
#include "dialogs/SelectFileDialog.h"
#include "tests/Harness.h"

namespace {

using Strings = std::vector<std::wstring>;
const Strings kExe{L"exe"};

HWND Modal() { return AfxGetModalWnd(); }
HWND Tree() { return ::GetDlgItem(Modal(), kPickerTree); }
Strings ChildrenAt(const Strings& path) { return Children(Tree(), Find(Tree(), path)); }

// C:\Folder: each entry and whether the picker shows it. Each folder but Empty holds In.exe.
const std::pair<std::wstring, bool> kEntries[] = {
    {L"Program.exe", true}, {L"Sub/", true}, {L"Tool.EXE", true}, {L"readme", false}, {L"Empty/", true},
    {L"archive.exe.bak", false}, {L"exe", false}, {L"Hidden/", true}, {L"notes.txt", false},
    {L"ReadOnly/", true}, {L"a.exe", true}, {L"Hidden.exe", true}, {L".dotted/", true}, {L".dotted.exe", true},
    {L".d/", true},
};
void MakeFile(const std::wstring& path) {
    ::CloseHandle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0));
}

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
    ::SetFileAttributesW(L"\\Folder\\Hidden.exe", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Strings expected;
    auto firstFile = expected.begin() - expected.begin();
    for (const std::wstring& name : Listed(L"\\Folder\\*"))
        for (const auto& [entry, shown] : kEntries)
            if (shown && entry.substr(0, entry.find(L'/')) == name)
                expected.insert(expected.begin() + (entry.back() == L'/' ? firstFile++ : firstFile), entry);
    const int kStaysOpen = 0;
    struct Row { std::wstring start; Strings click; std::wstring selected; int command, result; std::wstring picked; };
    const Row rows[] = {
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
                      // The whole tree, once, as the template and the images make it (its place: the screen tests).
                      if (row.start.empty()) {
                          int cx = 0, cy = 0;
                          HIMAGELIST hImages = TreeView_GetImageList(Tree(), TVSIL_NORMAL);
                          EXPECT_TRUE(ImageList_GetIconSize(hImages, &cx, &cy) && cx == 16);
                          EXPECT_EQ(ImageList_GetImageCount(hImages), 4);
                          // the template's 0x50810033, with the border drawn as a client edge in a 3-D dialog
                          EXPECT_EQ(::GetWindowLongW(Tree(), GWL_STYLE), 0x50010033L);
                          EXPECT_EQ(::GetWindowLongW(Tree(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
                          EXPECT_EQ(ChildrenAt({L"Folder/"}), expected);
                          for (const wchar_t* folder : {L"Sub/", L"Hidden/", L"ReadOnly/", L"Empty/", L".d/"})
                              EXPECT_EQ(ChildrenAt({L"Folder/", folder}),
                                        folder[0] == L'E' ? Strings{} : Strings{L"In.exe"});
                      }
                      if (!row.click.empty()) TreeView_SelectItem(Tree(), Find(Tree(), row.click));
                      EXPECT_EQ(ItemText(Tree(), TreeView_GetSelection(Tree())), row.selected);
                      EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(Modal(), IDOK)), row.selected.back() != L'/');
                      ::SendMessageW(Modal(), WM_COMMAND, row.command, 0);
                      if (picker.ContinueModal()) picker.EndDialog(kStaysOpen);
                  }}), row.result);
        EXPECT_EQ(g_strPickedPath, row.picked);
    }
}

// Drive B: as tests/picker-odd-tree.sh makes it (run from there only): all of it shown, its link back to the root not
// entered.
TEST(PickerLimits, DISABLED_OddDriveOpensWhole) {
    ::SetCurrentDirectoryW(L"B:\\");
    Strings deep;
    for (int i = 1; i <= 12; ++i) deep.push_back(L"folder number " + std::to_wstring(i) + L" of a deep path/");
    deep.push_back(L"deep.exe");
    CSelectFileDialog picker(L"", &kExe, 1, L"Pick", nullptr);
    RunModal(picker, {[&] {
        EXPECT_EQ(ChildrenAt({L"Many/"}).size(), 10000u);
        EXPECT_NE(Find(Tree(), deep), nullptr);
        Strings odd = ChildrenAt({L"Odd ü ✓/"});
        std::sort(odd.begin(), odd.end());
        EXPECT_EQ(odd, (Strings{L"\"quoted\".exe", L"100% sure.exe", L"Case.exe", L"case.exe", L"with  spaces .exe",
                                L"Ünïcødé ✓.exe"}));
        EXPECT_NE(Find(Tree(), {L"Locked/"}), nullptr);
        EXPECT_EQ(ChildrenAt({L"Loop/", L"Inner/", L"Back/"}), Strings{});
        picker.EndDialog(IDCANCEL);
    }});
    ::SetCurrentDirectoryW(L"C:\\");
}
