// Start-up time: from process start to the first page painted, for the options program and
// for a bare property sheet, in alternation. A process counts as painted once it first waits
// for input: the system delivers paint messages before it reports a GUI thread idle.
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
        std::fwprintf(stderr, L"usage: startup_bench PROGRAM.exe BASELINE.exe [RUNS]\n");
        return 2;
    }
    int runs = argc > 3 ? std::max(10, _wtoi(argv[3])) : 15;
    TimeOne(argv[1]);  // warm both once: the first start pays for loading files
    TimeOne(argv[2]);
    std::vector<double> program, baseline;
    for (int i = 0; i < runs; ++i) {
        double p = TimeOne(argv[1]);
        double b = TimeOne(argv[2]);
        if (p < 0 || b < 0) {
            std::fwprintf(stderr, L"run %d failed (program %.3f, baseline %.3f)\n", i, p, b);
            return 1;
        }
        program.push_back(p);
        baseline.push_back(b);
    }
    double mp = Median(program), mb = Median(baseline);
    std::wprintf(L"start-up to first page painted, median of %d runs each\n", runs);
    std::wprintf(L"  options program: %.1f ms\n", mp * 1000);
    std::wprintf(L"  bare sheet:      %.1f ms\n", mb * 1000);
    std::wprintf(L"  ratio:           %.3f (target 1.05 or less)\n", mp / mb);
    return 0;
}
