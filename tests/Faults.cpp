#include "tests/Faults.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <set>

#include "settings/RegistryKey.h"

namespace faults {
namespace {

// Every site, in the order they are reported.
const char* const kSites[] = {
    "RegCreateKeyExW", "RegOpenKeyExW", "RegQueryValueExW", "RegSetValueExW", "RegEnumValueW", "RegDeleteValueW",
    "RegFlushKey", "FindFirstFileW", "FindNextFileW", "GetFileAttributesW", "CopyFileW", "GetModuleFileNameW",
    "SearchPathW", "CreateProcessW", "InitCommonControlsEx", "PropertySheetW", "page-window", "CreateDialogParamW",
    "CreateWindowExW", "RegisterClassW", "SetWindowsHookExW", "TB_INSERTBUTTONW", "TVM_INSERTITEMW", "LB_ADDSTRING",
    "ImageList_LoadImageW", "LoadStringW", "MessageBoxW", "GetDC", "BeginPaint", "CreateFontIndirectW", "CreatePen",
    "new"};
constexpr int kSiteCount = int(std::size(kSites));

struct State {
    bool armed = false, failed = false;
    int site = -1, n = 0;
    int counts[kSiteCount] = {};
    std::string context;
    std::map<std::string, std::set<ULONG_PTR>> live;  // by kind
    std::map<HANDLE, std::string> searches;           // each open search's pattern
} g;
const char* g_pszPhase = "";
// Inside the bookkeeping: its own allocations are not the program's.
bool g_bBusy = false;

std::string Narrow(const wchar_t* text) {
    std::string s;
    for (; text != nullptr && !IS_INTRESOURCE(text) && *text; ++text) s += *text < 128 ? char(*text) : '?';
    return s;
}

std::string WindowText(HWND hWnd) {
    wchar_t text[64] = {};
    ::GetWindowTextW(hWnd, text, 64);
    return Narrow(text);
}

// Counts the call; true when it is the one to fail, whose context (what it was about) is kept.
template <class FContext>
bool Hit(const char* site, FContext context) {
    if (!g.armed || g_bBusy) return false;
    int i = 0;
    while (i < kSiteCount && std::strcmp(kSites[i], site) != 0) ++i;
    if (++g.counts[i] != g.n || i != g.site) return false;
    g_bBusy = true;
    g.failed = true;
    g.context = std::string(g_pszPhase) + ":" + context();
    g_bBusy = false;
    return true;
}
bool Hit(const char* site) {
    return Hit(site, [] { return std::string(); });
}

void Made(const char* kind, const void* handle) {
    if (!g.armed || handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    g_bBusy = true;
    g.live[kind].insert(ULONG_PTR(handle));
    g_bBusy = false;
}
void Released(const char* kind, const void* handle) {
    g_bBusy = true;
    g.live[kind].erase(ULONG_PTR(handle));
    g_bBusy = false;
}

// The entry of the test program's import table for dll!name, replaced by fake; answers the old.
void* Patch(const char* dll, const char* name, void* fake) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name != 0; ++imp) {
        if (_stricmp(reinterpret_cast<char*>(base + imp->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            if (std::strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name, name) != 0)
                continue;
            DWORD old = 0;
            ::VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
            void* real = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(fake);
            ::VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
            return real;
        }
    }
    return nullptr;  // the program does not import it
}

// A fake for each call: fake_<name> fails the chosen occurrence as the platform would, or calls
// the real one. FAKE(dll, name, (params), (args), failed call's result, last error, context).
#define FAKE(dll, name, params, args, fail, error, context)                   \
    decltype(&::name) real_##name = nullptr;                                  \
    auto WINAPI fake_##name params -> decltype(::name args) {                 \
        if (Hit(#name, [&] { return std::string(context); })) {                                            \
            ::SetLastError(error);                                            \
            return fail;                                                      \
        }                                                                     \
        return real_##name args;                                              \
    }
#define PATCH(dll, name) real_##name = reinterpret_cast<decltype(real_##name)>(Patch(dll, #name, reinterpret_cast<void*>(&fake_##name)))

// --- the registry, through the store's table
RegistryEntryPoints g_reg;
LSTATUS WINAPI fakeCreateKey(HKEY root, LPCWSTR path, DWORD r, LPWSTR c, DWORD o, REGSAM s, const LPSECURITY_ATTRIBUTES a,
                             PHKEY key, LPDWORD d) {
    if (Hit("RegCreateKeyExW", [&] { return Narrow(path); })) return ERROR_ACCESS_DENIED;
    const LSTATUS status = g_reg.pfnCreateKeyEx(root, path, r, c, o, s, a, key, d);
    if (status == ERROR_SUCCESS) Made("key", *key);
    return status;
}
LSTATUS WINAPI fakeOpenKey(HKEY root, LPCWSTR path, DWORD o, REGSAM s, PHKEY key) {
    if (Hit("RegOpenKeyExW", [&] { return Narrow(path); })) return ERROR_ACCESS_DENIED;
    const LSTATUS status = g_reg.pfnOpenKeyEx(root, path, o, s, key);
    if (status == ERROR_SUCCESS) Made("key", *key);
    return status;
}
LSTATUS WINAPI fakeQuery(HKEY key, LPCWSTR name, LPDWORD r, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (Hit("RegQueryValueExW", [&] { return Narrow(name); })) return ERROR_ACCESS_DENIED;
    return g_reg.pfnQueryValueEx(key, name, r, type, data, size);
}
LSTATUS WINAPI fakeSet(HKEY key, LPCWSTR name, DWORD r, DWORD type, const BYTE* data, DWORD size) {
    if (Hit("RegSetValueExW", [&] { return Narrow(name); })) return ERROR_ACCESS_DENIED;
    return g_reg.pfnSetValueEx(key, name, r, type, data, size);
}
LSTATUS WINAPI fakeEnum(HKEY key, DWORD i, LPWSTR name, LPDWORD n, LPDWORD r, LPDWORD type, LPBYTE data, LPDWORD size) {
    return Hit("RegEnumValueW") ? ERROR_ACCESS_DENIED : g_reg.pfnEnumValue(key, i, name, n, r, type, data, size);
}
LSTATUS WINAPI fakeDelete(HKEY key, LPCWSTR name) {
    if (Hit("RegDeleteValueW", [&] { return Narrow(name); })) return ERROR_ACCESS_DENIED;
    return g_reg.pfnDeleteValue(key, name);
}
LSTATUS WINAPI fakeFlush(HKEY key) { return Hit("RegFlushKey") ? ERROR_ACCESS_DENIED : g_reg.pfnFlushKey(key); }
LSTATUS WINAPI fakeClose(HKEY key) {
    Released("key", key);
    return g_reg.pfnCloseKey(key);
}

// --- files and programs
FAKE("kernel32.dll", FindNextFileW, (HANDLE h, LPWIN32_FIND_DATAW d), (h, d), FALSE, ERROR_ACCESS_DENIED, g.searches[h])
FAKE("kernel32.dll", GetFileAttributesW, (LPCWSTR p), (p), INVALID_FILE_ATTRIBUTES, ERROR_ACCESS_DENIED, Narrow(p))
FAKE("kernel32.dll", CopyFileW, (LPCWSTR a, LPCWSTR b, BOOL f), (a, b, f), FALSE, ERROR_SHARING_VIOLATION, Narrow(a))
FAKE("kernel32.dll", GetModuleFileNameW, (HMODULE m, LPWSTR p, DWORD n), (m, p, n), 0, ERROR_INSUFFICIENT_BUFFER, "")
FAKE("kernel32.dll", SearchPathW, (LPCWSTR a, LPCWSTR b, LPCWSTR c, DWORD n, LPWSTR p, LPWSTR* f), (a, b, c, n, p, f), 0,
     ERROR_FILE_NOT_FOUND, Narrow(b))
decltype(&::FindFirstFileW) real_FindFirstFileW = nullptr;
HANDLE WINAPI fake_FindFirstFileW(LPCWSTR p, LPWIN32_FIND_DATAW d) {
    if (Hit("FindFirstFileW", [&] { return Narrow(p); })) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE h = real_FindFirstFileW(p, d);
    Made("find", h);
    g_bBusy = true;
    if (g.armed) g.searches[h] = Narrow(p);
    g_bBusy = false;
    return h;
}
decltype(&::FindClose) real_FindClose = nullptr;
BOOL WINAPI fake_FindClose(HANDLE h) {
    Released("find", h);
    g_bBusy = true;
    g.searches.erase(h);
    g_bBusy = false;
    return real_FindClose(h);
}
decltype(&::CreateProcessW) real_CreateProcessW = nullptr;
BOOL WINAPI fake_CreateProcessW(LPCWSTR a, LPWSTR b, LPSECURITY_ATTRIBUTES c, LPSECURITY_ATTRIBUTES d, BOOL e, DWORD f,
                                LPVOID g_, LPCWSTR h, LPSTARTUPINFOW i, LPPROCESS_INFORMATION pi) {
    if (Hit("CreateProcessW", [&] { return Narrow(b); })) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    const BOOL ok = real_CreateProcessW(a, b, c, d, e, f, g_, h, i, pi);
    if (ok) {
        Made("process handle", pi->hProcess);
        Made("process handle", pi->hThread);
    }
    return ok;
}
decltype(&::CloseHandle) real_CloseHandle = nullptr;
BOOL WINAPI fake_CloseHandle(HANDLE h) {
    Released("process handle", h);
    return real_CloseHandle(h);
}

// --- windows and controls
FAKE("comctl32.dll", PropertySheetW, (LPCPROPSHEETHEADERW h), (h), -1, ERROR_OUTOFMEMORY, "")
FAKE("user32.dll", CreateDialogParamW, (HINSTANCE i, LPCWSTR t, HWND p, DLGPROC f, LPARAM l), (i, t, p, f, l), nullptr,
     ERROR_OUTOFMEMORY, std::to_string(UINT_PTR(t)))
FAKE("user32.dll", CreateWindowExW,
     (DWORD x, LPCWSTR c, LPCWSTR t, DWORD s, int X, int Y, int W, int H, HWND p, HMENU m, HINSTANCE i, LPVOID l),
     (x, c, t, s, X, Y, W, H, p, m, i, l), nullptr, ERROR_OUTOFMEMORY, Narrow(c) + "@" + WindowText(p))
FAKE("user32.dll", RegisterClassW, (const WNDCLASSW* w), (w), 0, ERROR_OUTOFMEMORY, Narrow(w->lpszClassName))
FAKE("user32.dll", SetWindowsHookExW, (int k, HOOKPROC f, HINSTANCE i, DWORD t), (k, f, i, t), nullptr, ERROR_OUTOFMEMORY,
     std::to_string(k))
FAKE("user32.dll", MessageBoxW, (HWND o, LPCWSTR t, LPCWSTR c, UINT y), (o, t, c, y), 0, ERROR_OUTOFMEMORY, Narrow(t))
FAKE("user32.dll", LoadStringW, (HINSTANCE i, UINT id, LPWSTR b, int n), (i, id, b, n), 0, ERROR_RESOURCE_NAME_NOT_FOUND,
     std::to_string(id))
FAKE("comctl32.dll", InitCommonControlsEx, (const INITCOMMONCONTROLSEX* p), (p), FALSE, ERROR_OUTOFMEMORY, "")
decltype(&::ImageList_LoadImageW) real_ImageList_LoadImageW = nullptr;
HIMAGELIST WINAPI fake_ImageList_LoadImageW(HINSTANCE i, LPCWSTR b, int cx, int g_, COLORREF m, UINT t, UINT f) {
    if (Hit("ImageList_LoadImageW")) return nullptr;
    HIMAGELIST h = real_ImageList_LoadImageW(i, b, cx, g_, m, t, f);
    Made("image list", h);
    return h;
}
decltype(&::ImageList_Destroy) real_ImageList_Destroy = nullptr;
BOOL WINAPI fake_ImageList_Destroy(HIMAGELIST h) {
    Released("image list", h);
    return real_ImageList_Destroy(h);
}
// Three messages whose failures the program meets: a bar's button, a tree item, a list entry.
decltype(&::SendMessageW) real_SendMessageW = nullptr;
LRESULT WINAPI fake_SendMessageW(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == TB_INSERTBUTTONW && Hit("TB_INSERTBUTTONW")) return FALSE;
    const auto* pInsert = reinterpret_cast<const TVINSERTSTRUCTW*>(l);
    if (m == TVM_INSERTITEMW && Hit("TVM_INSERTITEMW", [&] { return Narrow(pInsert->item.pszText); })) return 0;
    if (m == LB_ADDSTRING && Hit("LB_ADDSTRING", [&] { return Narrow(reinterpret_cast<LPCWSTR>(l)); })) return LB_ERRSPACE;
    return real_SendMessageW(h, m, w, l);
}
// Pages are made by comctl32 itself, out of reach of the import table: refused as they are made.
HHOOK g_hPageHook = nullptr;
LRESULT CALLBACK PageHook(int code, WPARAM w, LPARAM l) {
    const auto* cbt = reinterpret_cast<const CBT_CREATEWNDW*>(l);
    const LPCWSTR cls = code == HCBT_CREATEWND ? cbt->lpcs->lpszClass : nullptr;
    const bool bDialog = cls != nullptr && (IS_INTRESOURCE(cls) ? LOWORD(UINT_PTR(cls)) == 0x8002 : !lstrcmpW(cls, L"#32770"));
    if (bDialog && (cbt->lpcs->style & WS_CHILD) && Hit("page-window")) return 1;
    return ::CallNextHookEx(g_hPageHook, code, w, l);
}

// --- painting and fonts
decltype(&::GetDC) real_GetDC = nullptr;
HDC WINAPI fake_GetDC(HWND h) {
    if (Hit("GetDC")) return nullptr;
    HDC dc = real_GetDC(h);
    Made("DC", dc);
    return dc;
}
decltype(&::ReleaseDC) real_ReleaseDC = nullptr;
int WINAPI fake_ReleaseDC(HWND h, HDC dc) {
    Released("DC", dc);
    return real_ReleaseDC(h, dc);
}
// A paint that cannot begin validates nothing: the window is painted again later.
decltype(&::BeginPaint) real_BeginPaint = nullptr;
HDC WINAPI fake_BeginPaint(HWND h, LPPAINTSTRUCT ps) {
    if (Hit("BeginPaint")) {
        *ps = PAINTSTRUCT{};
        return nullptr;
    }
    HDC dc = real_BeginPaint(h, ps);
    Made("paint DC", dc);
    return dc;
}
decltype(&::EndPaint) real_EndPaint = nullptr;
BOOL WINAPI fake_EndPaint(HWND h, const PAINTSTRUCT* ps) {
    Released("paint DC", ps->hdc);
    return real_EndPaint(h, ps);
}
decltype(&::CreateFontIndirectW) real_CreateFontIndirectW = nullptr;
HFONT WINAPI fake_CreateFontIndirectW(const LOGFONTW* lf) {
    if (Hit("CreateFontIndirectW")) return nullptr;
    HFONT h = real_CreateFontIndirectW(lf);
    Made("GDI object", h);
    return h;
}
decltype(&::CreatePen) real_CreatePen = nullptr;
HPEN WINAPI fake_CreatePen(int s, int w, COLORREF c) {
    if (Hit("CreatePen")) return nullptr;
    HPEN h = real_CreatePen(s, w, c);
    Made("GDI object", h);
    return h;
}
decltype(&::DeleteObject) real_DeleteObject = nullptr;
BOOL WINAPI fake_DeleteObject(HGDIOBJ h) {
    Released("GDI object", h);
    return real_DeleteObject(h);
}

}  // namespace

