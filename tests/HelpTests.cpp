// The help action run for real: ShowHelp starts the device's PegHelp.exe, which records each
// command line it receives; the control rectangle on a real dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/HelpViewerRun.h"
#include "app/Help.h"
#include "resources/resource.h"
#include "shell/Process.h"

using namespace helpviewer_test;

namespace {

using Lines = std::vector<std::wstring>;

// The handles open in this process, found by asking about each possible handle value (Wine's
// GetProcessHandleCount answers 0).
int OpenHandleCount() {
    int count = 0;
    DWORD flags = 0;
    for (UINT_PTR value = 4; value < 0x4000; value += 4) {
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

}  // namespace

TEST(Help, EachWindowStartsTheViewerWithItsOwnTopic) {
    struct Case {
        const wchar_t* window;
        const wchar_t* commandLine;
        const wchar_t* expected;
    } cases[] = {
        {L"Game page", kHelpGame, L"file:QovBrumvale.htm#options_game"},
        {L"Screen Saver page", kHelpScreenSaver, L"file:QovBrumvale.htm#options_screensaver"},
        {L"Skins page", kHelpSkins, L"file:QovBrumvale.htm#options_skins"},
        {L"Screen Saver Exceptions", kHelpExceptions, L"file:QovBrumvale.htm#options_exceptions"},
        {L"Advanced Options", kHelpAdvancedOptions, L"file:QovBrumvale.htm#options_screensaver_ext"},
        {L"Select Program", kHelpSelectProgram, L"file:QovBrumvale.htm#options_add_exception"},
    };
    // The help file installed beside the viewer has every topic asked for.
    const std::wstring helpFile = ReadText(WindowsFolder() + L"\\QovBrumvale.htm");
    ASSERT_FALSE(helpFile.empty()) << "no help file in the device's Windows folder";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.window);
        CViewerRun run;
        ShowHelp(c.commandLine);
        ASSERT_TRUE(run.WaitDone()) << "PegHelp.exe did not run";
        EXPECT_EQ(run.Recorded(), Lines{c.expected});
        std::wstring anchor = std::wstring(c.expected).substr(std::wstring(c.expected).find(L'#') + 1);
        EXPECT_NE(helpFile.find(L"id=\"" + anchor + L"\""), std::wstring::npos) << "no topic in the help file";
    }
}

TEST(Help, ViewerRecordsInTheDevicesWindowsTempFolder) {
    CViewerRun run(false);
    ShowHelp(kHelpSkins);
    ASSERT_TRUE(run.WaitDone());
    EXPECT_EQ(run.Recorded(), Lines{kHelpSkins}) << "record: " << CViewerRun::DefaultRecordPath();
}

