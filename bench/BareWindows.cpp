#include "bench/BareWindows.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "resources/resource.h"
#include "settings/Schema.h"

namespace {

const wchar_t kCancel[] = L"Cancel";
constexpr int kBarId = 0xE800;  // the platform's tool-bar id, as the program's bars have it

int Dpi() {
    static const int s_nDpi = [] {
        HDC hdc = ::GetDC(nullptr);
        const int n = ::GetDeviceCaps(hdc, LOGPIXELSY);
        ::ReleaseDC(nullptr, hdc);
        return n;
    }();
    return s_nDpi;
}
int Scale() { return ::GetSystemMetrics(SM_CXSCREEN) > 400 ? 2 : 1; }

HFONT Font(bool bBold) {
    static HFONT s_hFonts[2] = {};
    HFONT& hFont = s_hFonts[bBold];
    if (hFont == nullptr) {
        LOGFONTW lf{};
        lf.lfHeight = 13 * Dpi() / 96;
        lf.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
        std::wcscpy(lf.lfFaceName, L"Tahoma");
        hFont = ::CreateFontIndirectW(&lf);
    }
    return hFont;
}

void SetFonts(HWND hWnd) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hWnd, cls, 16);
    const LONG type = ::GetWindowLongW(hWnd, GWL_STYLE) & BS_TYPEMASK;
    const bool bPush = _wcsicmp(cls, L"Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
    ::SendMessageW(hWnd, WM_SETFONT, WPARAM(Font(bPush)), TRUE);
    for (HWND h = ::GetWindow(hWnd, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) SetFonts(h);
}

// The bar in front of the controls it overlaps, as the handheld keeps it.
void BringBarToFront(HWND hDlg) {
    HWND hBar = ::GetDlgItem(hDlg, kBarId);
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
        if (h != hBar) ::SetWindowLongPtrW(h, GWL_STYLE, ::GetWindowLongPtrW(h, GWL_STYLE) | WS_CLIPSIBLINGS);
    ::SetWindowPos(hBar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The header's title, the bar and the "SIPPREF" window, the fonts; a dialog also fills the work area.
void InitChrome(HWND hDlg, const wchar_t* pszTitle, bool bBar, bool bDialog) {
    ::SetWindowLongPtrW(hDlg, DWLP_USER, LONG_PTR(pszTitle));
    SetFonts(hDlg);
    HINSTANCE hInstance = ::GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    if (!::GetClassInfoW(hInstance, L"SIPPREF", &wc)) {
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.hInstance = hInstance;
        wc.lpszClassName = L"SIPPREF";
        ::RegisterClassW(&wc);
    }
    if (::GetSystemMetrics(SM_CXSCREEN) != ::GetSystemMetrics(SM_CYSCREEN))
        ::CreateWindowExW(0, L"SIPPREF", L"", WS_CHILD, 0, 0, 0, 0, hDlg, nullptr, hInstance, nullptr);
    if (bBar) {
        HWND hBar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                      WS_CHILD | WS_VISIBLE | CCS_BOTTOM | CCS_NODIVIDER | TBSTYLE_FLAT | TBSTYLE_LIST, 0, 0,
                                      0, 0, hDlg, HMENU(kBarId), hInstance, nullptr);
        ::SendMessageW(hBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBBUTTON button{I_IMAGENONE, IDCANCEL, TBSTATE_ENABLED, BTNS_AUTOSIZE, {}, 0, INT_PTR(kCancel)};
        ::SendMessageW(hBar, TB_INSERTBUTTONW, ::SendMessageW(hBar, TB_BUTTONCOUNT, 0, 0), LPARAM(&button));
        ::SendMessageW(hBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 22));
        ::SendMessageW(hBar, TB_AUTOSIZE, 0, 0);
        BringBarToFront(hDlg);
    }
    if (bDialog) {
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        ::SetWindowPos(hDlg, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top, SWP_NOZORDER);
    }
}

// The band with the title, its rule below, on the window colour.
void PaintHeader(HWND hWnd) {
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(hWnd, &ps);
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    const int saved = ::SaveDC(hdc);
    ::SetBkColor(hdc, ::GetSysColor(COLOR_WINDOW));
    ::ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SelectObject(hdc, Font(true));
    ::SetTextColor(hdc, RGB(0, 0, 156));
    ::SetBkMode(hdc, TRANSPARENT);
    const int band = 24 * Dpi() / 96, pen = Dpi() / 96;
    RECT title{8 * Dpi() / 96, 0, rc.right, band};
    const auto* pszTitle = reinterpret_cast<const wchar_t*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    ::DrawTextW(hdc, pszTitle, -1, &title, DT_SINGLELINE | DT_VCENTER);
    HPEN hPen = ::CreatePen(PS_SOLID, pen, RGB(0, 0, 0));
    ::SelectObject(hdc, hPen);
    const POINT rule[2] = {{0, band + pen / 2}, {rc.right, band + pen / 2}};
    ::Polyline(hdc, rule, 2);
    ::RestoreDC(hdc, saved);
    ::DeleteObject(hPen);
    ::EndPaint(hWnd, &ps);
}

void MoveTo(HWND hDlg, int nID, int left, int top, int right, int bottom) {
    ::MoveWindow(::GetDlgItem(hDlg, nID), left, top, right - left, bottom - top, TRUE);
}
int BarTop(HWND hDlg, int cy) {
    HWND hBar = ::GetDlgItem(hDlg, kBarId);
    RECT rc{};
    if (hBar == nullptr || !::GetWindowRect(hBar, &rc)) return cy;
    ::MapWindowPoints(HWND_DESKTOP, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc.top;
}
RECT ControlRect(HWND hDlg, int nID) {
    RECT rc{};
    ::GetWindowRect(::GetDlgItem(hDlg, nID), &rc);
    ::MapWindowPoints(HWND_DESKTOP, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// --- the registry and the files, as the windows read them ------------------------------------
struct Key {
    HKEY h = nullptr;
    explicit Key(const wchar_t* path) {
        // The 64-bit view, where a 32-bit build of the program reads its values too.
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_READ | KEY_WOW64_64KEY, nullptr, &h, nullptr);
    }
    ~Key() {
        if (h != nullptr) ::RegCloseKey(h);
    }
    DWORD Dword(const wchar_t* name, DWORD dwDefault) const {
        DWORD value = 0, type = 0, size = sizeof(value);
        const bool bRead = ::RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == 0;
        return bRead && type == REG_DWORD ? value : dwDefault;
    }
    std::wstring String(const wchar_t* name) const {
        wchar_t text[MAX_PATH] = {};
        DWORD type = 0, size = sizeof(text) - sizeof(wchar_t);
        if (::RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != 0 || type != REG_SZ)
            return {};
        return text;
    }
};

std::wstring ModuleDir() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.rfind(L'\\') + 1);
}

// --- the pages ---------------------------------------------------------------------------------
void InitGame(HWND hPage) {
    DWORD mode = Key(kSettingsKeyPath).Dword(kValueGameMode, 0xDEF0);
    if (mode == 0xDEF0) mode = 1;
    ::CheckDlgButton(hPage, IDC_GAME_PHONE_EDITION, mode & 1 ? BST_CHECKED : BST_UNCHECKED);
}

void InitScreenSaver(HWND hPage) {
    DWORD mode = 6, timeout = 120;
    {
        Key key(kSettingsKeyPath);
        mode = key.Dword(kValueScreenSaverMode, 6);
        timeout = key.Dword(kValueScreenSaverTimeout, 120);
    }
    const bool bEnabled = (mode & 0x10) == 0;
    ::CheckDlgButton(hPage, IDC_SS_ENABLE, bEnabled);
    ::CheckDlgButton(hPage, IDC_SS_AC_POWER_ONLY, (mode & 2) != 0);
    ::CheckDlgButton(hPage, IDC_SS_NO_FULL_SCREEN, (mode & 4) != 0);
    RECT rc = ControlRect(hPage, IDC_SS_TIMEOUT_PLACEHOLDER);
    HWND hPicker = ::CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", 0x50800009, rc.left, rc.top, rc.right - rc.left,
                                     20 * Scale(), hPage, HMENU(IDC_SS_TIMEOUT_PICKER), nullptr, nullptr);
    ::SendMessageW(hPicker, DTM_SETFORMATW, 0, LPARAM(L"HH':'mm':'ss"));
    ::SendMessageW(hPicker, CCM_SETVERSION, 0x20C, 0);
    SYSTEMTIME shown{};
    ::GetLocalTime(&shown);
    shown.wHour = WORD(timeout / 3600 > 23 ? 23 : timeout / 3600);
    shown.wMinute = WORD(timeout / 60 % 60);
    shown.wSecond = WORD(timeout % 60);
    ::SendMessageW(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&shown));
    SetFonts(hPage);
    for (int nID : {IDC_SS_AC_POWER_ONLY, IDC_SS_NO_FULL_SCREEN, IDC_SS_TIMEOUT_PICKER, IDC_SS_TIMEOUT_LABEL,
                    IDC_SS_EXCEPTIONS, IDC_SS_MORE_OPTIONS})
        ::EnableWindow(::GetDlgItem(hPage, nID), bEnabled);
}

