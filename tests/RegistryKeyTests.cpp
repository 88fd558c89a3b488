// The registry key class on the real (Wine) registry, each test in a scratch key of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "settings/RegistryKey.h"

namespace {

// One stored value: its type and its bytes, exactly.
struct Stored {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const Stored&) const = default;
};
using Values = std::map<std::wstring, Stored>;

void PrintTo(const Stored& s, std::ostream* os) {
    *os << "{type " << s.type << ", " << s.data.size() << " bytes:";
    for (BYTE b : s.data) *os << ' ' << static_cast<int>(b);
    *os << '}';
}

Stored Dword(DWORD v) {
    const BYTE* p = reinterpret_cast<const BYTE*>(&v);
    return {REG_DWORD, std::vector<BYTE>(p, p + sizeof v)};
}
// The first cb bytes of the text's characters: with cb below the full size, no terminating null.
Stored Chars(DWORD type, const std::wstring& text, size_t cb) {
    const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
    return {type, std::vector<BYTE>(p, p + cb)};
}
Stored Sz(const std::wstring& text) { return Chars(REG_SZ, text, (text.size() + 1) * sizeof(wchar_t)); }
Stored Binary(std::vector<BYTE> bytes) { return {REG_BINARY, std::move(bytes)}; }

// What reaches the registry's flush and close, in order, with the handle each got. The key
// class reaches the registry only through its entry-point table, so these see every call.
struct Call {
    std::string what;
    HKEY hKey;
};
std::vector<Call> g_calls;
RegistryEntryPoints g_realRegistry;

LSTATUS WINAPI RecordFlush(HKEY hKey) {
    g_calls.push_back({"flush", hKey});
    return g_realRegistry.pfnFlushKey(hKey);
}
LSTATUS WINAPI RecordClose(HKEY hKey) {
    g_calls.push_back({"close", hKey});
    return g_realRegistry.pfnCloseKey(hKey);
}

class RegistryKeyTest : public testing::Test {
protected:
    void SetUp() override {
        std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        m_path = L"SOFTWARE\\Varnholt\\Tests\\RegistryKey\\" + std::wstring(test.begin(), test.end());
        Reset({});
        g_realRegistry = GetRegistryEntryPoints();
        GetRegistryEntryPoints().pfnFlushKey = RecordFlush;
        GetRegistryEntryPoints().pfnCloseKey = RecordClose;
    }
    void TearDown() override {
        GetRegistryEntryPoints() = g_realRegistry;
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_path.c_str());
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, m_path.c_str());
    }

    // The scratch key holding exactly these values, and no calls seen yet.
    void Reset(const Values& values) {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_path.c_str());
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, m_path.c_str());
        HKEY hKey = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &hKey, nullptr),
                  ERROR_SUCCESS);
        for (const auto& [name, s] : values) {
            // The registry counts in a null that directly follows a text; bytes that are no null
            // behind the data keep a text stored without one as given.
            std::vector<BYTE> padded = s.data;
            padded.insert(padded.end(), {0xFF, 0xFF, 0xFF});
            ASSERT_EQ(::RegSetValueExW(hKey, name.c_str(), 0, s.type, padded.data(), static_cast<DWORD>(s.data.size())),
                      ERROR_SUCCESS);
        }
        ::RegCloseKey(hKey);
        ASSERT_EQ(State(), values);  // stored as given: no terminator added, none dropped
        g_calls.clear();
    }
    // Every value of the scratch key, read past the key class.
    Values State() {
        Values values;
        HKEY hKey = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return values;
        std::vector<wchar_t> name(32768);
        for (DWORD i = 0;; ++i) {
            DWORD cchName = static_cast<DWORD>(name.size()), type = 0, cb = 0;
            if (::RegEnumValueW(hKey, i, name.data(), &cchName, nullptr, &type, nullptr, &cb) != ERROR_SUCCESS) break;
            Stored s{type, std::vector<BYTE>(cb)};
            cchName = static_cast<DWORD>(name.size());
            EXPECT_EQ(::RegEnumValueW(hKey, i, name.data(), &cchName, nullptr, &type, s.data.data(), &cb),
                      ERROR_SUCCESS);
            values[std::wstring(name.data(), cchName)] = s;
        }
        ::RegCloseKey(hKey);
        return values;
    }
    // The key was closed once, flushed just before if at all, and both on the same handle.
    void ExpectClosedOnce(bool flushed) {
        ASSERT_EQ(g_calls.size(), flushed ? 2u : 1u);
        EXPECT_EQ(g_calls.front().what, flushed ? "flush" : "close");
        EXPECT_EQ(g_calls.back().what, "close");
        EXPECT_EQ(g_calls.front().hKey, g_calls.back().hKey);
    }

    std::wstring m_path;
};

const Stored kNeighbour = Sz(L"keep me");

