// Every page and dialog opened and closed again and again in one process: what the program's own
// calls make comes back to where it started. Wine answers GetGuiResources and
// GetProcessHandleCount with 0, so the calls that make and release are counted (tests/Faults.h).
//   BRUMVALE_ROUNDS    rounds after the first (3 unless given)
//   BRUMVALE_DRIVE     the drive whose whole tree the picker shows ("C:" unless given)
#include <gtest/gtest.h>

#include <cstring>

#include "app/OptionsSheet.h"
#include "app/base/ModuleDir.h"
#include "tests/Faults.h"
#include "tests/Literals.h"
#include "tests/ToolkitHost.h"

namespace {

BOOL CALLBACK CountWindow(HWND hWnd, LPARAM lParam) {
    ++*reinterpret_cast<int*>(lParam);
    ::EnumChildWindows(hWnd, &CountWindow, lParam);
    return TRUE;
}
int ThreadWindows() {  // and their children
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CountWindow, LPARAM(&count));
    return count;
}

size_t HeapBytes() {  // in use, over all the process's heaps
    HANDLE heaps[64];
    size_t bytes = 0;
    for (DWORD n = std::min<DWORD>(::GetProcessHeaps(64, heaps), 64), i = 0; i < n; ++i)
        for (PROCESS_HEAP_ENTRY entry{}; ::HeapWalk(heaps[i], &entry);)
            bytes += (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ? entry.cbData : 0;
    return bytes;
}

void Help(HWND h) {
    HELPINFO info{};
    info.cbSize = sizeof(info);
    ::SendMessageW(h, WM_HELP, 0, LPARAM(&info));
}

// Help, then the dialog in front cancelled.
void HelpAndCancel() {
    HWND h = AfxGetModalWnd();
    Help(h);
    ::SendMessageW(h, WM_COMMAND, IDCANCEL, 0);
}

// Each tab, "Exceptions..." with the picker, "More Options...", help in each, everything
// cancelled. A click that opens a dialog returns once it is over.
void Round() {
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    RunModal(sheet, {[&] {
        Help(sheet.m_hWnd);
        sheet.SetActivePage(1);
        Help(sheet.m_hWnd);
        OnNextIdle([] {
            OnNextIdle(HelpAndCancel);  // the picker
            Help(AfxGetModalWnd());
            Click(AfxGetModalWnd(), kAddButton);
            ::SendMessageW(AfxGetModalWnd(), WM_COMMAND, IDCANCEL, 0);
        });
        Click(sheet.m_screenSaverPage.m_hWnd, kExceptionsButton);
        OnNextIdle(HelpAndCancel);
        Click(sheet.m_screenSaverPage.m_hWnd, kMoreOptionsButton);
        sheet.SetActivePage(2);
        Help(sheet.m_hWnd);
        PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL);
    }});
}

}  // namespace

TEST(Resources, EveryWindowOpenedAgainAndAgainLeavesNothingBehind) {
    const char* rounds = std::getenv("BRUMVALE_ROUNDS");
    const char* drive = std::getenv("BRUMVALE_DRIVE");
    ::SetCurrentDirectoryW(drive ? (std::wstring(drive, drive + std::strlen(drive)) + L"\\").c_str() : L"C:\\");
    g_strModuleDir = L"C:\\Program Files\\Brumvale\\";  // the device's skins
    faults::Install();
    faults::Arm();
    Round();  // the first makes what lives as long as the program: the toolkit's fonts
    const auto live = faults::Live();
    const int windows = ThreadWindows();
    const size_t heap = HeapBytes();
    for (int i = rounds ? std::atoi(rounds) : 3; i > 0; --i) Round();
    EXPECT_EQ(faults::Live(), live);
    EXPECT_EQ(ThreadWindows(), windows);
    EXPECT_LT(HeapBytes(), heap + 65536);
    faults::Disarm();
    ::SetCurrentDirectoryW(L"C:\\");
}