void InitSkins(HWND hPage) {
    HWND hList = ::GetDlgItem(hPage, IDC_SKINS_LIST);
    ::SendMessageW(hList, LB_ADDSTRING, 0, LPARAM(L"Default skin"));
    const std::wstring folder = ModuleDir() + L"TimeSkins\\";
    WIN32_FIND_DATAW data{};
    HANDLE hFind = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const wchar_t* name = data.cFileName;
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name[0] == L'.') continue;
            auto* pPath = new std::wstring(folder + name + L"\\");
            if (::GetFileAttributesW((*pPath + L"Time_font.bmp").c_str()) == INVALID_FILE_ATTRIBUTES) {
                delete pPath;
                continue;
            }
            const LRESULT index = ::SendMessageW(hList, LB_ADDSTRING, 0, LPARAM(name));
            ::SendMessageW(hList, LB_SETITEMDATA, index, LPARAM(pPath));
        } while (::FindNextFileW(hFind, &data));
        ::FindClose(hFind);
    }
    const std::wstring stored = Key(kGameKeyPath).String(kValueTimeSkin);
    int select = 0;
    for (int i = 1; i < ::SendMessageW(hList, LB_GETCOUNT, 0, 0) && select == 0; ++i) {
        const auto* pPath = reinterpret_cast<const std::wstring*>(::SendMessageW(hList, LB_GETITEMDATA, i, 0));
        if (::CompareStringOrdinal(pPath->c_str(), -1, stored.c_str(), -1, TRUE) == CSTR_EQUAL) select = i;
    }
    ::SendMessageW(hList, LB_SETCURSEL, select, 0);
    ::SetFocus(hList);
}

