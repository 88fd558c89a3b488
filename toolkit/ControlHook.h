// A window-procedure hook for control windows: pen taps on a bound control go straight to the
// control's own class procedure.
#pragma once

#include <windows.h>

#include <initializer_list>

class CWnd;

// Installs ControlHookProc on the control's window. FALSE when there is no control or window,
// or when the window is hooked already (a window is hooked once).
BOOL HookControl(CWnd* pControl);
// HookControl on each control, in the order given.
void HookControls(std::initializer_list<CWnd*> controls);

// The procedure HookControl installs. WM_LBUTTONDOWN on a window with a permanently bound
// wrapper is handed to the procedure the wrapper subclassed, skipping the wrapper's message
// routing; everything else goes on to the procedure the window had before the hook.
LRESULT CALLBACK ControlHookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
