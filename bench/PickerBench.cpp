// The program picker's time to come up: from constructing it until it is shown with its tree
// filled, against a bare tree view in a bare window that a plain recursive FindFirstFileW scan of
// the same drive fills with the same items. Both run in this one process, in alternation, on
// each drive given (drives whose root holds a generated tree; bench/run.sh makes them).
//
//   picker_bench time RUNS DRIVE1 DRIVE2  medians, ratios and the picker's growth from 1 to 2
//   picker_bench memory picker|bare DRIVE  one run, then the process's peak working set
//
// A window counts as shown when its thread first goes idle: a timer message comes only once no
// other message, paint included, is waiting.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "dialogs/SelectFileDialog.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

CWinApp g_benchApp(L"Picker Bench");

const std::vector<std::wstring> kExtensions{L"exe"};


struct Shown {
    double seconds = -1;
    UINT items = 0;     // tree items, the root included
    size_t entries = 0; // folder entries seen by the bare scan (0 for the picker)
    RECT window{};
};

// What the first idle reads, and how it ends the window being measured.
struct Pending {
    double start = 0;
    HWND hWindow = nullptr, hTree = nullptr;
    void (*end)() = nullptr;
    Shown result;
} g_pending;

void CALLBACK OnFirstIdle(HWND, UINT, UINT_PTR id, DWORD) {
    const double now = Now();
    ::KillTimer(nullptr, id);
    g_pending.result.seconds = now - g_pending.start;
    g_pending.result.items = TreeView_GetCount(g_pending.hTree);
    ::GetWindowRect(g_pending.hWindow, &g_pending.result.window);
    g_pending.end();
}

// ---- the program picker

CSelectFileDialog* g_pPicker = nullptr;

void EndPicker() { g_pPicker->EndDialog(IDCANCEL); }

void CALLBACK OnPickerIdle(HWND hWnd, UINT message, UINT_PTR id, DWORD time) {
    g_pending.hWindow = AfxGetModalWnd();
    g_pending.hTree = ::GetDlgItem(g_pending.hWindow, IDC_PICKER_TREE);
    OnFirstIdle(hWnd, message, id, time);
}

Shown TimePicker() {
    g_pending = Pending{};
    g_pending.end = &EndPicker;
    g_pending.start = Now();
    CSelectFileDialog picker(L"", &kExtensions, 1, L"Select Program", nullptr);
    g_pPicker = &picker;
    ::SetTimer(nullptr, 0, 0, &OnPickerIdle);
    picker.DoModal();
    g_pPicker = nullptr;
    return g_pending.result;
}

// ---- the baseline: a bare window holding a bare tree view

constexpr wchar_t kBareClass[] = L"BareTreeHost";
bool g_bBareDone = false;
RECT g_bareRect{0, 0, 300, 380};  // replaced by the picker's own size once it has been shown

