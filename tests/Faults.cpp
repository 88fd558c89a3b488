#include "tests/Faults.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "settings/RegistryKey.h"
#include "tests/Harness.h"

namespace faults {
namespace {

// Each call intercepted: what it answers when it fails and its last error, which argument tells what it was about, the
// kind of object its answer makes (in its last argument where it answers whether it did), or which argument it releases
// and the kind of that (such a call never fails here).
struct Site {
    const char* name; LONG_PTR fail = 0; DWORD error = ERROR_OUTOFMEMORY;
    int about = -1; const char* makes = nullptr; int released = -1; const char* kind = nullptr;
};
constexpr Site kSites[] = {
    {"RegCreateKeyExW", ERROR_ACCESS_DENIED, 0, 1}, {"RegOpenKeyExW", ERROR_ACCESS_DENIED, 0, 1},
    {"RegQueryValueExW", ERROR_ACCESS_DENIED, 0, 1}, {"RegSetValueExW", ERROR_ACCESS_DENIED, 0, 1},
    {"RegEnumValueW", ERROR_ACCESS_DENIED, 0}, {"RegDeleteValueW", ERROR_ACCESS_DENIED, 0, 1},
    {"RegFlushKey", ERROR_ACCESS_DENIED, 0}, {"RegCloseKey", 0, 0, -1, nullptr, 0, "key"},
    {"FindFirstFileW", -1, ERROR_ACCESS_DENIED, 0, "search"},  // INVALID_HANDLE_VALUE
    {"FindNextFileW", FALSE, ERROR_ACCESS_DENIED}, {"FindClose", 0, 0, -1, nullptr, 0, "search"},
    {"GetFileAttributesW", LONG_PTR(INVALID_FILE_ATTRIBUTES), ERROR_ACCESS_DENIED, 0},
    {"CopyFileW", FALSE, ERROR_SHARING_VIOLATION, 0}, {"GetModuleFileNameW", 0, ERROR_INSUFFICIENT_BUFFER},
    {"SearchPathW", 0, ERROR_FILE_NOT_FOUND, 1}, {"CreateProcessW", FALSE, ERROR_FILE_NOT_FOUND, 1, "process handle"},
    {"CloseHandle", 0, 0, -1, nullptr, 0, "process handle"}, {"InitCommonControlsEx", FALSE},
    {"PropertySheetW", -1}, {"page-window"}, {"CreateDialogParamW", 0, ERROR_OUTOFMEMORY, 1},
    {"CreateWindowExW", 0, ERROR_OUTOFMEMORY, 1}, {"RegisterClassW"}, {"SetWindowsHookExW", 0, ERROR_OUTOFMEMORY, 0},
    {"TB_INSERTBUTTONW", FALSE}, {"TVM_INSERTITEMW"}, {"LB_ADDSTRING", LB_ERRSPACE},
    {"ImageList_LoadImageW", 0, ERROR_OUTOFMEMORY, -1, "image list"},
    {"ImageList_Destroy", 0, 0, -1, nullptr, 0, "image list"}, {"LoadStringW", 0, ERROR_RESOURCE_NAME_NOT_FOUND, 1},
    {"MessageBoxW", 0, ERROR_OUTOFMEMORY, 1}, {"GetDC", 0, ERROR_OUTOFMEMORY, -1, "DC"},
    {"ReleaseDC", 0, 0, -1, nullptr, 1, "DC"}, {"BeginPaint", 0, ERROR_OUTOFMEMORY, -1, "paint DC"},
    {"EndPaint", 0, 0, -1, nullptr, 1, "paint DC"}, {"CreateFontIndirectW", 0, ERROR_OUTOFMEMORY, -1, "GDI object"},
    {"CreatePen", 0, ERROR_OUTOFMEMORY, -1, "GDI object"}, {"DeleteObject", 0, 0, -1, nullptr, 0, "GDI object"},
    {"SendMessageW"}, {"new"}};
constexpr int kSiteCount = int(std::size(kSites));
constexpr int SiteId(std::string_view name) {
    for (int i = 0; i < kSiteCount; ++i) if (kSites[i].name == name) return i;
    return kSiteCount;
}

struct State {
    bool armed = false;
    int site = -1, n = 0, counts[kSiteCount] = {};
    std::string context;
    std::map<std::string, std::set<ULONG_PTR>> live;  // by kind
} g;
bool g_bBusy = false;  // inside the bookkeeping: its own allocations are not the program's

std::string Narrow(const wchar_t* text) {
    if (IS_INTRESOURCE(text)) return std::to_string(UINT_PTR(text));
    std::string s;
    for (; *text; ++text) s += *text < 128 ? char(*text) : '?';
    return s;
}
template <class T>
std::string Text(T arg) {
    if constexpr (std::is_convertible_v<T, const wchar_t*>) return arg ? Narrow(arg) : "";
    else if constexpr (std::is_integral_v<T>) return std::to_string(arg);
    else return "";
}

// Counts the call while the program runs (a phase is named); true for the one to fail, whose phase and subject are
// kept.
template <class FAbout = std::string (*)()>
bool Hit(int site, FAbout about = [] { return std::string(); }) {
    if (!g.armed || g_bBusy || g_bHarnessAtWork || !*g_pszPhase || kSites[site].kind != nullptr) return false;
    if (++g.counts[site] != g.n || site != g.site) return false;
    g_bBusy = true;
    g.context = std::string(g_pszPhase) + ":" + about();
    g_bBusy = false;
    return true;
}
void Track(const char* kind, const void* handle, bool made) {
    if (!g.armed || handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    g_bBusy = true;
    if (made) g.live[kind].insert(ULONG_PTR(handle));
    else g.live[kind].erase(ULONG_PTR(handle));
    g_bBusy = false;
}
void Track(const char* kind, const PAINTSTRUCT* ps, bool made) { Track(kind, ps->hdc, made); }  // EndPaint's
void Track(const char* kind, const PROCESS_INFORMATION* pi, bool made) {  // none where the call failed
    if (pi != nullptr) for (HANDLE handle : {pi->hProcess, pi->hThread}) Track(kind, handle, made);
}

// The fake of a call: it fails the chosen occurrence, or calls the real one and notes what it made or released.
template <int Id, class F>
struct Fake;
template <int Id, class R, class... A>
struct Fake<Id, R(WINAPI*)(A...)> {
    static inline R(WINAPI* real)(A...) = nullptr;
    static R WINAPI Call(A... args) {
        static constexpr Site site = kSites[Id];
        const std::tuple<A...> all{args...};
        if (Hit(Id, [&] {
                if constexpr (site.about >= 0) return Text(std::get<site.about>(all));
                else return std::string();
            })) {
            ::SetLastError(site.error);
            return R(site.fail);
        }
        if constexpr (site.released >= 0) Track(site.kind, std::get<site.released>(all), false);
        R result = real(args...);
        if constexpr (site.makes != nullptr && std::is_pointer_v<R>) Track(site.makes, result, true);
        else if constexpr (site.makes != nullptr)
            Track(site.makes, result ? std::get<sizeof...(A) - 1>(all) : nullptr, true);
        return result;
    }
};

// Each import-table entry of the test program for the named function, replaced by fake; real keeps the old (null if
// none).
template <class F>
void Patch(const char* name, F fake, F& real) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const LONG offset = reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + offset);
    const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name != 0; ++imp) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                std::strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name, name) != 0)
                continue;
            DWORD old = 0;
            ::VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
            real = reinterpret_cast<F>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(fake);
            ::VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
        }
    }
}
#define FAKE(name) Fake<SiteId(#name), decltype(&::name)>
#define PATCH(name) Patch(#name, &FAKE(name)::Call, FAKE(name)::real);
// The store reaches the registry through its own table, filled before the import table is patched.
#define WRAP(field, name)            \
    {                                \
        FAKE(name)::real = reg.field; \
        reg.field = &FAKE(name)::Call; \
    }

