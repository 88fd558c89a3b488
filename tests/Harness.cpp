#include "tests/Harness.h"

#include <cstdio>
#include <deque>

#include "app/OptionsApp.h"
#include "toolkit/ControlHook.h"

namespace {

std::deque<std::function<void()>> g_steps;
UINT_PTR g_timer = 0;

// A timer message only comes once the queue is empty, so the windows are up and painted.
void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    ::KillTimer(nullptr, g_timer);
    g_timer = g_steps.size() > 1 ? ::SetTimer(nullptr, 0, 1, &RunStep) : 0;
    if (g_steps.empty()) return;
    std::function<void()> step = std::move(g_steps.front());
    g_steps.pop_front();
    try {
        step();
    } catch (...) {  // out of memory: the run ends as the program's would
        AfxEndAfterException();
    }
}

CAnswerMessageBoxes* g_pAnswering = nullptr;
HHOOK g_hAnswerHook = nullptr;
LRESULT CALLBACK AnswerHook(int code, WPARAM wParam, LPARAM lParam) {
    const HWND h = reinterpret_cast<HWND>(wParam);
    const bool bBox = code == HCBT_ACTIVATE && ClassOf(h) == L"#32770" && !CWnd::FromHandlePermanent(h);
    // A box's text: control 0xFFFF on Windows, 100 on Wine.
    if (HWND hText = bBox ? (::GetDlgItem(h, 0xFFFF) ? ::GetDlgItem(h, 0xFFFF) : ::GetDlgItem(h, 100)) : nullptr) {
        g_bHarnessAtWork = true;
        MessageBoxSeen& seen = g_pAnswering->m_seen.emplace_back();
        seen.hOwner = ::GetWindow(h, GW_OWNER);
        seen.caption = TextOf(h);
        seen.text = TextOf(hText);
        for (HWND hChild = ::GetWindow(h, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
            if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(hChild, STM_GETICON, 0, 0))) seen.hIcon = hIcon;
        g_bHarnessAtWork = false;
        ::PostMessageW(h, WM_COMMAND, IDOK, 0);
    }
    return ::CallNextHookEx(g_hAnswerHook, code, wParam, lParam);
}

ProgramRun* g_pRun = nullptr;  // for the handler, which takes no context
LONG CALLBACK CountException(EXCEPTION_POINTERS*) {
    ++g_pRun->exceptions;
    return EXCEPTION_CONTINUE_SEARCH;
}
void CALLBACK Bark(void*, BOOLEAN) {
    std::fprintf(stderr, "\nnot over within 60 s, at %s\n", g_pszPhase);
    ::TerminateProcess(::GetCurrentProcess(), 3);
}
}  // namespace

void OnNextIdle(std::function<void()> step) {
    g_steps.push_back(std::move(step));
    if (g_timer == 0) g_timer = ::SetTimer(nullptr, 0, 1, &RunStep);
}

void PressSheetButton(HWND hSheet, int nButton) { ::SendMessageW(hSheet, PSM_PRESSBUTTON, nButton, 0); }