void Install() {
    static bool bInstalled = false;
    if (bInstalled) return;
    bInstalled = true;
    RegistryEntryPoints& reg = GetRegistryEntryPoints();
    g_reg = reg;
    reg = {fakeCreateKey, fakeOpenKey, fakeQuery, fakeSet, fakeEnum, fakeDelete, fakeFlush, fakeClose};
    PATCH("kernel32.dll", FindFirstFileW);
    PATCH("kernel32.dll", FindNextFileW);
    PATCH("kernel32.dll", FindClose);
    PATCH("kernel32.dll", GetFileAttributesW);
    PATCH("kernel32.dll", CopyFileW);
    PATCH("kernel32.dll", GetModuleFileNameW);
    PATCH("kernel32.dll", SearchPathW);
    PATCH("kernel32.dll", CreateProcessW);
    PATCH("kernel32.dll", CloseHandle);
    PATCH("comctl32.dll", PropertySheetW);
    PATCH("comctl32.dll", InitCommonControlsEx);
    PATCH("comctl32.dll", ImageList_LoadImageW);
    PATCH("comctl32.dll", ImageList_Destroy);
    PATCH("user32.dll", CreateDialogParamW);
    PATCH("user32.dll", CreateWindowExW);
    PATCH("user32.dll", RegisterClassW);
    PATCH("user32.dll", SetWindowsHookExW);
    PATCH("user32.dll", MessageBoxW);
    PATCH("user32.dll", LoadStringW);
    PATCH("user32.dll", SendMessageW);
    PATCH("user32.dll", GetDC);
    PATCH("user32.dll", ReleaseDC);
    PATCH("user32.dll", BeginPaint);
    PATCH("user32.dll", EndPaint);
    PATCH("gdi32.dll", CreateFontIndirectW);
    PATCH("gdi32.dll", CreatePen);
    PATCH("gdi32.dll", DeleteObject);
    g_hPageHook = real_SetWindowsHookExW(WH_CBT, &PageHook, nullptr, ::GetCurrentThreadId());
}

void Arm(const std::string& site, int n) {
    g = State{};
    for (int i = 0; i < kSiteCount; ++i)
        if (site == kSites[i]) g.site = i;
    g.n = n;
    g.armed = true;
}
void Disarm() { g.armed = false; }
void SetPhase(const char* phase) { g_pszPhase = phase; }
std::map<std::string, int> Counts() {
    std::map<std::string, int> counts;
    for (int i = 0; i < kSiteCount; ++i) counts[kSites[i]] = g.counts[i];
    return counts;
}
bool Failed() { return g.failed; }
std::string FailedContext() { return g.context; }
std::map<std::string, int> Live() {
    std::map<std::string, int> live;
    for (const auto& [kind, handles] : g.live)
        if (!handles.empty()) live[kind] = int(handles.size());
    return live;
}

}  // namespace faults

// The program's own allocations: the chosen one throws, as the heap's failure does.
void* operator new(size_t size) {
    if (faults::Hit("new")) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
