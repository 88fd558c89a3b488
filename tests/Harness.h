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
