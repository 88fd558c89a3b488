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

Values Snapshot(HKEY hKey) {
    Values values;
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
    return values;
}

bool KeyExists(HKEY hRoot, const std::wstring& path) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(hRoot, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    ::RegCloseKey(hKey);
    return true;
}

// What reaches the registry's flush and close, in order, with the handle each got.
struct Call {
    const char* what;
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

std::wstring Repeat(wchar_t c, size_t n) { return std::wstring(n, c); }

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
    Values State() {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return {};
        Values values = Snapshot(hKey);
        ::RegCloseKey(hKey);
        return values;
    }
    int Count(const char* what) const {
        return static_cast<int>(std::count_if(g_calls.begin(), g_calls.end(),
                                              [&](const Call& c) { return std::string(c.what) == what; }));
    }
    // The key was closed once, flushed first if at all, and both on the same handle.
    void ExpectClosedOnce(int flushes) {
        ASSERT_EQ(static_cast<int>(g_calls.size()), flushes + 1);
        EXPECT_EQ(Count("flush"), flushes);
        EXPECT_STREQ(g_calls.back().what, "close");
        EXPECT_EQ(g_calls.front().hKey, g_calls.back().hKey);
    }

    std::wstring m_path;
};

const Stored kNeighbour = Sz(L"keep me");
const Stored kEightBytes = Binary({1, 2, 3, 4, 5, 6, 7, 8});

