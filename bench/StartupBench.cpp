// Start-up time: from process start to the first page painted, for the options program and its
// baseline (a bare property sheet on the program's page templates doing their work with plain
// calls), in alternation; with a third program given, for it too (an empty bare sheet, for
// information). A process counts as painted once it first waits for input: the system delivers
// paint messages before it reports a GUI thread idle.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/Timing.h"

namespace {


struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hWnd, LPARAM lParam) {
    auto* s = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid == s->pid && ::IsWindowVisible(hWnd)) {
        s->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// Seconds to the first idle with a visible window, or a negative value on failure.
double TimeOne(const std::wstring& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    double start = Now();
    if (!::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    DWORD waited = ::WaitForInputIdle(pi.hProcess, 20000);
    double elapsed = Now() - start;
    Search s{pi.dwProcessId, nullptr};
    ::EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&s));
    if (waited != 0 || s.found == nullptr) elapsed = -1;
    if (s.found != nullptr) ::PostMessageW(s.found, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return elapsed;
}


}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: startup_bench PROGRAM.exe BASELINE.exe [RUNS [EMPTY.exe]]\n");
        return 2;
    }
    int runs = argc > 3 ? std::max(10, _wtoi(argv[3])) : 15;
    std::vector<std::wstring> exes{argv[1], argv[2]};
    if (argc > 4) exes.push_back(argv[4]);
    for (const std::wstring& exe : exes) TimeOne(exe);  // warm each once: the first start pays for loading files
    std::vector<std::vector<double>> times(exes.size());
    for (int i = 0; i < runs; ++i)
        for (size_t e = 0; e < exes.size(); ++e) {
            // A start whose window is not found shown once it idles (about one in two hundred
            // here) is made again.
            double t = TimeOne(exes[e]);
            for (int again = 0; t < 0 && again < 2; ++again) t = TimeOne(exes[e]);
            if (t < 0) {
                std::fwprintf(stderr, L"run %d of %ls failed\n", i, exes[e].c_str());
                return 1;
            }
            times[e].push_back(t);
        }
    const double mp = Median(times[0]), mb = Median(times[1]);
    std::wprintf(L"start-up to the first page painted, against the platform doing its work alone: medians of %d runs "
                 L"each, the ratio the median of each run's own\n",
                 runs);
    std::wprintf(L"  %-19ls %8.2f ms, bare %8.2f ms: ratio %.3f (target 1.05 or less)\n", L"start-up", mp * 1000, mb * 1000,
                 RoundRatio(times[0], times[1]));
    if (exes.size() > 2)
        std::wprintf(L"  an empty bare sheet comes up in %.2f ms: the program takes %.2f times as long\n",
                     Median(times[2]) * 1000, mp / Median(times[2]));
    return 0;
}