LRESULT CALLBACK BareProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        HWND hTree = ::GetWindow(hWnd, GW_CHILD);
        if (hTree != nullptr) ::MoveWindow(hTree, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

bool IsListed(const wchar_t* name) {
    const wchar_t* dot = std::wcsrchr(name, L'.');
    if (dot == nullptr) return false;
    for (const std::wstring& listed : kExtensions)
        if (::CompareStringOrdinal(dot + 1, -1, listed.c_str(), static_cast<int>(listed.size()), TRUE) == CSTR_EQUAL)
            return true;
    return false;
}

void BareScan(HWND hTree, const std::wstring& folder, HTREEITEM hParent, size_t& entries) {
    WIN32_FIND_DATAW data{};
    HANDLE hFind = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return;
    do {
        const wchar_t* name = data.cFileName;
        if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
        ++entries;
        const bool bFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!bFolder && !IsListed(name)) continue;
        TVINSERTSTRUCTW tvis{};
        tvis.hParent = hParent;
        tvis.hInsertAfter = TVI_LAST;
        tvis.item.mask = TVIF_TEXT;
        tvis.item.pszText = data.cFileName;
        HTREEITEM hItem = TreeView_InsertItem(hTree, &tvis);
        if (bFolder && hItem != nullptr) BareScan(hTree, folder + L"\\" + name, hItem, entries);
    } while (::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
}

void EndBare() { g_bBareDone = true; }

Shown TimeBare() {
    g_pending = Pending{};
    g_pending.end = &EndBare;
    g_bBareDone = false;
    g_pending.start = Now();
    ::SetTimer(nullptr, 0, 0, &OnFirstIdle);
    const RECT& r = g_bareRect;
    HWND hWnd = ::CreateWindowExW(0, kBareClass, L"Bare Tree", WS_POPUP | WS_CAPTION | WS_SYSMENU, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                  nullptr);
    RECT client{};
    ::GetClientRect(hWnd, &client);
    HWND hTree = ::CreateWindowExW(0, WC_TREEVIEWW, L"",
                                   WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                                   0, 0, client.right, client.bottom, hWnd, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    g_pending.hWindow = hWnd;
    g_pending.hTree = hTree;
    TVINSERTSTRUCTW tvis{};
    tvis.hParent = TVI_ROOT;
    tvis.hInsertAfter = TVI_FIRST;
    tvis.item.mask = TVIF_TEXT;
    tvis.item.pszText = const_cast<LPWSTR>(L"\\");
    HTREEITEM hRoot = TreeView_InsertItem(hTree, &tvis);
    size_t entries = 0;
    BareScan(hTree, L"", hRoot, entries);
    TreeView_Expand(hTree, hRoot, TVE_EXPAND);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    MSG msg;
    while (!g_bBareDone && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::DestroyWindow(hWnd);
    g_pending.result.entries = entries;
    return g_pending.result;
}

// ---- runs and figures


bool EnterDrive(const wchar_t* drive) {
    std::wstring root = drive;
    if (root.empty() || root.back() != L'\\') root += L'\\';
    if (::SetCurrentDirectoryW(root.c_str())) return true;
    std::fwprintf(stderr, L"cannot enter %ls\n", root.c_str());
    return false;
}

struct DriveFigures {
    size_t entries = 0;
    double picker = 0, bare = 0;
};

bool TimeDrive(const wchar_t* drive, int runs, DriveFigures& figures) {
    if (!EnterDrive(drive)) return false;
    // Once each first: the first scan of a drive pays for reading the host's folders.
    Shown warmPicker = TimePicker();
    if (warmPicker.seconds > 0) g_bareRect = warmPicker.window;
    Shown warmBare = TimeBare();
    std::vector<double> picker, bare;
    for (int i = 0; i < runs; ++i) {
        Shown p = TimePicker();
        Shown b = TimeBare();
        if (p.seconds < 0 || b.seconds < 0 || p.items != b.items) {
            std::fwprintf(stderr, L"%ls run %d failed: picker %.3f s %u items, bare %.3f s %u items\n", drive, i,
                          p.seconds, p.items, b.seconds, b.items);
            return false;
        }
        picker.push_back(p.seconds);
        bare.push_back(b.seconds);
    }
    figures.entries = warmBare.entries;
    figures.picker = Median(picker);
    figures.bare = Median(bare);
    std::wprintf(L"  %ls %zu entries, %u tree items in each\n", drive, warmBare.entries, warmBare.items);
    std::wprintf(L"    program picker: %8.1f ms\n", figures.picker * 1000);
    std::wprintf(L"    bare tree view: %8.1f ms\n", figures.bare * 1000);
    std::wprintf(L"    ratio:          %8.3f   (target 1.2 or less)\n", figures.picker / figures.bare);
    std::fflush(stdout);
    return true;
}

int TimeMode(int runs, const wchar_t* small, const wchar_t* large) {
    std::wprintf(L"program picker against a bare tree view, until shown with the tree filled; median of %d runs each\n",
                 runs);
    std::fflush(stdout);
    DriveFigures a, b;
    if (!TimeDrive(small, runs, a) || !TimeDrive(large, runs, b)) return 1;
    std::wprintf(L"  picker's growth from %zu to %zu entries: %.3f   (target 2.2 or less)\n", a.entries, b.entries,
                 b.picker / a.picker);
    return 0;
}

int MemoryMode(const std::wstring& which, const wchar_t* drive) {
    if (!EnterDrive(drive)) return 1;
    Shown shown = which == L"picker" ? TimePicker() : TimeBare();
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (shown.seconds < 0 || !::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) {
        std::fwprintf(stderr, L"memory run failed\n");
        return 1;
    }
    std::wprintf(L"  %ls: peak working set %.1f MB (%u tree items, shown in %.1f ms)\n",
                 which == L"picker" ? L"program picker" : L"bare tree view",
                 static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0), shown.items,
                 shown.seconds * 1000);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    g_benchApp.InitApplication(::GetModuleHandleW(nullptr));
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);
    WNDCLASSW wc{};
    wc.lpfnWndProc = &BareProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kBareClass;
    ::RegisterClassW(&wc);

    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"time" && argc == 5) return TimeMode(std::max(5, _wtoi(argv[2])), argv[3], argv[4]);
    if (mode == L"memory" && argc == 4 && (std::wstring(argv[2]) == L"picker" || std::wstring(argv[2]) == L"bare"))
        return MemoryMode(argv[2], argv[3]);
    std::fwprintf(stderr, L"usage: picker_bench time RUNS DRIVE1 DRIVE2\n"
                          L"       picker_bench memory picker|bare DRIVE\n");
    return 2;
}
