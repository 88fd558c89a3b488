#include "settings/RegistryKey.h"
#include "tests/Harness.h"

// The keys where the game and the device's tools see them: in the 64-bit view, whatever the program's width.
constexpr REGSAM kView = KEY_WOW64_64KEY;

RegValue Dword(DWORD v) { return {REG_DWORD, {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)}}; }
RegValue Sz(const std::wstring& text) {
    const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
    return {REG_SZ, {p, p + (text.size() + 1) * sizeof(wchar_t)}};
}

// Names of any length fit, and data of any size a test stores.
Snapshot Snapshot::Of(const std::wstring& path) {
    Snapshot snapshot;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | kView, &hKey) != ERROR_SUCCESS) return snapshot;
    std::map<std::wstring, RegValue>& key = snapshot.keys[path];
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(1 << 20);
    DWORD cchName = 16384, cbData = 1 << 20, type = 0;
    for (DWORD i = 0; ::RegEnumValueW(hKey, i, name.data(), &cchName, 0, &type, data.data(), &cbData) == 0;
         ++i, cchName = 16384, cbData = 1 << 20)
        key[std::wstring(name.data(), cchName)] = {type, {data.begin(), data.begin() + cbData}};
    cchName = 16384;
    for (DWORD i = 0; ::RegEnumKeyExW(hKey, i, name.data(), &cchName, 0, 0, 0, 0) == 0; ++i, cchName = 16384)
        snapshot.keys.merge(Of(path + L"\\" + std::wstring(name.data(), cchName)).keys);
    ::RegCloseKey(hKey);
    return snapshot;
}

void PrintTo(const RegValue& value, std::ostream* os) {
    *os << "type " << value.type << ":" << std::hex;
    for (BYTE b : value.bytes) *os << ' ' << static_cast<int>(b);
    *os << std::dec;
}

void PrintTo(const Snapshot& snapshot, std::ostream* os) { *os << testing::PrintToString(snapshot.keys); }

void DeleteTree(const std::wstring& path) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS | kView, &hKey) != ERROR_SUCCESS) return;
    ::RegDeleteTreeW(hKey, nullptr);
    ::RegCloseKey(hKey);
    ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), kView, 0);
}

LSTATUS WINAPI SetValueExactly(HKEY hKey, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD cbData) {
    std::vector<BYTE> padded(data, data + (data ? cbData : 0));
    padded.insert(padded.end(), {0xFF, 0xFF});  // no null
    return ::RegSetValueExW(hKey, name, reserved, type, padded.data(), cbData);
}

namespace {
CRegistryEntryPoints g_real;
LSTATUS WINAPI CountFlush(HKEY hKey) {
    const LSTATUS status = g_real.m_pfnFlushKey(hKey);
    CWatchedRegistry::s_nFlushes += status == ERROR_SUCCESS;
    return status;
}
}  // namespace

CWatchedRegistry::CWatchedRegistry() {
    g_real = GetRegistryEntryPoints();
    s_nFlushes = 0;
    GetRegistryEntryPoints().m_pfnFlushKey = CountFlush;
    GetRegistryEntryPoints().m_pfnSetValueEx = SetValueExactly;
}
CWatchedRegistry::~CWatchedRegistry() { GetRegistryEntryPoints() = g_real; }

void SetValue(const std::wstring& path, const std::wstring& name, const RegValue& value) {
    HKEY hKey = nullptr;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | kView, nullptr, &hKey, nullptr);
    EXPECT_EQ(SetValueExactly(hKey, name.c_str(), 0, value.type, value.bytes.data(), DWORD(value.bytes.size())), 0);
    ::RegCloseKey(hKey);
}

void SetValues(const Values& values) { for (const auto& [path, name, value] : values) SetValue(path, name, value); }

Snapshot ResetProgramKeys(const std::wstring& path, const Changes& changes) {
    for (auto key : {kSettingsKey, kExceptionsKey, kGameKey}) DeleteTree(key);
    // Not in the exceptions key: every value there is an excepted program.
    for (const std::wstring key : {kSettingsKey, kGameKey, L"SOFTWARE\\Varnholt\\Neighbour"})
        SetValue(key, L"neighbour", Sz(L"keep me"));
    SetValue(kGameKey, L"sound_vol", Dword(30));  // the game's own
    for (const auto& [name, value] : changes) {
        HKEY hKey = nullptr;
        if (value) {
            SetValue(path, name, *value);
        } else if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE | kView, &hKey) == 0) {
            ::RegDeleteValueW(hKey, name.c_str());
            ::RegCloseKey(hKey);
        }
    }
    return Snapshot::Of(kVendorKeyPath);
}
