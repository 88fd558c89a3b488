// What every test stands on: GoogleTest, the literals, the registry fixture, and real windows driven in their own
// loops.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tests/Literals.h"
#include "tests/RegistryFixture.h"

// Runs step once the running modal loop is idle (its windows up and painted), one step per idle turn, in order.
void OnNextIdle(std::function<void()> step);
// Runs a sheet or dialog modally with the steps, the last one ending it; answers DoModal's result.
template <class TModal>
INT_PTR RunModal(TModal& window, std::initializer_list<std::function<void()>> steps) {
    for (const auto& step : steps) OnNextIdle(step);
    return window.DoModal();
}
// A button of a running sheet pressed (PSBTN_OK, PSBTN_CANCEL); a tap on a bar's first button.
void PressSheetButton(HWND hSheet, int nButton);
void TapBarButton(HWND hBar);

// Set while the harness reads a message box inside the program's run: the failure run fails none of its allocations (a
// failure there would leave the box unanswered).
extern bool g_bHarnessAtWork;
// While it lives, each message box on this thread (a dialog with a message text, not ours) is read and answered OK.
struct MessageBoxSeen { HWND hOwner = nullptr; std::wstring caption, text; HICON hIcon = nullptr; };
struct CAnswerMessageBoxes { CAnswerMessageBoxes(); ~CAnswerMessageBoxes(); std::vector<MessageBoxSeen> m_seen; };
// The whole program as it starts (its application object, AfxWinMain) with steps, each run at an idle turn on the
// window in front if it has the caption given (a window that did not open or ended lets its steps go by; g_pszPhase
// names the step). Boxes are answered, exceptions counted, a run over a minute ends the test program; quitLeft: a
// WM_QUIT was left.
struct ProgramStep { const char* phase; const wchar_t* caption; std::function<void(HWND)> act; };
struct ProgramRun { int exitCode = 0, exceptions = 0; std::vector<MessageBoxSeen> boxes; bool quitLeft = false; };
ProgramRun RunProgram(const std::vector<ProgramStep>& steps);
extern const char* g_pszPhase;
// Help asked for in a window, as F1 asks for it.
void AskHelp(HWND hWnd);
// Input as the device gives it: keys pressed and released in turn; the pen put down at a point of the screen, moved dy
// pixels down and lifted.
void PressKeys(std::initializer_list<WORD> keys);
void TapAt(POINT pt, int dy = 0);
// The help viewer's record of requests emptied; its requests since, once it has recorded n (10 s at most).
void ClearHelpRecord();
std::vector<std::string> HelpRecorded(size_t n);
// The bytes in use over all the process's heaps.
size_t HeapBytes();
// Removes a WM_QUIT left in the queue; true when there was one.
inline bool TakeQuitMessage() {
    MSG msg;
    return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}
// A rectangle's edges, left, top, right, bottom: compared, they print.
inline std::vector<LONG> Edges(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }
// Whether a rectangle lies whole inside another.
inline bool Within(const RECT& inner, const RECT& outer) {
    RECT both{};
    return ::IntersectRect(&both, &inner, &outer) && ::EqualRect(&both, &inner);
}
// What a window shows as the platform gives it: its rectangle in its parent, on the screen, its client area (from 0,
// 0), its font's face, height and weight, text, class, whether the hook is its procedure.
RECT InParent(HWND hWnd);
inline RECT OnScreen(HWND hWnd) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}
inline RECT ClientOf(HWND hWnd) {
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    return rc;
}
std::tuple<std::wstring, LONG, LONG> FontOf(HWND hWnd);
std::wstring TextOf(HWND hWnd);
std::wstring ClassOf(HWND hWnd);
bool Hooked(HWND hWnd);
// A folder's entries as the file system lists them (pattern "\Folder\*"), "." and ".." aside.
std::vector<std::wstring> Listed(const std::wstring& pattern);
// The page in front of a sheet; a control's click as its parent hears it, enabled or not.
HWND Page(HWND hSheet);
void Press(HWND hParent, int nID);
// A list's entries as shown; the entry of that text chosen, as a tap chooses it.
std::vector<std::wstring> Entries(HWND hList);
void Choose(HWND hList, const wchar_t* text);
// A tree's item as shown (a folder's, image 0, ends in "/"), an item's children, the item a path of such names leads to
// from the root (null where one is missing). Choose and Find allocate nothing: the failure run counts each allocation.
std::wstring ItemText(HWND hTree, HTREEITEM hItem);
std::vector<std::wstring> Children(HWND hTree, HTREEITEM hParent);
HTREEITEM Find(HWND hTree, const std::vector<std::wstring>& path);
