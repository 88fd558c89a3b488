// The program picker on large drives against its baseline (bench/BareWindows.h: the picker's
// template filled by the same enumeration calls and tree inserts in plain code), until shown
// with the tree filled. Both run in this one process, in alternation, on each drive given
// (drives whose root holds a generated tree; bench/run.sh makes them).
//
//   picker_bench time RUNS DRIVE1 DRIVE2  medians, ratios and the picker's growth from 1 to 2
//   picker_bench memory picker|bare DRIVE  one run, then the process's peak working set
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
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

// The medians on the drive, the picker's and the baseline's; negative when a run failed.
std::pair<double, double> TimeDrive(const wchar_t* drive, int runs) {
    if (!EnterDrive(drive)) return {-1, -1};
    // Once each first: the first scan of a drive pays for reading the host's folders.
    const Shown warm = Time(true);
    Time(false);
    std::vector<double> picker, bare;
    for (int i = 0; i < runs; ++i) {
        const bool bPickerFirst = i % 2 == 0;
        const Shown first = Time(bPickerFirst), second = Time(!bPickerFirst);
        if (first.seconds < 0 || second.seconds < 0 || first.items != second.items) {
            std::fwprintf(stderr, L"%ls run %d failed: %.3f s %u items, then %.3f s %u items\n", drive, i, first.seconds,
                          first.items, second.seconds, second.items);
            return {-1, -1};
        }
        picker.push_back((bPickerFirst ? first : second).seconds);
        bare.push_back((bPickerFirst ? second : first).seconds);
    }
    const double p = Median(picker), b = Median(bare);
    wchar_t name[64];
    std::swprintf(name, 64, L"picker, %u items", warm.items);
    std::wprintf(L"  %-19ls %8.2f ms, bare %8.2f ms: ratio %.3f (target 1.05 or less)\n", name, p * 1000, b * 1000,
                 RoundRatio(picker, bare));
    std::fflush(stdout);
    return {p, b};
}

int TimeMode(int runs, const wchar_t* small, const wchar_t* large) {
    std::wprintf(L"the program picker on generated drives against the platform doing its work alone: medians of %d runs "
                 L"each, the ratio the median of each run's own\n",
                 runs);
    std::fflush(stdout);
    const auto [pickerSmall, bareSmall] = TimeDrive(small, runs);
    const auto [pickerLarge, bareLarge] = pickerSmall < 0 ? std::pair(-1.0, -1.0) : TimeDrive(large, runs);
    if (pickerLarge < 0) return 1;
    std::wprintf(L"  from %ls to %ls the picker grows %.3f times, the bare picker %.3f times (no more wanted)\n", small, large,
                 pickerLarge / pickerSmall, bareLarge / bareSmall);
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