void FreeSkins(HWND hPage) {
    HWND hList = ::GetDlgItem(hPage, IDC_SKINS_LIST);
    for (int i = 1; i < ::SendMessageW(hList, LB_GETCOUNT, 0, 0); ++i)
        delete reinterpret_cast<std::wstring*>(::SendMessageW(hList, LB_GETITEMDATA, i, 0));
}

const wchar_t kOptionsTitle[] = L"Qov Brumvale Options";

INT_PTR CALLBACK WorkingPageProc(HWND hPage, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto nTemplate = reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam;
        InitChrome(hPage, kOptionsTitle, true, false);
        if (nTemplate == IDD_GAME_PAGE) InitGame(hPage);
        else if (nTemplate == IDD_SCREENSAVER_PAGE) InitScreenSaver(hPage);
        else InitSkins(hPage);
        return nTemplate != IDD_SKINS_PAGE;  // the skin list took the focus
    }
    if (message == WM_PAINT) {
        PaintHeader(hPage);
        return TRUE;
    }
    // Only the page in front shows its bar, in front of its controls.
    if (message == WM_NOTIFY) {
        const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
        if (code == PSN_SETACTIVE || code == PSN_KILLACTIVE)
            ::ShowWindow(::GetDlgItem(hPage, kBarId), code == PSN_SETACTIVE ? SW_SHOW : SW_HIDE);
        if (code == PSN_SETACTIVE) BringBarToFront(hPage);
    }
    // A toolbar docks itself again when told its parent was sized.
    if (message == WM_SIZE) ::SendDlgItemMessageW(hPage, kBarId, TB_AUTOSIZE, 0, 0);
    if (message == WM_SIZE && ::GetDlgItem(hPage, IDC_SKINS_LIST) != nullptr) {
        const int s = Scale();
        RECT list = ControlRect(hPage, IDC_SKINS_LIST);
        MoveTo(hPage, IDC_SKINS_LIST, list.left, list.top, LOWORD(lParam) - 7 * s, BarTop(hPage, HIWORD(lParam)) - 5 * s);
    }
    if (message == WM_DESTROY && ::GetDlgItem(hPage, IDC_SKINS_LIST) != nullptr) FreeSkins(hPage);
    return FALSE;
}

