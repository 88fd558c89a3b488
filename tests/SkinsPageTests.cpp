// The Skins page on the real sheet, the real registry and skin folders made for it on the test
// device's drive.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "app/ModuleDir.h"
#include "app/OptionsSheet.h"
#include "resources/resource.h"
#include "settings/Schema.h"
#include "shell/FolderEnum.h"
#include "tests/Harness.h"
#include "tests/RegistryFixture.h"
#include "toolkit/ControlHook.h"

#include <windowsx.h>  // last: its macros clash with the framework's names

namespace {

namespace fs = std::filesystem;
// The program's folder as the page sees it, and the skins beside it.
const fs::path kHome = L"C:\\SkinHome", kSkins = kHome / L"TimeSkins";

// Makes each entry: "Name/" a folder, "Name/Time_font.bmp" a folder holding the marker file,
// "Name/Time_font.bmp/" one whose marker is a folder, anything else a file.
void Make(const std::vector<std::wstring>& entries) {
    fs::remove_all(kHome);
    fs::create_directories(kHome);
    for (const std::wstring& entry : entries) {
        const fs::path path = kHome / entry;
        fs::create_directories(entry.back() == L'/' ? path : path.parent_path());
        if (entry.back() != L'/') std::ofstream(path).put('x');
    }
}

// Opens the sheet on the Skins tab (or never shows it), runs the step on the list, presses the
// button; answers the list ("Default skin|Alpha|..." with the selected entry starred) and
// checks each entry's item data: none for the first, its folder's path for every skin.
std::wstring RunSkins(int nButton, const std::function<void(HWND)>& step = {}, bool bShowTab = true) {
    g_strModuleDir = kHome.wstring() + L"\\";
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, bShowTab ? 2 : 0);
    std::wstring shown;
    RunModal(sheet, {[&] {
                 if (HWND hPage = sheet.m_skinsPage.m_hWnd) {
                     HWND hList = ::GetDlgItem(hPage, IDC_SKINS_LIST);
                     EXPECT_TRUE(::GetFocus() == hList && IsControlHooked(hList));
                     for (int i = 0; i < ListBox_GetCount(hList); ++i) {
                         wchar_t text[300] = {};
                         ListBox_GetText(hList, i, text);
                         const auto* pPath = reinterpret_cast<const std::wstring*>(ListBox_GetItemData(hList, i));
                         EXPECT_EQ(pPath ? *pPath : L"", i ? (kSkins / text).wstring() + L"\\" : L"") << i;
                         shown += (i ? L"|" : L"") + std::wstring(text) + (ListBox_GetCurSel(hList) == i ? L"*" : L"");
                     }
                     if (step) step(hList);
                 }
                 PressSheetButton(sheet.m_hWnd, nButton);
             }});
    return shown;
}

// The skins as the folder enumerates them, among those named.
std::wstring InFolderOrder(const std::set<std::wstring>& names) {
    std::wstring listed;
    ForEachFolderEntry((kSkins / L"*").wstring(), [&](const WIN32_FIND_DATAW& e) {
        if (names.count(e.cFileName)) listed += L"|" + std::wstring(e.cFileName);
    });
    return listed;
}

}  // namespace