void TapBarButton(HWND hBar) {
    RECT rc{};
    ::SendMessageW(hBar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
    const LPARAM middle = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(hBar, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    ::SendMessageW(hBar, WM_LBUTTONUP, 0, middle);
}

CAnswerMessageBoxes::CAnswerMessageBoxes() {
    g_pAnswering = this;
    g_hAnswerHook = ::SetWindowsHookExW(WH_CBT, &AnswerHook, nullptr, ::GetCurrentThreadId());
}

CAnswerMessageBoxes::~CAnswerMessageBoxes() {
    ::UnhookWindowsHookEx(g_hAnswerHook);
    g_pAnswering = nullptr;
}

const char* g_pszPhase = "";
bool g_bHarnessAtWork = false;

ProgramRun RunProgram(const std::vector<ProgramStep>& steps) {
    ProgramRun run;
    g_pRun = &run;
    CAnswerMessageBoxes boxes;
    PVOID hSeen = ::AddVectoredExceptionHandler(1, &CountException);
    HANDLE hWatchdog = nullptr;
    ::CreateTimerQueueTimer(&hWatchdog, nullptr, &Bark, nullptr, 60000, 0, 0);
    for (const ProgramStep& step : steps)
        OnNextIdle([&step] {
            g_pszPhase = step.phase;
            if (HWND h = AfxGetModalWnd(); TextOf(h) == step.caption) step.act(h);
        });
    g_pszPhase = "start";
    {
        COptionsApp app;  // the program's own start, its sheet a local object of InitInstance
        run.exitCode = AfxWinMain(::GetModuleHandleW(nullptr));
    }
    g_pszPhase = "";
    ::DeleteTimerQueueTimer(nullptr, hWatchdog, INVALID_HANDLE_VALUE);
    ::RemoveVectoredExceptionHandler(hSeen);
    g_pRun = nullptr;
    run.quitLeft = TakeQuitMessage();
    run.boxes = boxes.m_seen;
    return run;
}

size_t HeapBytes() {
    HANDLE heaps[64];
    size_t bytes = 0;
    for (DWORD n = std::min<DWORD>(::GetProcessHeaps(64, heaps), 64), i = 0; i < n; ++i)
        for (PROCESS_HEAP_ENTRY entry{}; ::HeapWalk(heaps[i], &entry);)
            bytes += (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ? entry.cbData : 0;
    return bytes;
}

void AskHelp(HWND hWnd) {
    HELPINFO info{sizeof(HELPINFO), 0, 0, nullptr, 0, {0, 0}};
    ::SendMessageW(hWnd, WM_HELP, 0, LPARAM(&info));
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> input;
    for (WORD vk : keys) input.push_back({INPUT_KEYBOARD, {.ki = {vk, 0, 0, 0, 0}}});
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        input.push_back({INPUT_KEYBOARD, {.ki = {*it, 0, KEYEVENTF_KEYUP, 0, 0}}});
    ::SendInput(UINT(input.size()), input.data(), sizeof(INPUT));
}

// The point goes with each event: a pointer moved on its own may not be there yet when the pen comes down.
void TapAt(POINT pt, int dy) {
    const auto at = [](POINT p, DWORD button) {
        const LONG cx = ::GetSystemMetrics(SM_CXSCREEN) - 1, cy = ::GetSystemMetrics(SM_CYSCREEN) - 1;
        const DWORD flags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
        return INPUT{INPUT_MOUSE, {.mi = {::MulDiv(p.x, 65535, cx), ::MulDiv(p.y, 65535, cy), 0, flags, 0, 0}}};
    };
    const POINT to{pt.x, pt.y + dy};
    INPUT input[3] = {at(pt, MOUSEEVENTF_LEFTDOWN), at(to, 0), at(to, MOUSEEVENTF_LEFTUP)};
    ::SendInput(3, input, sizeof(INPUT));
}

namespace {
const wchar_t kHelpRecord[] = L"C:\\windows\\temp\\PegHelp.log";
// Signalled by the viewer as it ends (PEGHELP_DONE_EVENT, set in TestMain).
HANDLE HelpDone() {
    static const HANDLE s_hDone = ::CreateEventW(nullptr, FALSE, FALSE, L"BrumvaleTestsHelpDone");
    return s_hDone;
}
}  // namespace

void ClearHelpRecord() {
    ::ResetEvent(HelpDone());
    ::DeleteFileW(kHelpRecord);
}

std::vector<std::string> HelpRecorded(size_t n) {
    std::vector<std::string> lines;
    for (int tries = 0; lines.size() < n && tries < 100; ++tries) {
        ::WaitForSingleObject(HelpDone(), 100);
        lines.clear();
        std::ifstream record(kHelpRecord);
        for (std::string line; std::getline(record, line);)
            lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    }
    return lines;
}

RECT InParent(HWND hWnd) {
    RECT rc = OnScreen(hWnd);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hWnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::tuple<std::wstring, LONG, LONG> FontOf(HWND hWnd) {
    LOGFONTW lf{};
    ::GetObjectW(HFONT(::SendMessageW(hWnd, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return {lf.lfFaceName, lf.lfHeight, lf.lfWeight};
}

std::wstring TextOf(HWND hWnd) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(hWnd, text, 1024);
    return text;
}

std::wstring ClassOf(HWND hWnd) {
    wchar_t cls[64] = {};
    ::GetClassNameW(hWnd, cls, 64);
    return cls;
}

bool Hooked(HWND hWnd) {
    return ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ControlHookProc);
}

std::vector<std::wstring> Listed(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    HANDLE hFind = ::FindFirstFileW(pattern.c_str(), &data);
    for (BOOL more = hFind != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(hFind, &data))
        if (lstrcmpW(data.cFileName, L".") && lstrcmpW(data.cFileName, L"..")) names.push_back(data.cFileName);
    if (hFind != INVALID_HANDLE_VALUE) ::FindClose(hFind);
    return names;
}

HWND Page(HWND hSheet) { return PropSheet_GetCurrentPageHwnd(hSheet); }

void Press(HWND hParent, int nID) {
    ::SendMessageW(hParent, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), LPARAM(::GetDlgItem(hParent, nID)));
}

std::vector<std::wstring> Entries(HWND hList) {
    std::vector<std::wstring> entries;
    for (wchar_t text[300]; ::SendMessageW(hList, LB_GETTEXT, entries.size(), LPARAM(text)) >= 0;)
        entries.push_back(text);
    return entries;
}

void Choose(HWND hList, const wchar_t* text) {
    ::SendMessageW(hList, LB_SETCURSEL, ::SendMessageW(hList, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text)), 0);
    ::SendMessageW(::GetParent(hList), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hList), LBN_SELCHANGE), LPARAM(hList));
}

namespace {
const wchar_t* ItemInto(HWND hTree, HTREEITEM hItem, wchar_t (&text)[MAX_PATH + 1]) {
    TVITEMW item{TVIF_TEXT | TVIF_IMAGE, hItem, 0, 0, text, MAX_PATH, 0, 0, 0, 0};
    text[0] = L'\0';
    TreeView_GetItem(hTree, &item);
    if (item.iImage == 0) lstrcatW(text, L"/");
    return text;
}
}  // namespace

std::wstring ItemText(HWND hTree, HTREEITEM hItem) {
    wchar_t text[MAX_PATH + 1];
    return ItemInto(hTree, hItem, text);
}

std::vector<std::wstring> Children(HWND hTree, HTREEITEM hParent) {
    std::vector<std::wstring> names;
    for (HTREEITEM h = TreeView_GetChild(hTree, hParent); h != nullptr; h = TreeView_GetNextSibling(hTree, h))
        names.push_back(ItemText(hTree, h));
    return names;
}

HTREEITEM Find(HWND hTree, const std::vector<std::wstring>& path) {
    HTREEITEM hItem = TreeView_GetRoot(hTree);
    wchar_t text[MAX_PATH + 1];
    for (const std::wstring& name : path)
        for (hItem = hItem ? TreeView_GetChild(hTree, hItem) : nullptr; hItem && name != ItemInto(hTree, hItem, text);)
            hItem = TreeView_GetNextSibling(hTree, hItem);
    return hItem;
}