INT_PTR CALLBACK EmptyPageProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// --- the dialogs -------------------------------------------------------------------------------
void InitExceptions(HWND hDlg) {
    HWND hList = ::GetDlgItem(hDlg, IDC_EXC_LIST);
    Key key(kExceptionsKeyPath);
    wchar_t name[MAX_PATH];
    for (DWORD i = 0, cch = MAX_PATH; ::RegEnumValueW(key.h, i, name, &cch, nullptr, nullptr, nullptr, nullptr) == 0;
         ++i, cch = MAX_PATH) {
        const std::wstring text = key.String(name);
        if (!text.empty()) ::SendMessageW(hList, LB_ADDSTRING, 0, LPARAM(text.c_str()));
    }
    ::EnableWindow(::GetDlgItem(hDlg, IDC_EXC_REMOVE), FALSE);
    ::SetFocus(hList);
}

void InitAdvanced(HWND hDlg) {
    Key key(kGameKeyPath);
    const auto volume = [&key](const wchar_t* own, const wchar_t* game) {
        const DWORD value = key.Dword(own, 0xDEF0);
        return value != 0xDEF0 ? value : key.Dword(game, 50);
    };
    const DWORD sound = volume(kValueSsSoundVol, kValueSoundVol), music = volume(kValueSsMusicVol, kValueMusicVol);
    const std::wstring copy = key.String(kValueSsUserSettings);
    const bool bCopy = !copy.empty() && ::GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES;
    ::SetDlgItemTextW(hDlg, IDC_ADV_SAVE_ISLAND, bCopy ? L"Use current island in screen saver. (Will show current game state)"
                                                       : L"Save current island and use this copy in screen saver. ");
    for (int nID : {IDC_ADV_SOUND_SLIDER, IDC_ADV_MUSIC_SLIDER})
        ::SendDlgItemMessageW(hDlg, nID, TBM_SETRANGE, TRUE, MAKELPARAM(0, 64));
    ::SendDlgItemMessageW(hDlg, IDC_ADV_SOUND_SLIDER, TBM_SETPOS, TRUE, LPARAM(sound));
    ::SendDlgItemMessageW(hDlg, IDC_ADV_MUSIC_SLIDER, TBM_SETPOS, TRUE, LPARAM(music));
    ::CheckDlgButton(hDlg, IDC_ADV_LIVING_ISLAND, BST_UNCHECKED);
    ::EnableWindow(::GetDlgItem(hDlg, IDC_ADV_SAVE_ISLAND), TRUE);
    SetFonts(hDlg);  // once more, the bar's included
}

// Folders first in the order listed, each file right after the last folder; every folder entered.
void Scan(HWND hTree, const std::wstring& folder, HTREEITEM hParent) {
    WIN32_FIND_DATAW data{};
    HANDLE hFind = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return;
    HTREEITEM hAfter = TVI_FIRST;
    do {
        const wchar_t* name = data.cFileName;
        if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
        const bool bFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const wchar_t* dot = std::wcsrchr(name, L'.');
        if (!bFolder && (dot == nullptr || ::CompareStringOrdinal(dot + 1, -1, L"exe", -1, TRUE) != CSTR_EQUAL)) continue;
        TVINSERTSTRUCTW tvis{};
        tvis.hParent = hParent;
        tvis.hInsertAfter = hAfter;
        tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        tvis.item.pszText = data.cFileName;
        tvis.item.iImage = tvis.item.iSelectedImage = bFolder ? 0 : 1;
        HTREEITEM hItem = TreeView_InsertItem(hTree, &tvis);
        if (!bFolder || hItem == nullptr) continue;
        hAfter = hItem;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) Scan(hTree, folder + L"\\" + name, hItem);
    } while (::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
}

