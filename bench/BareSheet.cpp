// The baseline: a bare modal PropertySheetW with three pages, nothing else. bare_sheet's pages
// are empty; bare_sheet_game's are the program's own templates, so that its first page shows the
// Game page's controls with none of the program's code.
#include <windows.h>

#include <commctrl.h>

#include "resources/resource.h"

namespace {
INT_PTR CALLBACK EmptyPageProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
constexpr WORD kTemplates[] = {PAGE_TEMPLATES};
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
        pages[i].pszTemplate = MAKEINTRESOURCEW(kTemplates[i]);
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
