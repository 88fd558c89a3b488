// Helpers for driving real windows from inside their own modal loops.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Runs step once the running modal loop is idle (its windows are up and painted); steps queue
// up and run one per idle turn, in order.
void OnNextIdle(std::function<void()> step);
// Runs a sheet or dialog modally with the steps, the last one ending it; answers DoModal's result.
template <class TModal>
INT_PTR RunModal(TModal& window, std::initializer_list<std::function<void()>> steps) {
    for (const auto& step : steps) OnNextIdle(step);
    return window.DoModal();
}
// A button of a running sheet pressed (PSBTN_OK, PSBTN_CANCEL).
void PressSheetButton(HWND hSheet, int nButton);
// A tap on the bar's first button, as the pen gives it.
void TapBarButton(HWND hBar);

// Refuses to make windows of the class on this thread while it lives.
struct CRefuseWindows {
    explicit CRefuseWindows(const wchar_t* pszClass);
    ~CRefuseWindows();
};

// While it lives, each message box on this thread (a dialog with a message text and no object of
// ours) is read as it comes up and answered with IDOK.
struct MessageBoxSeen {
    HWND hOwner = nullptr;
    std::wstring caption, text;
    HICON hIcon = nullptr;
};
struct CAnswerMessageBoxes {
    CAnswerMessageBoxes();
    ~CAnswerMessageBoxes();
    std::vector<MessageBoxSeen> m_seen;
};
// Removes a WM_QUIT left in the queue; true when there was one.
inline bool TakeQuitMessage() { MSG msg; return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE; }
// A rectangle's edges, left, top, right, bottom: compared, they print.
inline std::vector<LONG> Edges(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }
// What a window shows, read as the platform gives it: its rectangle in its parent's client area,
// its text, whether the control hook is its window procedure (pen taps go straight to it).
RECT InParent(HWND hWnd);
std::wstring TextOf(HWND hWnd);
bool Hooked(HWND hWnd);
// A folder's entries as the file system lists them (pattern "\Folder\*"), "." and ".." aside.
std::vector<std::wstring> Listed(const std::wstring& pattern);