// Reads give the stored value or the default, write back only a default, and never flush.
TEST_F(RegistryKeyTest, ReadsGiveTheStoredValueOrTheDefault) {
    const std::wstring long5000(5000, L'q'), name20000(20000, L'n');
    struct Case {
        const char* name;
        std::optional<Stored> stored;
        std::optional<DWORD> dwDefault;  // ReadDword with this default; none: ReadString
        std::wstring expected;           // ReadDword's result in decimal
        std::optional<Stored> writtenBack = std::nullopt;
        const wchar_t* valueName = L"value";
    } cases[] = {
        {"absent, default written back", std::nullopt, 6, L"6", Dword(6)},
        {"absent, no default: nothing written", std::nullopt, REGKEY_NO_DEFAULT, L"57072"},
        {"57072 stored, no default: same as absent", Dword(57072), REGKEY_NO_DEFAULT, L"57072"},
        {"57072 stored, with a default", Dword(57072), 1, L"57072"},
        {"8-byte binary counts as absent, default written over it", Binary({1, 2, 3, 4, 5, 6, 7, 8}), 7, L"7", Dword(7)},
        {"2-byte value fills the low bytes", Binary({0x34, 0x12}), 7, std::to_wstring(0x1234)},
        {"one-character REG_SZ fits in four bytes", Sz(L"a"), 7, std::to_wstring(0x61)},
        {"DWORD under a name the registry cannot hold", std::nullopt, 6, L"6", std::nullopt, name20000.c_str()},
        {"text absent", std::nullopt, std::nullopt, L""},
        {"plain text", Sz(L"\\Skins\\Blue\\"), std::nullopt, L"\\Skins\\Blue\\"},
        {"text of no bytes at all", Chars(REG_SZ, L"", 0), std::nullopt, L""},
        {"text stored without terminating null", Chars(REG_SZ, L"abcd", 6), std::nullopt, L"abc"},
        {"text after an embedded null is cut", Chars(REG_SZ, std::wstring(L"ab\0cd", 5), 12), std::nullopt, L"ab"},
        {"a DWORD read as text", Dword(0x00410042), std::nullopt, L"BA"},
        {"text of 5000 characters", Sz(long5000), std::nullopt, long5000},
        {"text under a name the registry cannot hold", std::nullopt, std::nullopt, L"", std::nullopt, name20000.c_str()},
        {"text with a null name, though the key has an unnamed value", std::nullopt, std::nullopt, L"", std::nullopt,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Values before{{L"other", kNeighbour}, {L"", Sz(L"unnamed")}};
        if (c.stored) before[L"value"] = *c.stored;
        Values after = before;
        if (c.writtenBack) after[L"value"] = *c.writtenBack;
        Reset(before);
        {
            CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, TRUE);
            EXPECT_EQ(c.dwDefault ? std::to_wstring(key.ReadDword(c.valueName, *c.dwDefault)) : key.ReadString(c.valueName),
                      c.expected);
        }
        EXPECT_EQ(State(), after);
        ExpectClosedOnce(false);
    }
}

// A write that is attempted marks the key, whatever the registry then says; one refused for a
// null argument does not. Only a marked key asked to flush is flushed, once, as it closes.
TEST_F(RegistryKeyTest, WritesStoreExactTypesAndSizesAndFlushOnClose) {
    const std::wstring name20000(20000, L'n');
    const Values before{{L"other", kNeighbour}, {L"value", Dword(3)}};
    struct Case {
        const char* name;
        BOOL flushFlag;
        std::function<BOOL(CRegistryKey&)> write;
        BOOL result;
        Values changes;  // values added or replaced
        bool flushed;
    } cases[] = {
        // Three characters take eight bytes: six for the text and two for its null.
        {"three characters", TRUE, [](CRegistryKey& k) { return k.WriteString(L"new", L"abc"); }, TRUE,
         {{L"new", {REG_SZ, {'a', 0, 'b', 0, 'c', 0, 0, 0}}}}, true},
        {"DWORD, little-endian", TRUE, [](CRegistryKey& k) { return k.WriteDword(L"new", 0x12345678); }, TRUE,
         {{L"new", {REG_DWORD, {0x78, 0x56, 0x34, 0x12}}}}, true},
        {"DWORD, flush not asked for", FALSE, [](CRegistryKey& k) { return k.WriteDword(L"value", 4); }, TRUE,
         {{L"value", Dword(4)}}, false},
        {"null name, text", TRUE, [](CRegistryKey& k) { return k.WriteString(nullptr, L"x"); }, FALSE, {}, false},
        {"null text", TRUE, [](CRegistryKey& k) { return k.WriteString(L"value", nullptr); }, FALSE, {}, false},
        {"null name, DWORD", TRUE, [](CRegistryKey& k) { return k.WriteDword(nullptr, 1); }, FALSE, {}, false},
        {"name the registry refuses, text", TRUE, [&](CRegistryKey& k) { return k.WriteString(name20000.c_str(), L"x"); },
         FALSE, {}, true},
        {"name the registry refuses, DWORD", TRUE, [&](CRegistryKey& k) { return k.WriteDword(name20000.c_str(), 1); },
         FALSE, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset(before);
        {
            CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, c.flushFlag);
            EXPECT_EQ(c.write(key), c.result);
            EXPECT_TRUE(g_calls.empty());  // nothing before the key closes
        }
        Values after = before;
        for (const auto& [name, s] : c.changes) after[name] = s;
        EXPECT_EQ(State(), after);
        ExpectClosedOnce(c.flushed);
    }
}