// The handheld passes the arguments alone; the desktop program must see exactly those after its
// own name, whatever they hold.
TEST(Help, WrapperHandsOverTheCommandLineUnchanged) {
    const std::wstring longLine = L"file:QovBrumvale.htm#" + std::wstring(3000, L'x');
    struct Case {
        const wchar_t* name;
        const wchar_t* commandLine;
        std::wstring expected;
    } cases[] = {
        {L"blanks and quotes", L"file:Qov Brumvale.htm#\"a b\"  c ", L"file:Qov Brumvale.htm#\"a b\"  c "},
        {L"backslashes", L"file:\\Windows\\QovBrumvale.htm#x\\", L"file:\\Windows\\QovBrumvale.htm#x\\"},
        {L"not ASCII", L"file:Br\u00fcmvale.htm#\u00e9t\u00e9", L"file:Br\u00fcmvale.htm#\u00e9t\u00e9"},
        {L"long", longLine.c_str(), longLine},
        {L"empty", L"", L""},
        {L"none", nullptr, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        CViewerRun run;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(ShellCreateProcess(L"PegHelp.exe", c.commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                       nullptr, &process));
        // With process information asked for, the handles are the caller's.
        ASSERT_EQ(::WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
        DWORD exitCode = 1;
        EXPECT_TRUE(::GetExitCodeProcess(process.hProcess, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_NE(process.dwProcessId, 0u);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        EXPECT_TRUE(run.WaitDone());
        EXPECT_EQ(run.Recorded(), Lines{c.expected});
    }
}

// The first start in a process opens a few handles of the system's own for good, so each
// count is taken after a start.
TEST(Help, ShowHelpLeavesNoHandleOpen) {
    {
        // The count does see the two handles of a start that keeps them.
        CViewerRun run;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(ShellCreateProcess(L"PegHelp.exe", kHelpGame, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                       nullptr, &process));
        ASSERT_TRUE(run.WaitDone());
        int withHandles = OpenHandleCount();
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        EXPECT_EQ(withHandles, OpenHandleCount() + 2);
    }
    const int before = OpenHandleCount();
    {
        CViewerRun run;
        ShowHelp(kHelpGame);
        ASSERT_TRUE(run.WaitDone());
    }
    EXPECT_EQ(OpenHandleCount(), before);
}

TEST(Help, ProgramThatCannotStartIsReportedAsNotStarted) {
    PROCESS_INFORMATION process{};
    EXPECT_FALSE(ShellCreateProcess(L"NoSuchHelpViewer.exe", kHelpGame, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                    nullptr, &process));
    EXPECT_EQ(process.hProcess, nullptr);
    const int before = OpenHandleCount();
    EXPECT_FALSE(ShellCreateProcess(L"NoSuchHelpViewer.exe", kHelpGame, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                    nullptr, nullptr));
    EXPECT_EQ(OpenHandleCount(), before);
}

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The Screen Saver page's template as a plain dialog, plus children with ids 0 and -1 that a
// lookup by those ids would find.
class ControlRectTest : public testing::Test {
protected:
    void SetUp() override {
        m_hDlg = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SCREENSAVER_PAGE), nullptr,
                                      &PlainDialogProc, 0);
        ASSERT_NE(m_hDlg, nullptr);
        for (int id : {0, -1}) {
            ::CreateWindowExW(0, L"STATIC", L"decoy", WS_CHILD | WS_VISIBLE, 1, 2, 30, 40, m_hDlg,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        }
    }
    void TearDown() override {
        if (m_hDlg != nullptr) ::DestroyWindow(m_hDlg);
    }
    // A template rectangle (dialog units) in pixels of the dialog's client area. Position and
    // size are converted each on its own, as the dialog does when it places its controls.
    RECT Pixels(int x, int y, int cx, int cy) const {
        RECT units{x, y, cx, cy};
        ::MapDialogRect(m_hDlg, &units);
        return RECT{units.left, units.top, units.left + units.right, units.top + units.bottom};
    }
    HWND m_hDlg = nullptr;
};

std::string Show(const RECT& rc) {
    char text[80];
    std::snprintf(text, sizeof(text), "{%ld, %ld, %ld, %ld}", rc.left, rc.top, rc.right, rc.bottom);
    return text;
}
}  // namespace

TEST_F(ControlRectTest, ChildRectangleInClientCoordinatesElseEmpty) {
    // The decoys are really there to be found by their ids.
    ASSERT_NE(::GetDlgItem(m_hDlg, 0), nullptr);
    ASSERT_NE(::GetDlgItem(m_hDlg, -1), nullptr);
    const RECT empty{0, 0, 0, 0};
    struct Case {
        const char* name;
        HWND parent;
        int id;
        RECT expected;
    } cases[] = {
        {"hidden timeout placeholder", m_hDlg, IDC_SS_TIMEOUT_PLACEHOLDER, Pixels(14, 39, 55, 12)},
        {"More Options button", m_hDlg, IDC_SS_MORE_OPTIONS, Pixels(14, 87, 76, 13)},
        {"Enable box", m_hDlg, IDC_SS_ENABLE, Pixels(5, 20, 37, 10)},
        {"id 0: no lookup", m_hDlg, 0, empty},
        {"negative id: no lookup", m_hDlg, -1, empty},
        {"no such child", m_hDlg, 4242, empty},
        {"no parent", nullptr, IDC_SS_TIMEOUT_PLACEHOLDER, empty},
    };
    for (const Case& c : cases) {
        RECT rc = GetControlRect(c.parent, c.id);
        EXPECT_EQ(Show(rc), Show(c.expected)) << c.name;
    }
}

TEST_F(ControlRectTest, StandaloneDialogPreparationLeavesTheDesktopDialogAlone) {
    RECT before{}, after{};
    ::GetWindowRect(m_hDlg, &before);
    LONG_PTR style = ::GetWindowLongPtrW(m_hDlg, GWL_STYLE);
    PrepareStandaloneDialog(m_hDlg);
    PrepareStandaloneDialog(nullptr);
    ::GetWindowRect(m_hDlg, &after);
    EXPECT_EQ(::GetWindowLongPtrW(m_hDlg, GWL_STYLE), style);  // no WS_MAXIMIZEBOX here
    EXPECT_TRUE(::EqualRect(&before, &after));
}