TEST_F(RegistryKeyTest, ReadDwordTakesFourStoredBytesOrFallsBackToTheDefault) {
    struct Case {
        const char* name;
        std::optional<Stored> before;
        DWORD dwDefault;
        DWORD expected;
        std::optional<Stored> after;
    } cases[] = {
        {"absent, default written back", std::nullopt, 6, 6, Dword(6)},
        {"absent, no default: nothing written", std::nullopt, REGKEY_NO_DEFAULT, 0xDEF0, std::nullopt},
        {"57072 stored, no default: same as absent", Dword(57072), REGKEY_NO_DEFAULT, 0xDEF0, Dword(57072)},
        {"57072 stored, with a default", Dword(57072), 1, 57072, Dword(57072)},
        {"zero is a value", Dword(0), 6, 0, Dword(0)},
        {"8-byte binary counts as absent, default written over it", kEightBytes, 7, 7, Dword(7)},
        {"8-byte binary, no default: kept", kEightBytes, REGKEY_NO_DEFAULT, 0xDEF0, kEightBytes},
        {"2-byte value fills the low bytes", Binary({0x34, 0x12}), 7, 0x1234, Binary({0x34, 0x12})},
        {"empty value reads as 0", Binary({}), 7, 0, Binary({})},
        {"one-character REG_SZ fits in four bytes", Sz(L"a"), 7, 0x61, Sz(L"a")},
        {"two-character REG_SZ does not fit", Sz(L"ab"), 9, 9, Dword(9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Values before{{L"other", kNeighbour}}, after{{L"other", kNeighbour}};
        if (c.before) before[L"value"] = *c.before;
        if (c.after) after[L"value"] = *c.after;
        Reset(before);
        {
            CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, TRUE);
            EXPECT_EQ(key.ReadDword(L"value", c.dwDefault), c.expected);
        }
        EXPECT_EQ(State(), after);
        ExpectClosedOnce(0);  // a default written back is no reason to flush
    }
}

TEST_F(RegistryKeyTest, ReadStringReturnsTheTextUpToItsFirstNullAndNeverWrites) {
    const std::wstring long5000 = Repeat(L'q', 5000);
    struct Case {
        const char* name;
        std::optional<Stored> stored;
        std::wstring expected;
    } cases[] = {
        {"absent", std::nullopt, L""},
        {"plain text", Sz(L"\\Skins\\Blue\\"), L"\\Skins\\Blue\\"},
        {"empty text", Sz(L""), L""},
        {"no bytes at all", Chars(REG_SZ, L"", 0), L""},
        {"stored without terminating null", Chars(REG_SZ, L"abcd", 6), L"abc"},
        {"odd byte count keeps the low half of the last character", Chars(REG_SZ, L"abcd", 5), L"abc"},
        {"text after an embedded null is cut", Chars(REG_SZ, std::wstring(L"ab\0cd", 5), 12), L"ab"},
        {"several strings: the first", Chars(REG_MULTI_SZ, std::wstring(L"one\0two\0", 8), 18), L"one"},
        {"a DWORD read as text", Dword(0x00410042), L"BA"},
        {"5000 characters", Sz(long5000), long5000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Values before{{L"other", kNeighbour}};
        if (c.stored) before[L"value"] = *c.stored;
        Reset(before);
        {
            CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, TRUE);
            EXPECT_EQ(key.ReadString(L"value"), c.expected);
        }
        EXPECT_EQ(State(), before);
        ExpectClosedOnce(0);
    }
}

TEST_F(RegistryKeyTest, WritesStoreExactTypesAndSizesAndRefuseBadArguments) {
    const std::wstring name300 = Repeat(L'n', 300), name20000 = Repeat(L'n', 20000);
    const Values before{{L"other", kNeighbour}, {L"value", Dword(3)}};
    struct Case {
        const char* name;
        std::function<BOOL(CRegistryKey&)> write;
        BOOL result;
        Values changes;  // values added or replaced
    } cases[] = {
        // Three characters take eight bytes: six for the text and two for its null.
        {"three characters", [](CRegistryKey& k) { return k.WriteString(L"new", L"abc"); }, TRUE,
         {{L"new", {REG_SZ, {'a', 0, 'b', 0, 'c', 0, 0, 0}}}}},
        {"empty text keeps its null", [](CRegistryKey& k) { return k.WriteString(L"new", L""); }, TRUE,
         {{L"new", Chars(REG_SZ, L"", 2)}}},
        {"DWORD, little-endian", [](CRegistryKey& k) { return k.WriteDword(L"new", 0x12345678); }, TRUE,
         {{L"new", {REG_DWORD, {0x78, 0x56, 0x34, 0x12}}}}},
        {"text replaces a DWORD", [](CRegistryKey& k) { return k.WriteString(L"value", L"x"); }, TRUE,
         {{L"value", Sz(L"x")}}},
        {"DWORD replaces a text", [](CRegistryKey& k) { return k.WriteDword(L"other", 57072); }, TRUE,
         {{L"other", Dword(57072)}}},
        {"name longer than the enumeration buffer", [&](CRegistryKey& k) { return k.WriteDword(name300.c_str(), 1); },
         TRUE, {{name300, Dword(1)}}},
        {"text of 5000 characters", [](CRegistryKey& k) { return k.WriteString(L"new", Repeat(L'z', 5000).c_str()); },
         TRUE, {{L"new", Sz(Repeat(L'z', 5000))}}},
        {"null name, text", [](CRegistryKey& k) { return k.WriteString(nullptr, L"x"); }, FALSE, {}},
        {"null text", [](CRegistryKey& k) { return k.WriteString(L"value", nullptr); }, FALSE, {}},
        {"null name, DWORD", [](CRegistryKey& k) { return k.WriteDword(nullptr, 1); }, FALSE, {}},
        {"name the registry refuses, text", [&](CRegistryKey& k) { return k.WriteString(name20000.c_str(), L"x"); },
         FALSE, {}},
        {"name the registry refuses, DWORD", [&](CRegistryKey& k) { return k.WriteDword(name20000.c_str(), 1); },
         FALSE, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset(before);
        {
            CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, TRUE);
            EXPECT_EQ(c.write(key), c.result);
        }
        Values after = before;
        for (const auto& [name, s] : c.changes) after[name] = s;
        EXPECT_EQ(State(), after);
    }
}

TEST_F(RegistryKeyTest, ReadsSurviveNamesTheRegistryCannotHold) {
    const std::wstring name20000 = Repeat(L'n', 20000);
    const Values before{{L"other", kNeighbour}};
    Reset(before);
    {
        CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, TRUE);
        EXPECT_EQ(key.ReadDword(name20000.c_str(), 6), 6u);
        EXPECT_EQ(key.ReadDword(name20000.c_str(), REGKEY_NO_DEFAULT), 0xDEF0u);
        EXPECT_EQ(key.ReadString(name20000.c_str()), L"");
        EXPECT_FALSE(key.DeleteValue(name20000.c_str()));
    }
    EXPECT_EQ(State(), before);
    ExpectClosedOnce(0);
}

TEST_F(RegistryKeyTest, NullNamesReachOnlyTheUnnamedValue) {
    const Values before{{L"other", kNeighbour}};
    Reset(before);
    {
        CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, TRUE);
        EXPECT_EQ(key.ReadString(nullptr), L"");
        EXPECT_EQ(key.ReadDword(nullptr, REGKEY_NO_DEFAULT), 0xDEF0u);
    }
    EXPECT_EQ(State(), before);
    // A null name is the registry's way of naming the key's unnamed value.
    Reset({{L"other", kNeighbour}, {L"", Dword(4)}});
    {
        CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, TRUE);
        EXPECT_EQ(key.ReadDword(nullptr, 6), 4u);
        EXPECT_TRUE(key.DeleteValue(nullptr));
    }
    EXPECT_EQ(State(), before);
    ExpectClosedOnce(0);
}

