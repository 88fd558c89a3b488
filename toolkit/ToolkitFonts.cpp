#include "toolkit/ToolkitFonts.h"

#include <cwchar>

namespace {

// The screen's pixel densities never change while the program runs: read them once.
int ReadPixelsPerInch(int nIndex) {
    HDC hdc = ::GetDC(nullptr);
    int n = hdc != nullptr ? ::GetDeviceCaps(hdc, nIndex) : 0;
    if (hdc != nullptr) ::ReleaseDC(nullptr, hdc);
    return n > 0 ? n : 96;
}

int PixelsPerInchX() {
    static const int s_nPixelsX = ReadPixelsPerInch(LOGPIXELSX);
    return s_nPixelsX;
}

int PixelsPerInchY() {
    static const int s_nPixelsY = ReadPixelsPerInch(LOGPIXELSY);
    return s_nPixelsY;
}

// Both fonts are shared by every window of the process and live until it ends.
HFONT g_hHeaderFont = nullptr;
HFONT g_hControlFont = nullptr;

struct CToolkitFontsOwner {
    ~CToolkitFontsOwner() {
        if (g_hHeaderFont != nullptr) ::DeleteObject(g_hHeaderFont);
        if (g_hControlFont != nullptr) ::DeleteObject(g_hControlFont);
        g_hHeaderFont = g_hControlFont = nullptr;
    }
} g_toolkitFontsOwner;

HFONT CreateToolkitFont(LONG nWeight) {
    LOGFONTW lf{};
    lf.lfHeight = ScaleY(13);  // positive: the cell height
    lf.lfWeight = nWeight;
    wcscpy(lf.lfFaceName, L"Tahoma");
    return ::CreateFontIndirectW(&lf);
}

bool IsPushButton(HWND hWnd) {
    wchar_t szClass[20] = {};
    ::GetClassNameW(hWnd, szClass, 20);
    LONG nType = ::GetWindowLongW(hWnd, GWL_STYLE) & BS_TYPEMASK;
    return _wcsicmp(szClass, L"BUTTON") == 0 && (nType == BS_PUSHBUTTON || nType == BS_DEFPUSHBUTTON);
}

}  // namespace

int ScaleX(int v) { return PixelsPerInchX() * v / 96; }
int ScaleY(int v) { return PixelsPerInchY() * v / 96; }

HFONT GetHeaderFont() {
    if (g_hHeaderFont == nullptr) g_hHeaderFont = CreateToolkitFont(FW_BOLD);
    return g_hHeaderFont;
}

HFONT GetControlFont() {
    if (g_hControlFont == nullptr) g_hControlFont = CreateToolkitFont(FW_NORMAL);
    return g_hControlFont;
}

void ApplyToolkitFonts(HWND hWnd) {
    if (hWnd == nullptr) return;
    HFONT hFont = IsPushButton(hWnd) ? GetHeaderFont() : GetControlFont();
    ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ApplyToolkitFonts(hChild);
}
