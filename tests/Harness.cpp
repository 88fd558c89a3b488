#include "tests/Harness.h"

#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <vector>

namespace {

std::deque<std::function<void()>> g_steps;
UINT_PTR g_timer = 0;

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    ::KillTimer(nullptr, g_timer);
    g_timer = 0;
    if (g_steps.empty()) return;
    std::function<void()> step = std::move(g_steps.front());
    g_steps.pop_front();
    // A timer message only comes once the queue is empty, so the windows are ready.
    if (!g_steps.empty()) g_timer = ::SetTimer(nullptr, 0, 1, &RunStep);
    step();
}

}  // namespace

void OnNextIdle(std::function<void()> step) {
    g_steps.push_back(std::move(step));
    if (g_timer == 0) g_timer = ::SetTimer(nullptr, 0, 1, &RunStep);
}

namespace {
const wchar_t* g_pszRefusedClass = nullptr;
HHOOK g_hRefuseHook = nullptr;
LRESULT CALLBACK RefuseHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* cbt = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    if (code == HCBT_CREATEWND && !IS_INTRESOURCE(cbt->lpcs->lpszClass) &&
        lstrcmpiW(cbt->lpcs->lpszClass, g_pszRefusedClass) == 0)
        return 1;
    return ::CallNextHookEx(g_hRefuseHook, code, wParam, lParam);
}
}  // namespace

CRefuseWindows::CRefuseWindows(const wchar_t* pszClass) {
    g_pszRefusedClass = pszClass;
    g_hRefuseHook = ::SetWindowsHookExW(WH_CBT, &RefuseHook, nullptr, ::GetCurrentThreadId());
}

CRefuseWindows::~CRefuseWindows() { ::UnhookWindowsHookEx(g_hRefuseHook); }

void PressSheetButton(HWND hSheet, int nButton) { ::SendMessageW(hSheet, PSM_PRESSBUTTON, nButton, 0); }

namespace {
// The message text's control: 0xFFFF on Windows, 100 on Wine.
HWND MessageTextOf(HWND hBox) {
    HWND hText = ::GetDlgItem(hBox, 0xFFFF);
    return hText != nullptr ? hText : ::GetDlgItem(hBox, 100);
}
}  // namespace

MessageBoxSeen AnswerMessageBox(int nCommand) {
    MessageBoxSeen seen;
    HWND hBox = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND h, LPARAM out) {
            wchar_t cls[16] = {};
            ::GetClassNameW(h, cls, 16);
            if (lstrcmpW(cls, L"#32770") != 0 || !::IsWindowVisible(h) || MessageTextOf(h) == nullptr) return TRUE;
            *reinterpret_cast<HWND*>(out) = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&hBox));
    if (hBox == nullptr) return seen;
    seen.hOwner = ::GetWindow(hBox, GW_OWNER);
    seen.ownerEnabled = seen.hOwner != nullptr && ::IsWindowEnabled(seen.hOwner);
    seen.caption = WindowText(hBox);
    seen.text = WindowText(MessageTextOf(hBox));
    for (HWND h = ::GetWindow(hBox, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
        if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(h, STM_GETICON, 0, 0))) seen.hIcon = hIcon;
    ::PostMessageW(hBox, WM_COMMAND, static_cast<WPARAM>(nCommand), 0);
    return seen;
}

bool TakeQuitMessage() {
    MSG msg;
    bool found = false;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
    return found;
}

std::wstring WindowText(HWND hWnd) {
    wchar_t buffer[512] = {};
    ::GetWindowTextW(hWnd, buffer, 512);
    return buffer;
}

std::wstring TabText(HWND hTab, int index) {
    wchar_t buffer[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 128;
    ::SendMessageW(hTab, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

namespace {

void CollectState(HKEY hKey, const std::wstring& prefix, std::vector<std::wstring>& lines) {
    wchar_t name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD cchName = 16384, cbData = 0, type = 0;
        if (::RegEnumValueW(hKey, i, name, &cchName, nullptr, &type, nullptr, &cbData) != ERROR_SUCCESS) break;
        std::vector<BYTE> data(cbData);
        cchName = 16384;
        LSTATUS rc = ::RegEnumValueW(hKey, i, name, &cchName, nullptr, &type, data.data(), &cbData);
        std::wstring line = prefix + L":" + std::wstring(name, cchName) + L"=" + std::to_wstring(type) + L":";
        static const wchar_t hex[] = L"0123456789abcdef";
        if (rc == ERROR_SUCCESS)
            for (DWORD b = 0; b < cbData; ++b) line += {hex[data[b] >> 4], hex[data[b] & 15]};
        else line += L"<unreadable>";
        lines.push_back(line);
    }
    for (DWORD i = 0;; ++i) {
        DWORD cchName = 16384;
        if (::RegEnumKeyExW(hKey, i, name, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        std::wstring sub(name, cchName);
        lines.push_back(prefix + L"\\" + sub + L"\\");
        HKEY hSub = nullptr;
        if (::RegOpenKeyExW(hKey, sub.c_str(), 0, KEY_READ, &hSub) == ERROR_SUCCESS) {
            CollectState(hSub, prefix + L"\\" + sub, lines);
            ::RegCloseKey(hSub);
        }
    }
}

}  // namespace

std::wstring RegistryState(HKEY root, const std::wstring& path) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return L"<no key>";
    std::vector<std::wstring> lines;
    CollectState(hKey, L"", lines);
    ::RegCloseKey(hKey);
    std::sort(lines.begin(), lines.end());
    std::wstring state;
    for (const std::wstring& line : lines) state += line + L"\n";
    return state;
}

void DeleteRegistryTree(HKEY root, const std::wstring& path) {
    ::RegDeleteTreeW(root, path.c_str());
    ::RegDeleteKeyW(root, path.c_str());
}

void SetRegistryDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value) {
    HKEY hKey = nullptr;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(hKey, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(hKey);
}

long long GetRegistryDword(HKEY root, const std::wstring& path, const std::wstring& name) {
    DWORD value = 0, size = sizeof(value);
    if (::RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return -1;
    return value;
}

void ClickAt(HWND hWnd, int x, int y) {
    LPARAM point = MAKELPARAM(x, y);
    ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(hWnd, WM_LBUTTONUP, 0, point);
}