void InitPicker(HWND hDlg) {
    HCURSOR hOld = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    HWND hTree = ::GetDlgItem(hDlg, IDC_PICKER_TREE);
    RECT rc{};
    ::GetClientRect(hDlg, &rc);
    ::MoveWindow(hTree, -1, 24, rc.right + 2, rc.bottom - 64, TRUE);
    HIMAGELIST hImages = ImageList_LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PICKER_IMAGES), 16, 1,
                                              RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    ::SetPropW(hDlg, L"images", hImages);
    TreeView_SetImageList(hTree, hImages, TVSIL_NORMAL);
    TVINSERTSTRUCTW tvis{};
    tvis.hParent = TVI_ROOT;
    tvis.hInsertAfter = TVI_FIRST;
    tvis.item.mask = TVIF_TEXT;
    tvis.item.pszText = const_cast<LPWSTR>(L"\\");
    HTREEITEM hRoot = TreeView_InsertItem(hTree, &tvis);
    Scan(hTree, L"", hRoot);
    TreeView_Expand(hTree, hRoot, TVE_EXPAND);
    TreeView_EnsureVisible(hTree, hRoot);
    TreeView_SelectItem(hTree, hRoot);
    ::EnableWindow(::GetDlgItem(hDlg, IDOK), FALSE);
    ::SetCursor(hOld);
}

// Where the program's fitting put each control of a template's dialog, for a client area of a width.
struct Placements {
    int cx = -1;
    std::vector<RECT> rects;
};
Placements g_placements[3];  // exceptions, advanced options, picker
Placements& PlacementsOf(UINT nTemplate) {
    return g_placements[nTemplate == IDD_EXCEPTIONS ? 0 : nTemplate == IDD_ADVANCED_OPTIONS ? 1 : 2];
}

// Each control that lies elsewhere than the program's fitting put it, moved there as the fitting moves it.
void Place(HWND hDlg, UINT nTemplate, int cx) {
    const Placements& placements = PlacementsOf(nTemplate);
    if (cx != placements.cx) return;
    size_t i = 0;
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != nullptr && i < placements.rects.size();
         h = ::GetWindow(h, GW_HWNDNEXT)) {
        const RECT& rc = placements.rects[i++];
        RECT now{};
        ::GetWindowRect(h, &now);
        ::MapWindowPoints(HWND_DESKTOP, hDlg, reinterpret_cast<POINT*>(&now), 2);
        if (::EqualRect(&now, &rc)) continue;
        constexpr UINT kAsFitted = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOSENDCHANGING | SWP_NOCOPYBITS;
        ::SetWindowPos(h, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, kAsFitted | SWP_DEFERERASE);
    }
}

// A dialog's controls kept against its edges, as it is sized.
void Anchor(HWND hDlg, UINT nTemplate, int cx, int cy) {
    const int s = Scale(), bottom = BarTop(hDlg, cy);
    if (nTemplate == IDD_SELECT_FILE) {
        MoveTo(hDlg, IDC_PICKER_TREE, -s, 24 * s, cx + s, bottom - 30 * s);
        for (auto [nID, right] : {std::pair{IDCANCEL, 5}, std::pair{IDOK, 105}}) {
            const RECT rc = ControlRect(hDlg, nID);
            MoveTo(hDlg, nID, cx - right * s - (rc.right - rc.left), bottom - 5 * s - (rc.bottom - rc.top), cx - right * s,
                   bottom - 5 * s);
        }
    } else if (nTemplate == IDD_EXCEPTIONS) {
        const RECT list = ControlRect(hDlg, IDC_EXC_LIST);
        MoveTo(hDlg, IDC_EXC_LIST, list.left, list.top, cx - 95 * s, bottom - 5 * s);
        for (int nID : {IDC_EXC_ADD, IDC_EXC_REMOVE}) {
            const RECT rc = ControlRect(hDlg, nID);
            MoveTo(hDlg, nID, cx - 10 * s - (rc.right - rc.left), rc.top, cx - 10 * s, rc.bottom);
        }
    }
}