TEST_F(RegistryKeyTest, EnumerationVisitsEveryNameOnceAndSurvivesDeletion) {
    // Which values are deleted on the way, by name.
    struct Case {
        const char* name;
        std::vector<std::wstring> deleted;
    } cases[] = {
        {"none deleted", {}},
        {"all deleted", {L"  0", L"  1", L"  2", L"  3", L" 10"}},
        {"first and last deleted", {L"  0", L" 10"}},
        {"every other one deleted", {L"  1", L"  3"}},
    };
    const Values full{{L"  0", Sz(L"a.exe")}, {L"  1", Sz(L"b.exe")}, {L"  2", Sz(L"c.exe")},
                      {L"  3", Sz(L"d.exe")}, {L" 10", Dword(1)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset(full);
        std::vector<std::wstring> visited;
        {
            CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, TRUE);
            std::wstring name;
            for (BOOL ok = key.EnumFirstValue(name); ok; ok = key.EnumNextValue(name)) {
                visited.push_back(name);
                if (std::find(c.deleted.begin(), c.deleted.end(), name) != c.deleted.end()) {
                    EXPECT_TRUE(key.DeleteValue(name.c_str()));
                }
                ASSERT_LE(visited.size(), full.size());
            }
            EXPECT_FALSE(key.EnumNextValue(name));  // stays at the end
        }
        std::sort(visited.begin(), visited.end());
        EXPECT_EQ(visited, (std::vector<std::wstring>{L"  0", L"  1", L"  2", L"  3", L" 10"}));
        Values after = full;
        for (const std::wstring& name : c.deleted) after.erase(name);
        EXPECT_EQ(State(), after);
        ExpectClosedOnce(0);  // deletions alone do not flush
    }
}

TEST_F(RegistryKeyTest, EnumerationEndsAtANameLongerThanItsBuffer) {
    struct Case {
        size_t length;
        bool fits;
    } cases[] = {{1, true}, {259, true}, {260, false}, {300, false}, {5000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        // Created in name order, so every registry lists them in that order.
        std::wstring longName = L"b" + Repeat(L'x', c.length - 1);
        Reset({});
        HKEY hKey = nullptr;
        ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, KEY_ALL_ACCESS, &hKey), ERROR_SUCCESS);
        for (const std::wstring& name : {std::wstring(L"a"), longName, std::wstring(L"c")})
            ::RegSetValueExW(hKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), 2);
        ::RegCloseKey(hKey);

        std::vector<std::wstring> visited;
        {
            CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, TRUE);
            std::wstring name;
            for (BOOL ok = key.EnumFirstValue(name); ok && visited.size() < 5; ok = key.EnumNextValue(name))
                visited.push_back(name);
        }
        std::vector<std::wstring> expected{L"a"};
        if (c.fits) expected = {L"a", longName, L"c"};
        EXPECT_EQ(visited, expected);
        EXPECT_EQ(State().size(), 3u);
    }
}

TEST_F(RegistryKeyTest, EmptyKeyHasNothingToEnumerate) {
    CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, TRUE);
    std::wstring name = L"stale";
    EXPECT_FALSE(key.EnumFirstValue(name));
    EXPECT_FALSE(key.EnumNextValue(name));
}

