// The baseline: a bare modal PropertySheetW with three empty pages, nothing else.
#include <windows.h>

#include <commctrl.h>

namespace {
INT_PTR CALLBACK EmptyPageProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);
    static const wchar_t* const titles[] = {L"One", L"Two", L"Three"};
    PROPSHEETPAGEW pages[3] = {};
    for (int i = 0; i < 3; ++i) {
        pages[i].dwSize = sizeof(PROPSHEETPAGEW);
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].hInstance = hInstance;
        pages[i].pszTemplate = MAKEINTRESOURCEW(200 + i);
        pages[i].pfnDlgProc = &EmptyPageProc;
        pages[i].pszTitle = titles[i];
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hInstance = hInstance;
    header.pszCaption = L"Bare Sheet";
    header.nPages = 3;
    header.ppsp = pages;
    ::PropertySheetW(&header);
    return 0;
}