// The names visited are compared in name order, the order every registry lists them in.
TEST_F(RegistryKeyTest, EnumerationVisitsEachNameOnceAlsoWhileDeletingAndStopsAtATooLongName) {
    const std::vector<std::wstring> five{L"  0", L"  1", L"  2", L"  3", L" 10"};
    const Values fiveValues{{L"  0", Sz(L"a.exe")}, {L"  1", Sz(L"b.exe")}, {L"  2", Sz(L"c.exe")},
                            {L"  3", Sz(L"d.exe")}, {L" 10", Dword(1)}};
    const std::wstring name259 = L"b" + std::wstring(258, L'x'), name260 = L"b" + std::wstring(259, L'x');
    struct Case {
        const char* name;
        Values values;
        std::vector<std::wstring> deleted, visited;
    } cases[] = {
        {"all deleted", fiveValues, five, five},
        {"every other one deleted", fiveValues, {L"  1", L"  3"}, five},
        {"name of 259 characters fits", {{L"a", Sz(L"")}, {name259, Sz(L"")}, {L"c", Sz(L"")}}, {}, {L"a", name259, L"c"}},
        {"name of 260 characters ends it", {{L"a", Sz(L"")}, {name260, Sz(L"")}, {L"c", Sz(L"")}}, {}, {L"a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset(c.values);
        std::vector<std::wstring> visited;
        {
            CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, TRUE);
            std::wstring name;
            for (BOOL ok = key.EnumFirstValue(name); ok; ok = key.EnumNextValue(name)) {
                visited.push_back(name);
                if (std::find(c.deleted.begin(), c.deleted.end(), name) != c.deleted.end()) {
                    EXPECT_TRUE(key.DeleteValue(name.c_str()));
                }
                ASSERT_LE(visited.size(), c.values.size());
            }
        }
        std::sort(visited.begin(), visited.end());
        EXPECT_EQ(visited, c.visited);
        Values after = c.values;
        for (const std::wstring& name : c.deleted) after.erase(name);
        EXPECT_EQ(State(), after);
        ExpectClosedOnce(false);  // deletions alone do not flush
    }
}

TEST_F(RegistryKeyTest, KeyThatCannotBeOpenedGivesDefaultsAndRefusesWritesTillCreated) {
    const std::wstring tooLong = m_path + L"\\" + std::wstring(300, L'k');
    const std::wstring missing = m_path + L"\\Missing";
    const Values before{{L"other", kNeighbour}, {L"value", Dword(3)}};
    struct Case {
        const char* name;
        HKEY hRoot;
        std::wstring path;
        BOOL create;
    } cases[] = {
        {"invalid root", reinterpret_cast<HKEY>(0x12345678), m_path, TRUE},
        {"key name too long", HKEY_LOCAL_MACHINE, tooLong, TRUE},
        {"missing key, open only", HKEY_LOCAL_MACHINE, missing, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset(before);
        {
            CRegistryKey key(c.hRoot, c.path.c_str(), c.create, TRUE);
            EXPECT_EQ(key.ReadDword(L"value", 6), 6u);
            EXPECT_EQ(key.ReadString(L"other"), L"");
            EXPECT_FALSE(key.WriteDword(L"value", 1));
            EXPECT_FALSE(key.WriteString(L"other", L"x"));
            std::wstring name;
            EXPECT_FALSE(key.EnumFirstValue(name));
            EXPECT_FALSE(key.DeleteValue(L"value"));
        }
        EXPECT_TRUE(g_calls.empty());  // no key: nothing to flush or close
        EXPECT_EQ(State(), before);
    }
    HKEY hKey = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, missing.c_str(), 0, KEY_READ, &hKey), ERROR_SUCCESS);
    // With the create flag the missing key appears, and opening without it then finds it.
    {
        CRegistryKey key(HKEY_LOCAL_MACHINE, missing.c_str(), TRUE, TRUE);
        EXPECT_TRUE(key.WriteDword(L"value", 1));
    }
    CRegistryKey key(HKEY_LOCAL_MACHINE, missing.c_str(), FALSE, TRUE);
    EXPECT_EQ(key.ReadDword(L"value", 6), 1u);
}

}  // namespace
