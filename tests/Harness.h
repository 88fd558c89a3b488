// Helpers for driving real windows from inside their own modal loops.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Runs step once the running modal loop is idle (its windows are up and painted).
// Steps queue up and run one per idle turn, in order.
void OnNextIdle(std::function<void()> step);
// Removes a WM_QUIT left in the queue; true when there was one.
bool TakeQuitMessage();
// The text of a window.
std::wstring WindowText(HWND hWnd);
// The tab captions of a tab control, left to right.
std::wstring TabText(HWND hTab, int index);

// --- registry -------------------------------------------------------------------------------
// Every key and value below root\path, one sorted line each, values with type and bytes:
// compare two of them to see that nothing else changed.
std::wstring RegistryState(HKEY root, const std::wstring& path);
// Removes root\path with everything below it.
void DeleteRegistryTree(HKEY root, const std::wstring& path);
void SetRegistryDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value);
// The DWORD stored under the name, or -1 when there is none.
long long GetRegistryDword(HKEY root, const std::wstring& path, const std::wstring& name);

// --- windows --------------------------------------------------------------------------------
// A left click at a point of a window's client area, delivered as the mouse would.
void ClickAt(HWND hWnd, int x, int y);
