// The tests' dialog (an option dialog on the Screen Saver page's template and chrome, noting where it paints); what
// windows show.
#pragma once

#include <optional>

#include "app/base/OptionDialog.h"
#include "tests/Harness.h"

// A button wrapper counting the pen-downs that reach its default handling (the button itself).
struct CTapRecordingButton : CButton {
    int m_nTaps = 0;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LBUTTONDOWN) ++m_nTaps;
        return CButton::DefWindowProc(message, wParam, lParam);
    }
};

struct CToolkitHost : COptionDialog {
    explicit CToolkitHost(const wchar_t* title)
        : COptionDialog(kScreenSaverPageTemplate, nullptr, title, nullptr, FALSE) {}
    CTapRecordingButton m_button;                 // bound to the "Exceptions..." push button
    std::optional<bool> m_paintedInAdapterPaint;  // last WM_PAINT: inside the adapter's paint
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) m_paintedInAdapterPaint = m_chrome.m_adapter.m_ps.hdc != nullptr;
        return COptionDialog::DefWindowProc(message, wParam, lParam);
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kExceptionsButton, m_button); }
};

// Moves a top-level window to the screen's top left, its client area cx x cy pixels (a WM_SIZE), and paints it.
void SizeClient(HWND hWnd, int cx, int cy);
// A button clicked as the pen does it.
void Click(HWND hDlg, int nID);
// The controls as a user sees them, a word each: a check box 1 or 0, a slider its position, the time
// picker its time, anything else its first letter; then h hidden, - disabled.
std::wstring Shown(HWND hDlg, std::initializer_list<int> ids);
// Whether a window's header band shows the title: bold Tahoma 13 pixels high at 96 dpi, dark blue, 8 pixels in, centred
// in the 24-pixel band on the window colour, at the screen's density; drawn here, compared pixel by pixel, the rule
// aside.
bool ShowsHeader(HWND hWnd, const wchar_t* title);
// What paint draws on a bitmap of cx x cy pixels like the screen's, row by row.
std::vector<COLORREF> Painted(int cx, int cy, const std::function<void(HDC)>& paint);
// What a window's client area shows now: one pixel; the rows of column x above row cy in the colour.
COLORREF PixelAt(HWND hWnd, int x, int y);
std::vector<int> RowsOf(HWND hWnd, int x, COLORREF color, int cy);