// Three messages whose failures the program meets: a bar's button, a tree item, a list entry.
decltype(&::SendMessageW) g_realSendMessage = nullptr;
LRESULT WINAPI SendMessageFake(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == TB_INSERTBUTTONW && Hit(SiteId("TB_INSERTBUTTONW"))) return FALSE;
    const auto* pItem = reinterpret_cast<const TVINSERTSTRUCTW*>(l);
    if (m == TVM_INSERTITEMW && Hit(SiteId("TVM_INSERTITEMW"), [&] { return Narrow(pItem->item.pszText); })) return 0;
    if (m == LB_ADDSTRING && Hit(SiteId("LB_ADDSTRING"), [&] { return Narrow(LPCWSTR(l)); })) return LB_ERRSPACE;
    return g_realSendMessage(h, m, w, l);
}
// Pages are made by comctl32 itself, out of reach of the import table: refused as they are made.
HHOOK g_hPageHook = nullptr;
LRESULT CALLBACK PageHook(int code, WPARAM w, LPARAM l) {
    const auto* cbt = reinterpret_cast<const CBT_CREATEWNDW*>(l);
    const LPCWSTR cls = code == HCBT_CREATEWND ? cbt->lpcs->lpszClass : nullptr;
    const bool bDialog =
        cls != nullptr && (IS_INTRESOURCE(cls) ? LOWORD(UINT_PTR(cls)) == 0x8002 : !lstrcmpW(cls, L"#32770"));
    if (bDialog && (cbt->lpcs->style & WS_CHILD) && Hit(SiteId("page-window"))) return 1;
    return ::CallNextHookEx(g_hPageHook, code, w, l);
}

