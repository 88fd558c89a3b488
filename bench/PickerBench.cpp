// The program picker on large drives against its baseline (bench/BareWindows.h: the picker's
// template filled by the same enumeration calls and tree inserts in plain code), until shown
// with the tree filled. Both run in this one process, in alternation, on each drive given
// (drives whose root holds a generated tree; bench/run.sh makes them).
//
//   picker_bench time RUNS DRIVE1 DRIVE2  medians, ratios and the growth from 1 to 2, each round on both
//   picker_bench memory picker|bare DRIVE  one run, then the process's peak working set
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/BareWindows.h"
#include "bench/Timing.h"
#include "dialogs/SelectFileDialog.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

CWinApp g_benchApp(L"Picker Bench");

const std::vector<std::wstring> kExtensions{L"exe"};

struct Shown {
    double seconds = -1;
    UINT items = 0;  // tree items, the root included
};

Shown Time(bool bPicker) {
    Shown shown;
    const auto count = [&shown](HWND hDialog) { shown.items = TreeView_GetCount(::GetDlgItem(hDialog, IDC_PICKER_TREE)); };
    shown.seconds = TimeUntilShown(
        [bPicker] {
            if (!bPicker) {
                RunBareDialog(IDD_SELECT_FILE);
                return;
            }
            CSelectFileDialog picker(L"", &kExtensions, 1, L"Select Program", nullptr);
            picker.DoModal();
        },
        count);
    return shown;
}

bool EnterDrive(const wchar_t* drive) {
    std::wstring root = drive;
    if (root.empty() || root.back() != L'\\') root += L'\\';
    if (::SetCurrentDirectoryW(root.c_str())) return true;
    std::fwprintf(stderr, L"cannot enter %ls\n", root.c_str());
    return false;
}

// Each round times the picker and its baseline on both drives, one right after the other, so
// that a round's four times share whatever slow spell they fall in: the growth from one drive to
// the other is then the median of each round's own, as each ratio is.
int TimeMode(int runs, const wchar_t* small, const wchar_t* large) {
    std::wprintf(L"the program picker on generated drives against the platform doing its work alone: medians of %d runs "
                 L"each, the ratio the median of each run's own\n",
                 runs);
    std::fflush(stdout);
    const wchar_t* const drives[2] = {small, large};
    UINT items[2] = {};
    for (int d = 0; d < 2; ++d) {
        // Once each first: the first scan of a drive pays for reading the host's folders.
        if (!EnterDrive(drives[d])) return 1;
        items[d] = Time(true).items;
        Time(false);
    }
    std::vector<double> picker[2], bare[2];
    for (int i = 0; i < runs; ++i) {
        const bool bPickerFirst = i % 2 == 0;
        for (int d = 0; d < 2; ++d) {
            if (!EnterDrive(drives[d])) return 1;
            const Shown first = Time(bPickerFirst), second = Time(!bPickerFirst);
            if (first.seconds < 0 || second.seconds < 0 || first.items != items[d] || second.items != items[d]) {
                std::fwprintf(stderr, L"%ls run %d failed: %.3f s %u items, then %.3f s %u items\n", drives[d], i,
                              first.seconds, first.items, second.seconds, second.items);
                return 1;
            }
            picker[d].push_back((bPickerFirst ? first : second).seconds);
            bare[d].push_back((bPickerFirst ? second : first).seconds);
        }
    }
    for (int d = 0; d < 2; ++d) {
        wchar_t name[64];
        std::swprintf(name, 64, L"picker, %u items", items[d]);
        std::wprintf(L"  %-19ls %8.2f ms, bare %8.2f ms: ratio %.3f (target 1.05 or less)\n", name, Median(picker[d]) * 1000,
                     Median(bare[d]) * 1000, RoundRatio(picker[d], bare[d]));
    }
    std::wprintf(L"  from %ls to %ls the picker grows %.3f times, the bare picker %.3f times (no more wanted)\n", small, large,
                 RoundRatio(picker[1], picker[0]), RoundRatio(bare[1], bare[0]));
    return 0;
}

int MemoryMode(const std::wstring& which, const wchar_t* drive) {
    if (!EnterDrive(drive)) return 1;
    const Shown shown = Time(which == L"picker");
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (shown.seconds < 0 || !::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) {
        std::fwprintf(stderr, L"memory run failed\n");
        return 1;
    }
    std::wprintf(L"  %ls: peak working set %.1f MB (%u tree items)\n", which == L"picker" ? L"program picker" : L"bare picker",
                 static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0), shown.items);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    g_benchApp.InitApplication(::GetModuleHandleW(nullptr));
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"time" && argc == 5) return TimeMode(std::max(4, _wtoi(argv[2])), argv[3], argv[4]);
    if (mode == L"memory" && argc == 4 && (std::wstring(argv[2]) == L"picker" || std::wstring(argv[2]) == L"bare"))
        return MemoryMode(argv[2], argv[3]);
    std::fwprintf(stderr, L"usage: picker_bench time RUNS DRIVE1 DRIVE2\n"
                          L"       picker_bench memory picker|bare DRIVE\n");
    return 2;
}
