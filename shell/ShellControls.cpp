#include "shell/ShellControls.h"

#include "framework/WinApp.h"

namespace {

// There is no input panel on the desktop: the window only has to exist, so that dialogs
// create it exactly as they do on the handheld.
LRESULT CALLBACK SipPrefWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

}  // namespace

BOOL SHInitExtraControls() {
    HINSTANCE hInstance = AfxGetInstanceHandle();
    WNDCLASSW wc{};
    if (::GetClassInfoW(hInstance, kSipPrefClass, &wc)) return TRUE;
    wc.lpfnWndProc = &SipPrefWndProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = kSipPrefClass;
    return ::RegisterClassW(&wc) != 0;
}

void PrepareStandaloneDialog(HWND) {}

HBRUSH WindowColourBehindControl(HDC hdc) {
    ::SetBkColor(hdc, ::GetSysColor(COLOR_WINDOW));
    return ::GetSysColorBrush(COLOR_WINDOW);
}