bool Install() {
    CRegistryEntryPoints& reg = GetRegistryEntryPoints();
    WRAP(m_pfnCreateKeyEx, RegCreateKeyExW) WRAP(m_pfnOpenKeyEx, RegOpenKeyExW)
    WRAP(m_pfnQueryValueEx, RegQueryValueExW) WRAP(m_pfnSetValueEx, RegSetValueExW) WRAP(m_pfnEnumValue, RegEnumValueW)
    WRAP(m_pfnDeleteValue, RegDeleteValueW) WRAP(m_pfnFlushKey, RegFlushKey) WRAP(m_pfnCloseKey, RegCloseKey)
    PATCH(FindFirstFileW) PATCH(FindNextFileW) PATCH(FindClose) PATCH(GetFileAttributesW) PATCH(CopyFileW)
    PATCH(GetModuleFileNameW) PATCH(SearchPathW) PATCH(CreateProcessW) PATCH(CloseHandle) PATCH(PropertySheetW)
    PATCH(InitCommonControlsEx)
    PATCH(ImageList_LoadImageW) PATCH(ImageList_Destroy) PATCH(CreateDialogParamW) PATCH(CreateWindowExW)
    PATCH(RegisterClassW) PATCH(SetWindowsHookExW) PATCH(MessageBoxW) PATCH(LoadStringW) PATCH(GetDC) PATCH(ReleaseDC)
    PATCH(BeginPaint) PATCH(EndPaint) PATCH(CreateFontIndirectW) PATCH(CreatePen) PATCH(DeleteObject)
    Patch("SendMessageW", &SendMessageFake, g_realSendMessage);
    g_hPageHook = ::SetWindowsHookExW(WH_CBT, &PageHook, nullptr, ::GetCurrentThreadId());
    return true;
}

}  // namespace

void Arm(const std::string& site, int n) {
    [[maybe_unused]] static const bool bInstalled = Install();
    State fresh;
    fresh.live = std::move(g.live);  // what lives on from earlier runs stays counted
    g = std::move(fresh);
    g.site = SiteId(site);
    g.n = n;
    g.armed = true;
}
void Disarm() { g.armed = false; }
std::map<std::string, int> Counts() {
    std::map<std::string, int> counts;
    for (int i = 0; i < kSiteCount; ++i)
        if (kSites[i].kind == nullptr && i != SiteId("SendMessageW")) counts[kSites[i].name] = g.counts[i];
    return counts;
}
int Count(std::string_view site) { return g.counts[SiteId(site)]; }
std::string FailedContext() { return g.context; }
std::map<std::string, int> Live() {
    std::map<std::string, int> live;
    for (const auto& [kind, handles] : g.live)
        if (!handles.empty()) live[kind] = int(handles.size());
    return live;
}

}  // namespace faults

// The program's own allocations, the chosen one throwing as the heap's failure does; out of line, or gcc sees malloc()
// freed by delete.
[[gnu::noinline]] void* operator new(size_t size) {
    if (faults::Hit(faults::SiteId("new"))) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, size_t) noexcept { std::free(p); }