TEST(SkinsPage, ListsTheSkinFoldersSelectsTheStoredOneAndStoresTheChoice) {
    const std::vector<std::wstring> kABG{L"TimeSkins/Alpha/Time_font.bmp", L"TimeSkins/Beta/",
                                         L"TimeSkins/Gamma/Time_font.bmp"};
    const std::wstring alpha = (kSkins / L"Alpha\\").wstring(), gamma = (kSkins / L"Gamma\\").wstring();
    auto select = [](const wchar_t* name) {
        return [=](HWND hList) { ListBox_SetCurSel(hList, ListBox_FindStringExact(hList, 0, name)); };
    };
    const std::wstring longName(220, L'n');  // the longest whose marker's path stays within MAX_PATH
    struct Case {
        std::vector<std::wstring> entries;
        std::optional<RegValue> stored;
        std::function<void(HWND)> step;
        int button;
        std::set<std::wstring> skins;  // listed, in the folder's order
        const wchar_t* selected;       // "": Default skin
        std::optional<RegValue> after;
        bool bShowTab = true;
    } const cases[] = {
        {kABG, {}, {}, PSBTN_OK, {L"Alpha", L"Gamma"}, L"", Sz(L"")},
        {kABG, Sz(gamma), {}, PSBTN_OK, {L"Alpha", L"Gamma"}, L"Gamma", Sz(gamma)},
        {kABG, Sz(L"c:\\SKINHOME\\timeskins\\gamma\\"), {}, PSBTN_OK, {L"Alpha", L"Gamma"}, L"Gamma", Sz(gamma)},
        {kABG, Sz(gamma.substr(0, gamma.size() - 1)), {}, PSBTN_OK, {L"Alpha", L"Gamma"}, L"", Sz(L"")},
        {kABG, Sz(gamma), select(L"Alpha"), PSBTN_OK, {L"Alpha", L"Gamma"}, L"Gamma", Sz(alpha)},
        {kABG, Sz(gamma), select(L"Default skin"), PSBTN_OK, {L"Alpha", L"Gamma"}, L"Gamma", Sz(L"")},
        {kABG, Sz(gamma), select(L"Alpha"), PSBTN_CANCEL, {L"Alpha", L"Gamma"}, L"Gamma", Sz(gamma)},
        // Not skins: files, whatever their names; nor the folder itself and its parent.
        {{L"TimeSkins/Delta", L"TimeSkins/Time_font.bmp", L"Time_font.bmp", L"TimeSkins/Epsilon/Time_font.bmp/"}, {},
         {}, PSBTN_OK, {L"Epsilon"}, L"", Sz(L"")},
        {{}, Sz(gamma), {}, PSBTN_OK, {}, L"", Sz(L"")},  // no skins folder
        {{L"TimeSkins/"}, {}, {}, PSBTN_OK, {}, L"", Sz(L"")},
        {{L"TimeSkins/Beta/", L"Other/TimeSkins/Alpha/Time_font.bmp"}, Sz(L"C:\\SkinHome\\Other\\TimeSkins\\Alpha\\"),
         {}, PSBTN_OK, {}, L"", Sz(L"")},
        // Odd names and stored values of the wrong type or size.
        {{L"TimeSkins/\u00c5land \u6642\u8a08/Time_font.bmp", L"TimeSkins/" + longName + L"/Time_font.bmp"},
         Sz(std::wstring(10000, L'x')), {}, PSBTN_OK, {L"\u00c5land \u6642\u8a08", longName}, L"", Sz(L"")},
        {kABG, Dword(7), {}, PSBTN_CANCEL, {L"Alpha", L"Gamma"}, L"", Dword(7)},
        {kABG, Sz(gamma), {}, PSBTN_OK, {}, L"", Sz(gamma), false},  // a tab never shown reads and writes nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.entries) + " " + testing::PrintToString(c.selected));
        ClearProgramKeys();
        SeedNeighbours();
        if (c.stored) SetValue(kGameKeyPath, kValueTimeSkin, *c.stored);
        Snapshot expected = Snapshot::Of(kVendorKeyPath);
        expected.Set(kGameKeyPath, kValueTimeSkin, *c.after);
        if (!c.bShowTab) expected.Set(kSettingsKeyPath, kValueGameMode, Dword(1));  // the Game page's OK
        Make(c.entries);
        std::wstring listed = L"Default skin" + InFolderOrder(c.skins);
        const size_t at = *c.selected ? listed.find(L"|" + std::wstring(c.selected)) + 1 + wcslen(c.selected) : 12;
        listed.insert(at, L"*");
        EXPECT_EQ(RunSkins(c.button, c.step, c.bShowTab), c.bShowTab ? listed : L"");
        EXPECT_EQ(Snapshot::Of(kVendorKeyPath), expected);
    }
}

// 2,000 skins of long names are all listed; their paths are freed with the page: three more
// openings leave the heaps as one did, where each kept set would hold nearly 2 megabytes.
TEST(SkinsPage, ManySkinsAreListedAndFreedWithThePage) {
    ClearProgramKeys();
    SeedNeighbours();
    std::vector<std::wstring> skins;
    for (int i = 0; i < 2000; ++i) skins.push_back(L"TimeSkins/" + std::wstring(200, L'x') + std::to_wstring(i) + L"/Time_font.bmp");
    Make(skins);
    auto heapBytes = [] {
        HANDLE heaps[64];
        size_t bytes = 0;
        for (DWORD n = std::min<DWORD>(::GetProcessHeaps(64, heaps), 64), i = 0; i < n; ++i) {
            PROCESS_HEAP_ENTRY entry{};
            while (::HeapWalk(heaps[i], &entry))
                if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
        }
        return bytes;
    };
    int nListed = 0;
    RunSkins(PSBTN_CANCEL, [&](HWND hList) { nListed = ListBox_GetCount(hList); });
    EXPECT_EQ(nListed, 2001);
    const size_t bytes = heapBytes();
    for (int i = 0; i < 3; ++i) RunSkins(PSBTN_CANCEL);
    EXPECT_LT(heapBytes(), bytes + 500000);
}