TEST_F(RegistryKeyTest, FlushesOnCloseExactlyAfterAWrite) {
    const Values before{{L"present", Dword(1)}, {L"text", Sz(L"t")}};
    const std::wstring name20000 = Repeat(L'n', 20000);
    struct Case {
        const char* name;
        BOOL flushFlag;
        std::function<void(CRegistryKey&)> use;
        int flushes;
    } cases[] = {
        {"nothing done", TRUE, [](CRegistryKey&) {}, 0},
        {"reads", TRUE,
         [](CRegistryKey& k) {
             k.ReadDword(L"present", 6);
             k.ReadDword(L"absent", REGKEY_NO_DEFAULT);
             k.ReadString(L"text");
             k.ReadString(L"absent");
         },
         0},
        {"default written back", TRUE, [](CRegistryKey& k) { k.ReadDword(L"absent", 6); }, 0},
        {"enumeration and deletion", TRUE,
         [](CRegistryKey& k) {
             std::wstring name;
             for (BOOL ok = k.EnumFirstValue(name); ok; ok = k.EnumNextValue(name)) k.DeleteValue(name.c_str());
         },
         0},
        {"writes refused for null arguments", TRUE,
         [](CRegistryKey& k) {
             k.WriteString(nullptr, L"x");
             k.WriteString(L"x", nullptr);
             k.WriteDword(nullptr, 1);
         },
         0},
        {"WriteDword", TRUE, [](CRegistryKey& k) { k.WriteDword(L"present", 2); }, 1},
        {"WriteString", TRUE, [](CRegistryKey& k) { k.WriteString(L"text", L"u"); }, 1},
        {"several writes, one flush", TRUE,
         [](CRegistryKey& k) {
             k.WriteDword(L"present", 2);
             k.WriteString(L"text", L"u");
             k.DeleteValue(L"text");
         },
         1},
        // The key counts as modified once a write is attempted, whatever the registry says.
        {"write the registry refuses", TRUE, [&](CRegistryKey& k) { k.WriteDword(name20000.c_str(), 2); }, 1},
        {"WriteDword, flush not asked for", FALSE, [](CRegistryKey& k) { k.WriteDword(L"present", 2); }, 0},
        {"WriteString, flush not asked for", FALSE, [](CRegistryKey& k) { k.WriteString(L"text", L"u"); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset(before);
        {
            CRegistryKey key(HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, c.flushFlag);
            c.use(key);
            EXPECT_TRUE(g_calls.empty());  // nothing before the key closes
        }
        ExpectClosedOnce(c.flushes);
    }
}

TEST_F(RegistryKeyTest, CreateFlagDecidesWhetherAMissingKeyAppears) {
    const std::wstring deep = m_path + L"\\Deep\\Er";
    {
        CRegistryKey key(HKEY_LOCAL_MACHINE, deep.c_str(), FALSE, TRUE);
        EXPECT_FALSE(key.WriteDword(L"value", 1));
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, deep));
    EXPECT_TRUE(g_calls.empty());
    {
        CRegistryKey key(HKEY_LOCAL_MACHINE, deep.c_str(), TRUE, TRUE);
        EXPECT_TRUE(key.WriteDword(L"value", 1));
    }
    ExpectClosedOnce(1);
    g_calls.clear();
    // Now present: opening without the create flag reads and writes it.
    {
        CRegistryKey key(HKEY_LOCAL_MACHINE, deep.c_str(), FALSE, TRUE);
        EXPECT_EQ(key.ReadDword(L"value", 6), 1u);
        EXPECT_TRUE(key.WriteString(L"text", L"t"));
    }
    ExpectClosedOnce(1);
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, deep.c_str(), 0, KEY_READ, &hKey), ERROR_SUCCESS);
    EXPECT_EQ(Snapshot(hKey), (Values{{L"value", Dword(1)}, {L"text", Sz(L"t")}}));
    ::RegCloseKey(hKey);
}

TEST_F(RegistryKeyTest, KeyThatCannotBeOpenedGivesDefaultsAndRefusesWrites) {
    const std::wstring tooLong = m_path + L"\\" + Repeat(L'k', 300);
    const std::wstring missing = m_path + L"\\Missing";
    const Values before{{L"other", kNeighbour}, {L"value", Dword(3)}};
    struct Case {
        const char* name;
        HKEY hRoot;
        std::wstring path;
        BOOL create;
    } cases[] = {
        {"invalid root, create", reinterpret_cast<HKEY>(0x12345678), m_path, TRUE},
        {"invalid root, open", reinterpret_cast<HKEY>(0x12345678), m_path, FALSE},
        {"key name too long", HKEY_LOCAL_MACHINE, tooLong, TRUE},
        {"missing key, open only", HKEY_LOCAL_MACHINE, missing, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset(before);
        {
            CRegistryKey key(c.hRoot, c.path.c_str(), c.create, TRUE);
            EXPECT_EQ(key.ReadDword(L"value", 6), 6u);
            EXPECT_EQ(key.ReadDword(L"value", REGKEY_NO_DEFAULT), 0xDEF0u);
            EXPECT_EQ(key.ReadString(L"other"), L"");
            EXPECT_FALSE(key.WriteDword(L"value", 1));
            EXPECT_FALSE(key.WriteString(L"other", L"x"));
            std::wstring name;
            EXPECT_FALSE(key.EnumFirstValue(name));
            EXPECT_FALSE(key.EnumNextValue(name));
            EXPECT_FALSE(key.DeleteValue(L"value"));
        }
        EXPECT_TRUE(g_calls.empty());  // no key: nothing to flush or close
        EXPECT_EQ(State(), before);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, tooLong));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, missing));
    }
}

}  // namespace
