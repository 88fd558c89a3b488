// The windows' help is the keystroke test's (F1 in each asks for its own topic); here the dialogs'
// owners, and ShowHelp leaving nothing open. ShowHelp starts the device's PegHelp.exe, which
// records each command line it gets.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Help.h"
#include "app/OptionsSheet.h"
#include "resources/resource.h"
#include "tests/Harness.h"

namespace {

// The viewer records into the test's own file and signals the test's event when done; the test
// program has told it to open no browser.
struct HelpTest : testing::Test {
    void SetUp() override {
        ::SetEnvironmentVariableW(L"PEGHELP_DONE_EVENT", m_name.c_str());
        ::SetEnvironmentVariableW(L"PEGHELP_LOG", m_record.c_str());
    }
    ~HelpTest() override {
        for (auto name : {L"PEGHELP_DONE_EVENT", L"PEGHELP_LOG"}) ::SetEnvironmentVariableW(name, nullptr);
        ::CloseHandle(m_done);
    }
    std::string Recorded() {  // what the viewer started last recorded, once it is done
        if (::WaitForSingleObject(m_done, 30000)) return "<no viewer ran>";
        std::ifstream file(m_record, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        return file.close(), ::DeleteFileW(m_record.c_str()), text;
    }
    const std::wstring m_name = L"PegHelp-" + std::to_wstring(::GetCurrentProcessId());
    const std::filesystem::path m_record = std::filesystem::temp_directory_path() / (m_name + L".log");
    const HANDLE m_done = ::CreateEventW(nullptr, FALSE, FALSE, m_name.c_str());
};

}  // namespace

// Help on the sheet, as F1 on the tabs, is the page in front's. "Exceptions..." opens its dialog
// owned by the sheet, "Add..." the picker owned by that dialog, "More Options..." its dialog owned
// by the sheet: each keeps the sheet enabled, as the handheld does.
TEST_F(HelpTest, HelpOnThePageInFrontAndDialogsOwnedInTurn) {
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    std::vector<HWND> chain;  // each dialog in front, then its owner
    auto help = [&](HWND hWnd) {
        HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, 0, nullptr, 0, {0, 0}};
        EXPECT_EQ(::SendMessageW(hWnd, WM_HELP, 0, LPARAM(&info)), TRUE);
        return Recorded();
    };
    auto inFront = [&] {
        HWND hFront = AfxGetModalWnd();
        chain.insert(chain.end(), {hFront, ::GetWindow(hFront, GW_OWNER)});
        EXPECT_TRUE(::IsWindowEnabled(sheet.m_hWnd));
    };
    RunModal(sheet, {[&] {
        for (int tab = 0; tab < sheet.GetPageCount(); ++tab) {
            sheet.SetActivePage(tab);
            EXPECT_EQ(help(sheet.m_hWnd), help(sheet.GetPage(tab)->m_hWnd)) << tab;  // as F1 on the tabs
        }
        sheet.SetActivePage(1);
    }, [&] {
        OnNextIdle([&] {
            inFront();
            OnNextIdle([&] {
                inFront();
                EXPECT_FALSE(::IsWindowEnabled(chain[0]));  // the exceptions dialog, behind the picker
                ::SendMessageW(AfxGetModalWnd(), WM_COMMAND, IDCANCEL, 0);
            });
            ::SendMessageW(chain[0], WM_COMMAND, IDC_EXC_ADD, 0);
            EXPECT_EQ(::GetActiveWindow(), chain[0]);  // not the sheet, enabled all along
            ::SendMessageW(chain[0], WM_COMMAND, IDCANCEL, 0);
        });
        ::SendMessageW(sheet.m_screenSaverPage.GetDlgItem(IDC_SS_EXCEPTIONS), BM_CLICK, 0, 0);
        OnNextIdle([&] { inFront(), ::SendMessageW(AfxGetModalWnd(), WM_COMMAND, IDCANCEL, 0); });
        ::SendMessageW(sheet.m_screenSaverPage.GetDlgItem(IDC_SS_MORE_OPTIONS), BM_CLICK, 0, 0);
        PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL);
    }});
    ASSERT_EQ(chain.size(), 6u);
    EXPECT_EQ(std::vector({chain[1], chain[3], chain[5]}), std::vector({sheet.m_hWnd, chain[0], sheet.m_hWnd}));
}

// Help keeps none of the viewer's handles open (only counted after a first start: that one opens
// handles for good). Each possible handle value is asked about: Wine's GetProcessHandleCount answers 0.
TEST_F(HelpTest, ShowHelpLeavesNoHandleOpen) {
    auto openHandles = [] {
        int count = 0;
        DWORD flags = 0;
        for (UINT_PTR value = 4; value < 0x4000; value += 4) count += ::GetHandleInformation(HANDLE(value), &flags);
        return count;
    };
    ShowHelp(L"first");
    EXPECT_EQ(Recorded(), "first\r\n");
    const int before = openHandles();
    ShowHelp(L"x");
    EXPECT_EQ(Recorded(), "x\r\n");
    EXPECT_EQ(openHandles(), before);
}
