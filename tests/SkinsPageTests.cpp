// The Skins page on the real sheet and registry, over skin folders made on the test device's drive.
#include "app/OptionsSheet.h"
#include "app/base/ModuleDir.h"
#include "tests/ToolkitHost.h"

namespace {

namespace fs = std::filesystem;
// The program's folder as the page sees it, and the skins beside it.
const fs::path kHome = L"C:\\SkinHome", kSkins = kHome / L"TimeSkins";

// "Name/" is a folder, "Name/Time_font.bmp/" a folder in a folder, anything else a file.
void Make(const std::vector<std::wstring>& entries) {
    fs::remove_all(kHome);
    fs::create_directories(kHome);
    for (const std::wstring& entry : entries) {
        fs::create_directories(entry.back() == L'/' ? kHome / entry : (kHome / entry).parent_path());
        if (entry.back() != L'/') std::ofstream(kHome / entry).put('x');
    }
}

// Opens the Skins tab, runs the step on its list, presses the button; answers the list as "Default skin*|Alpha|..." (*
// selected).
std::wstring RunSkins(int nButton, const std::function<void(HWND)>& step = {}) {
    g_strModuleDir = kHome.wstring() + L"\\";
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 2);
    std::wstring shown;
    RunModal(sheet, {[&] {
                 HWND hList = sheet.m_skinsPage.GetDlgItem(kSkinList);
                 EXPECT_EQ(::GetFocus(), hList);
                 const std::vector<std::wstring> entries = Entries(hList);
                 for (size_t i = 0; i < entries.size(); ++i) {
                     const bool bSelected = ::SendMessageW(hList, LB_GETCURSEL, 0, 0) == LRESULT(i);
                     shown += (i ? L"|" : L"") + entries[i] + (bSelected ? L"*" : L"");
                 }
                 if (step) step(hList);
                 PressSheetButton(sheet.m_hWnd, nButton);
             }});
    return shown;
}

}  // namespace

// Skin folders, stored time_skin, a step, the button; the skins listed, the one selected, time_skin after.
TEST(SkinsPage, ListsTheSkinFoldersSelectsTheStoredOneAndStoresTheChoice) {
    const std::vector<std::wstring> abg{L"TimeSkins/Alpha/Time_font.bmp", L"TimeSkins/Beta/",
                                        L"TimeSkins/Gamma/Time_font.bmp"};
    const std::set<std::wstring> ag{L"Alpha", L"Gamma"};
    const std::wstring alpha = (kSkins / L"Alpha\\").wstring(), gamma = (kSkins / L"Gamma\\").wstring(), odd(220, L'n');
    auto select = [](const wchar_t* name) { return [=](HWND h) { Choose(h, name); }; };
    std::vector<std::wstring> many;  // 2,000 skins of long names, the last case
    std::set<std::wstring> manyNames;
    for (int i = 0; i < 2000; ++i) {
        const std::wstring name = *manyNames.insert(std::wstring(200, L'x') + std::to_wstring(i)).first;
        many.push_back(L"TimeSkins/" + name + L"/Time_font.bmp");
    }
    struct Case {
        std::vector<std::wstring> entries; std::optional<RegValue> stored; std::function<void(HWND)> step; int button;
        std::set<std::wstring> skins; std::wstring selected; RegValue after;
    } const cases[] = {
        {abg, Sz(gamma), {}, PSBTN_OK, ag, L"Gamma", Sz(gamma)},
        {abg, Sz(gamma.substr(0, gamma.size() - 1)), {}, PSBTN_OK, ag, L"", Sz(L"")},
        {abg, Sz(gamma), select(L"Alpha"), PSBTN_OK, ag, L"Gamma", Sz(alpha)},
        {abg, Sz(gamma), select(L"Default skin"), PSBTN_OK, ag, L"Gamma", Sz(L"")},
        // Not skins: files, whatever their names, nor the folder itself and its parent; a name may begin with a dot.
        {{L"TimeSkins/Delta", L"TimeSkins/Time_font.bmp", L"Time_font.bmp", L"TimeSkins/Eps/Time_font.bmp/",
          L"TimeSkins/.d/Time_font.bmp"}, {}, {}, PSBTN_OK, {L"Eps", L".d"}, L"", Sz(L"")},
        {{}, Sz(gamma), {}, PSBTN_OK, {}, L"", Sz(L"")},  // no skins folder
        {{L"TimeSkins/Beta/", L"Other/TimeSkins/Alpha/Time_font.bmp"},
         Sz(L"C:\\SkinHome\\Other\\TimeSkins\\Alpha\\"), {},
         PSBTN_OK, {}, L"", Sz(L"")},
        {{L"TimeSkins/\u00c5land \u6642\u8a08/Time_font.bmp", L"TimeSkins/" + odd + L"/Time_font.bmp"},
         Sz(std::wstring(10000, L'x')), {}, PSBTN_OK, {L"\u00c5land \u6642\u8a08", odd}, L"", Sz(L"")},
        {many, {}, {}, PSBTN_CANCEL, manyNames, L"", Sz(L"")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.entries.size() < 9 ? c.entries : std::vector<std::wstring>{}) + " " +
                     testing::PrintToString(c.selected));
        Snapshot expected = ResetProgramKeys(kGameKey, {{L"time_skin", c.stored}});
        if (c.button == PSBTN_OK) expected.Set(kGameKey, L"time_skin", c.after);
        Make(c.entries);
        std::wstring listed = L"Default skin";
        for (const std::wstring& name : Listed((kSkins / L"*").wstring()))
            if (c.skins.count(name)) listed += L"|" + name;
        listed.insert(c.selected.empty() ? 12 : listed.find(L"|" + c.selected) + 1 + c.selected.size(), L"*");
        CWatchedRegistry watched;  // the key flushed once written
        EXPECT_EQ(RunSkins(c.button, c.step), listed);
        EXPECT_EQ(std::pair(Snapshot::Of(kVendorKeyPath), watched.s_nFlushes),
                  std::pair(expected, int(c.button == PSBTN_OK)));
    }
    // Their paths are freed with the page, where a kept set would hold nearly 2 megabytes.
    const size_t bytes = HeapBytes();
    RunSkins(PSBTN_CANCEL);
    EXPECT_LT(HeapBytes(), bytes + 500000);
    fs::remove_all(kHome);  // the program picker, in the tests after, scans the whole drive
}
