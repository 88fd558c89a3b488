#include "tests/RegistryFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "settings/Schema.h"

RegValue Dword(DWORD value) {
    const BYTE* p = reinterpret_cast<const BYTE*>(&value);
    return {REG_DWORD, {p, p + sizeof value}};
}

RegValue Sz(const std::wstring& text) {
    const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
    return {REG_SZ, {p, p + (text.size() + 1) * sizeof(wchar_t)}};
}

// Sized from each key itself, so names and data of any length are read whole.
Snapshot Snapshot::Of(const std::wstring& path) {
    Snapshot snapshot;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return snapshot;
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0;
    ::RegQueryInfoKeyW(hKey, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxName, &maxData,
                       nullptr, nullptr);
    std::vector<wchar_t> name(std::max(maxName, maxSubKey) + 1);
    std::map<std::wstring, RegValue>& key = snapshot.m_keys[path];  // an empty key is listed too
    for (DWORD i = 0; i < values; ++i) {
        DWORD cchName = static_cast<DWORD>(name.size()), cbData = maxData;
        RegValue value{REG_NONE, std::vector<BYTE>(maxData)};
        EXPECT_EQ(::RegEnumValueW(hKey, i, name.data(), &cchName, nullptr, &value.type, value.bytes.data(), &cbData),
                  ERROR_SUCCESS);
        value.bytes.resize(cbData);
        key[std::wstring(name.data(), cchName)] = value;
    }
    for (DWORD i = 0; i < subKeys; ++i) {
        DWORD cchName = static_cast<DWORD>(name.size());
        if (::RegEnumKeyExW(hKey, i, name.data(), &cchName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            snapshot.m_keys.merge(Of(path + L"\\" + std::wstring(name.data(), cchName)).m_keys);
    }
    ::RegCloseKey(hKey);
    return snapshot;
}

void PrintTo(const Snapshot& snapshot, std::ostream* os) {
    for (const auto& [path, values] : snapshot.m_keys) {
        *os << "\n" << testing::PrintToString(path);
        for (const auto& [name, value] : values) {
            *os << "\n  " << testing::PrintToString(name) << " type " << value.type << ":" << std::hex;
            for (BYTE b : value.bytes) *os << ' ' << static_cast<int>(b);
            *os << std::dec;
        }
    }
}

void DeleteKey(const std::wstring& path) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
}

LSTATUS WINAPI SetValueExactly(HKEY hKey, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD cbData) {
    std::vector<BYTE> padded(data, data + (data ? cbData : 0));
    padded.insert(padded.end(), {0xFF, 0xFF});  // no null
    return ::RegSetValueExW(hKey, name, reserved, type, padded.data(), cbData);
}

void SetValue(const std::wstring& path, const std::wstring& name, const RegValue& value) {
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    const DWORD cbData = static_cast<DWORD>(value.bytes.size());
    EXPECT_EQ(SetValueExactly(hKey, name.c_str(), 0, value.type, value.bytes.data(), cbData), ERROR_SUCCESS);
    ::RegCloseKey(hKey);
}

void RemoveValue(const std::wstring& path, const std::wstring& name) {
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, path.c_str(), name.c_str());
}

void ClearProgramKeys() {
    for (const wchar_t* path : {kSettingsKeyPath, kExceptionsKeyPath, kGameKeyPath}) DeleteKey(path);
}

void SeedNeighbours() {
    // Not in the exceptions key: every value there is an excepted program.
    for (const std::wstring path : {kSettingsKeyPath, kGameKeyPath, L"SOFTWARE\\Varnholt\\Neighbour"})
        SetValue(path, L"neighbour", Sz(L"keep me"));
    SetValue(kGameKeyPath, kValueSoundVol, Dword(30));  // the game's own
}
