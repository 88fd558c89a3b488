// The registry as tests prepare and inspect it, all under HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

// Holds the program's three keys and their neighbours.
inline constexpr const wchar_t kVendorKeyPath[] = L"SOFTWARE\\Varnholt";

// One stored value: its type and its bytes, exactly.
struct RegValue { DWORD type = REG_NONE; std::vector<BYTE> bytes; bool operator==(const RegValue&) const = default; };
RegValue Dword(DWORD value);
RegValue Sz(const std::wstring& text);  // with its terminating null
// Values of one key by name: each set, or with none, removed.
using Changes = std::map<std::wstring, std::optional<RegValue>>;

// Every key of a subtree by path, with each value: after a run, it must equal one taken before, edited as the run
// should.
struct Snapshot {
    static Snapshot Of(const std::wstring& path);
    // The value set, or with none, removed.
    Snapshot& Set(const std::wstring& path, const std::wstring& name, const std::optional<RegValue>& value) {
        if (value) keys[path][name] = *value;
        else keys.at(path).erase(name);
        return *this;
    }
    bool operator==(const Snapshot&) const = default;
    std::map<std::wstring, std::map<std::wstring, RegValue>> keys;  // an empty key is listed too
};
void PrintTo(const RegValue& value, std::ostream* os);
void PrintTo(const Snapshot& snapshot, std::ostream* os);

void DeleteTree(const std::wstring& path);
// RegSetValueExW storing exactly the bytes counted, where the registry would add a text's missing null.
LSTATUS WINAPI SetValueExactly(HKEY hKey, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD cbData);
// Stores exactly the given type and bytes, creating the key when missing; values by key and name.
void SetValue(const std::wstring& path, const std::wstring& name, const RegValue& value);
using Values = std::vector<std::tuple<std::wstring, std::wstring, RegValue>>;
void SetValues(const Values& values);
// While it lives, the store's texts reach the registry exactly as given (SetValueExactly); flushes that succeed
// counted.
struct CWatchedRegistry { CWatchedRegistry(); ~CWatchedRegistry(); static inline int s_nFlushes = 0; };
// Clears the three keys, seeds values in and beside them that nothing may touch, makes the changes; answers the vendor
// key.
Snapshot ResetProgramKeys(const std::wstring& path, const Changes& changes);