INT_PTR g_nDialogResult = 0;  // the command that ended the dialog; 0 while it runs

INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    static UINT s_nTemplate = 0;
    switch (message) {
    case WM_INITDIALOG:
        s_nTemplate = UINT(lParam);
        if (s_nTemplate == IDD_SELECT_FILE) InitChrome(hDlg, L"Select Program", false, true);
        else InitChrome(hDlg, s_nTemplate == IDD_EXCEPTIONS ? L"Screen Saver Exceptions" : L"Screen Saver Options", true, true);
        if (s_nTemplate == IDD_EXCEPTIONS) InitExceptions(hDlg);
        else if (s_nTemplate == IDD_ADVANCED_OPTIONS) InitAdvanced(hDlg);
        else InitPicker(hDlg);
        return s_nTemplate == IDD_ADVANCED_OPTIONS;  // the others set the focus
    case WM_PAINT:
        PaintHeader(hDlg);
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        ::SetBkColor(HDC(wParam), ::GetSysColor(COLOR_WINDOW));
        return INT_PTR(::GetSysColorBrush(COLOR_WINDOW));
    case WM_SIZE:
        ::SendDlgItemMessageW(hDlg, kBarId, TB_AUTOSIZE, 0, 0);
        Anchor(hDlg, s_nTemplate, LOWORD(lParam), HIWORD(lParam));
        Place(hDlg, s_nTemplate, LOWORD(lParam));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) g_nDialogResult = LOWORD(wParam);
        return TRUE;
    case WM_DESTROY:
        if (HANDLE hImages = ::RemovePropW(hDlg, L"images")) ImageList_Destroy(HIMAGELIST(hImages));
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR RunBareSheet(int nStartPage, BOOL bWork) {
    static const UINT kTemplates[] = {IDD_GAME_PAGE, IDD_SCREENSAVER_PAGE, IDD_SKINS_PAGE};
    static const wchar_t* const kTitles[] = {L"Game", L"Screen Saver", L"Skins"};
    PROPSHEETPAGEW pages[3] = {};
    for (int i = 0; i < 3; ++i) {
        pages[i].dwSize = sizeof(PROPSHEETPAGEW);
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].hInstance = ::GetModuleHandleW(nullptr);
        pages[i].pszTemplate = MAKEINTRESOURCEW(kTemplates[i]);
        pages[i].pfnDlgProc = bWork ? &WorkingPageProc : &EmptyPageProc;
        pages[i].pszTitle = kTitles[i];
        pages[i].lParam = LPARAM(kTemplates[i]);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hInstance = ::GetModuleHandleW(nullptr);
    header.pszCaption = kOptionsTitle;
    header.nPages = 3;
    header.nStartPage = UINT(nStartPage);
    header.ppsp = pages;
    return ::PropertySheetW(&header);
}

// Made, shown at once and run by a plain loop, as the program runs its modal dialogs.
void PlaceBareControlsAs(UINT nTemplate, int cxClient, std::vector<RECT> placements) {
    PlacementsOf(nTemplate) = Placements{cxClient, std::move(placements)};
}

INT_PTR RunBareDialog(UINT nTemplate) {
    g_nDialogResult = 0;
    HWND hDlg = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nTemplate), nullptr, &DialogProc,
                                     nTemplate);
    if (hDlg == nullptr) return -1;
    ::ShowWindow(hDlg, SW_SHOWNORMAL);
    MSG msg;
    while (g_nDialogResult == 0 && ::GetMessageW(&msg, nullptr, 0, 0)) {
        if (::IsDialogMessageW(hDlg, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::DestroyWindow(hDlg);
    return g_nDialogResult;
}
