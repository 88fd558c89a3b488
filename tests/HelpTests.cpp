// The help action run for real: ShowHelp starts the device's PegHelp.exe, which records each
// command line it receives; the control rectangle on a real dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <tuple>

#include "tests/HelpViewerRun.h"
#include "app/Help.h"
#include "resources/resource.h"
#include "shell/Process.h"
#include "shell/ShellControls.h"

using namespace helpviewer_test;

namespace {

// The handles open in this process, found by asking about each possible handle value (Wine's
// GetProcessHandleCount answers 0).
int OpenHandleCount() {
    int count = 0;
    DWORD flags = 0;
    for (UINT_PTR value = 4; value < 0x4000; value += 4)
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    return count;
}

}  // namespace

TEST(Help, EachWindowStartsTheViewerWithItsOwnTopic) {
    struct Case {
        const wchar_t* commandLine;
        std::wstring expected;
    } cases[] = {
        {kHelpGame, L"file:QovBrumvale.htm#options_game"},
        {kHelpScreenSaver, L"file:QovBrumvale.htm#options_screensaver"},
        {kHelpSkins, L"file:QovBrumvale.htm#options_skins"},
        {kHelpExceptions, L"file:QovBrumvale.htm#options_exceptions"},
        {kHelpAdvancedOptions, L"file:QovBrumvale.htm#options_screensaver_ext"},
        {kHelpSelectProgram, L"file:QovBrumvale.htm#options_add_exception"},
    };
    // The help file installed beside the viewer has every topic asked for.
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring helpFile = ReadText(std::wstring(windows) + L"\\QovBrumvale.htm");
    ASSERT_FALSE(helpFile.empty()) << "no help file in the device's Windows folder";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.expected);
        CViewerRun run;
        ShowHelp(c.commandLine);
        ASSERT_TRUE(run.WaitDone()) << "PegHelp.exe did not run";
        EXPECT_EQ(run.Recorded(), c.expected + L"\r\n");
        const std::wstring anchor = c.expected.substr(c.expected.find(L'#') + 1);
        EXPECT_NE(helpFile.find(L"id=\"" + anchor + L"\""), std::wstring::npos) << "no topic in the help file";
    }
}

// The handheld passes the arguments alone; the desktop program must see exactly those after its
// own name, whatever they hold. With process information asked for, the two handles are the
// caller's; ShowHelp asks for none and leaves none open.
TEST(Help, WrapperHandsOverTheCommandLineUnchangedAndLeavesNoHandleOpen) {
    const std::wstring longLine = L"file:QovBrumvale.htm#" + std::wstring(3000, L'x');
    CViewerRun run;
    std::wstring expected;
    int before = 0;
    const wchar_t* const lines[] = {L"file:\\Qov Br\u00fcmvale.htm#\"a b\"  c\\", longLine.c_str(), nullptr};
    for (const wchar_t* line : lines) {
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(ShellCreateProcess(L"PegHelp.exe", line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                                       &process));
        ASSERT_TRUE(run.WaitDone());
        expected += (line != nullptr ? line : L"") + std::wstring(L"\r\n");
        EXPECT_EQ(run.Recorded(), expected);
        // Counted only after a start: the first in a process opens handles of the system's for good.
        const int withHandles = OpenHandleCount();
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        before = OpenHandleCount();
        EXPECT_EQ(withHandles, before + 2);
    }
    ShowHelp(kHelpGame);
    ASSERT_TRUE(run.WaitDone());
    EXPECT_EQ(OpenHandleCount(), before);

    // A program that cannot start is reported as not started.
    PROCESS_INFORMATION process{};
    EXPECT_FALSE(ShellCreateProcess(L"NoSuchHelpViewer.exe", kHelpGame, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                    nullptr, &process));
    EXPECT_EQ(process.hProcess, nullptr);
}

namespace {
INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
}  // namespace

// On the Screen Saver page's template as a plain dialog.
TEST(ControlRect, ChildRectangleInClientCoordinatesElseEmpty) {
    HWND hDlg = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SCREENSAVER_PAGE), nullptr,
                                     &PlainDialogProc, 0);
    ASSERT_NE(hDlg, nullptr);
    // Children with ids 0 and -1, which a lookup by those ids would find.
    for (int id : {0, -1}) {
        ::CreateWindowExW(0, L"STATIC", L"decoy", WS_CHILD | WS_VISIBLE, 1, 2, 30, 40, hDlg,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        ASSERT_NE(::GetDlgItem(hDlg, id), nullptr);
    }
    using Corners = std::tuple<LONG, LONG, LONG, LONG>;
    // A template rectangle (dialog units) in pixels of the dialog's client area. Position and
    // size are converted each on its own, as the dialog does when it places its controls.
    auto pixels = [&](int x, int y, int cx, int cy) {
        RECT units{x, y, cx, cy};
        ::MapDialogRect(hDlg, &units);
        return Corners{units.left, units.top, units.left + units.right, units.top + units.bottom};
    };
    struct Case {
        const char* name;
        HWND parent;
        int id;
        Corners expected;
    } cases[] = {
        {"hidden timeout placeholder", hDlg, IDC_SS_TIMEOUT_PLACEHOLDER, pixels(14, 39, 55, 12)},
        {"id 0: no lookup", hDlg, 0, {}},
        {"negative id: no lookup", hDlg, -1, {}},
        {"no such child", hDlg, 4242, {}},
        {"no parent", nullptr, IDC_SS_TIMEOUT_PLACEHOLDER, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RECT rc = GetControlRect(c.parent, c.id);
        EXPECT_EQ(Corners(rc.left, rc.top, rc.right, rc.bottom), c.expected);
    }

    // The stand-alone preparation leaves a desktop dialog alone: no WS_MAXIMIZEBOX, no move.
    RECT before{}, after{};
    ::GetWindowRect(hDlg, &before);
    const LONG_PTR style = ::GetWindowLongPtrW(hDlg, GWL_STYLE);
    PrepareStandaloneDialog(hDlg);
    PrepareStandaloneDialog(nullptr);
    ::GetWindowRect(hDlg, &after);
    EXPECT_EQ(::GetWindowLongPtrW(hDlg, GWL_STYLE), style);
    EXPECT_TRUE(::EqualRect(&before, &after));
    ::DestroyWindow(hDlg);
}
