// The registry key class on the real (Wine) registry, in a scratch key.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

#include "settings/RegistryKey.h"
#include "tests/RegistryFixture.h"

namespace {

// Flush and close as they reach the registry, in order, with their handles. The key class
// goes through its entry-point table only, so these see every call.
using Calls = std::vector<std::pair<std::string, HKEY>>;
Calls g_calls;
RegistryEntryPoints g_real;
LSTATUS WINAPI RecordFlush(HKEY hKey) { return g_calls.emplace_back("flush", hKey), g_real.pfnFlushKey(hKey); }
LSTATUS WINAPI RecordClose(HKEY hKey) { return g_calls.emplace_back("close", hKey), g_real.pfnCloseKey(hKey); }

using Values = std::map<std::wstring, RegValue>;

class RegistryKeyTest : public testing::Test {
protected:
    void SetUp() override {
        g_real = GetRegistryEntryPoints();
        GetRegistryEntryPoints().pfnFlushKey = RecordFlush;
        GetRegistryEntryPoints().pfnCloseKey = RecordClose;
        GetRegistryEntryPoints().pfnSetValueEx = SetValueExactly;  // a text's missing null shows
    }
    void TearDown() override {
        GetRegistryEntryPoints() = g_real;
        DeleteKey(m_path);
    }
    // The scratch key holding exactly these values and no calls seen yet; its snapshot.
    Snapshot Reset(const Values& values) {
        DeleteKey(m_path);
        for (const auto& [name, value] : values) SetValue(m_path, name, value);
        g_calls.clear();
        return Snapshot::Of(m_path);
    }
    // The key closed once, flushed just before if at all, both on the same handle.
    static Calls ClosedOnce(bool flushed) {
        HKEY hKey = g_calls.empty() ? nullptr : g_calls.back().second;
        return flushed ? Calls{{"flush", hKey}, {"close", hKey}} : Calls{{"close", hKey}};
    }
    CRegistryKey Key(BOOL bFlushOnClose = TRUE) { return {HKEY_LOCAL_MACHINE, m_path.c_str(), TRUE, bFlushOnClose}; }

    const std::wstring m_path = std::wstring(kVendorKeyPath) + L"\\Tests\\RegistryKey";
};

// Reads give the stored value or the default, write back only a default, and never flush.
TEST_F(RegistryKeyTest, ReadsGiveTheStoredValueOrTheDefault) {
    const std::wstring text5000(5000, L'q');
    const std::tuple<const char*, std::optional<RegValue>, std::optional<DWORD>, std::wstring, std::optional<RegValue>>
        cases[] = {
            // name, "value" stored, ReadDword's default (none: ReadString), result, written back
            {"absent: default written back", std::nullopt, 6, L"6", Dword(6)},
            {"absent, no default: nothing written", std::nullopt, REGKEY_NO_DEFAULT, L"57072", std::nullopt},
            {"stored DWORD", Dword(57072), 1, L"57072", std::nullopt},
            {"8 bytes count as absent", RegValue{REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8}}, 7, L"7", Dword(7)},
            {"2 bytes fill the low bytes", RegValue{REG_BINARY, {0x34, 0x12}}, 7, L"4660", std::nullopt},
            {"text absent", std::nullopt, std::nullopt, L"", std::nullopt},
            {"text", Sz(L"\\Skins\\Blue\\"), std::nullopt, L"\\Skins\\Blue\\", std::nullopt},
            {"text of 5000 characters", Sz(text5000), std::nullopt, text5000, std::nullopt},
            {"text of no bytes", RegValue{REG_SZ, {}}, std::nullopt, L"", std::nullopt},
            {"text without its null", RegValue{REG_SZ, {'a', 0, 'b', 0, 'c', 0}}, std::nullopt, L"abc", std::nullopt},
            {"text cut at a null", RegValue{REG_SZ, {'a', 0, 0, 0, 'c', 0, 0, 0}}, std::nullopt, L"a", std::nullopt},
        };
    for (const auto& [name, stored, dwDefault, result, writtenBack] : cases) {
        SCOPED_TRACE(name);
        Values values{{L"other", Sz(L"keep me")}, {L"", Sz(L"unnamed")}};
        if (stored) values[L"value"] = *stored;
        Snapshot expected = Reset(values);
        if (writtenBack) expected.Set(m_path, L"value", *writtenBack);
        EXPECT_EQ(dwDefault ? std::to_wstring(Key().ReadDword(L"value", *dwDefault)) : Key().ReadString(L"value"),
                  result);
        EXPECT_EQ(Snapshot::Of(m_path), expected);
        EXPECT_EQ(g_calls, ClosedOnce(false));
    }
    EXPECT_EQ(Key().ReadString(nullptr), L"");  // a null name is no name for the unnamed value
}

// A write that is tried marks the key, whatever the registry says; one refused for a null
// argument does not. Only a marked key asked to flush is flushed, once, as it closes.
TEST_F(RegistryKeyTest, WritesStoreExactTypesAndSizesAndFlushOnClose) {
    const std::wstring tooLong(20000, L'n');  // no value name can be that long
    const wchar_t* refused = tooLong.c_str();
    using Write = std::function<BOOL(CRegistryKey&)>;
    const std::tuple<const char*, BOOL, Write, BOOL, std::optional<RegValue>, bool> cases[] = {
        // name, flush asked for, the write, its result, what "value" then holds, flushed
        {"text, with its null", TRUE, [](auto& k) { return k.WriteString(L"value", L"abc"); }, TRUE, Sz(L"abc"), true},
        {"DWORD", TRUE, [](auto& k) { return k.WriteDword(L"value", 0x12345678); }, TRUE, Dword(0x12345678), true},
        {"flush not asked for", FALSE, [](auto& k) { return k.WriteDword(L"value", 4); }, TRUE, Dword(4), false},
        {"null name, text", TRUE, [](auto& k) { return k.WriteString(nullptr, L"x"); }, FALSE, std::nullopt, false},
        {"null text", TRUE, [](auto& k) { return k.WriteString(L"value", nullptr); }, FALSE, std::nullopt, false},
        {"null name, DWORD", TRUE, [](auto& k) { return k.WriteDword(nullptr, 1); }, FALSE, std::nullopt, false},
        {"refused, text", TRUE, [&](auto& k) { return k.WriteString(refused, L"x"); }, FALSE, std::nullopt, true},
        {"refused, DWORD", TRUE, [&](auto& k) { return k.WriteDword(refused, 1); }, FALSE, std::nullopt, true},
    };
    for (const auto& [name, flushAsked, write, result, stored, flushed] : cases) {
        SCOPED_TRACE(name);
        Snapshot expected = Reset({{L"other", Sz(L"keep me")}, {L"value", Dword(3)}});
        if (stored) expected.Set(m_path, L"value", *stored);
        {
            CRegistryKey key = Key(flushAsked);
            EXPECT_EQ(write(key), result);
            EXPECT_TRUE(g_calls.empty());  // nothing before the key closes
        }
        EXPECT_EQ(Snapshot::Of(m_path), expected);
        EXPECT_EQ(g_calls, ClosedOnce(flushed));
    }
}

// Names are compared sorted: the order the registry lists them in is its own.
TEST_F(RegistryKeyTest, EnumerationVisitsEachNameOnceAlsoWhileDeletingAndStopsAtATooLongName) {
    const std::vector<std::wstring> five{L"  0", L"  1", L"  2", L"  3", L" 10"};
    const Values fiveValues{{L"  0", Sz(L"a.exe")}, {L"  1", Sz(L"b.exe")}, {L"  2", Sz(L"c.exe")},
                            {L"  3", Sz(L"d.exe")}, {L" 10", Dword(1)}};
    const std::wstring name259 = L"b" + std::wstring(258, L'x'), name260 = name259 + L"x";
    auto between = [](const std::wstring& name) { return Values{{L"a", Sz(L"")}, {name, Sz(L"")}, {L"c", Sz(L"")}}; };
    const std::tuple<const char*, Values, std::vector<std::wstring>, std::vector<std::wstring>> cases[] = {
        // name, values, those deleted on the way, those visited
        {"all deleted", fiveValues, five, five},
        {"every other one deleted", fiveValues, {L"  1", L"  3"}, five},
        {"name of 259 characters fits", between(name259), {}, {L"a", name259, L"c"}},
        {"name of 260 characters ends it", between(name260), {}, {L"a"}},
    };
    for (const auto& [what, values, deleted, visitedExpected] : cases) {
        SCOPED_TRACE(what);
        Snapshot expected = Reset(values);
        for (const std::wstring& name : deleted) expected.Remove(m_path, name);
        std::vector<std::wstring> visited;
        {
            CRegistryKey key = Key();
            std::wstring name;
            for (BOOL ok = key.EnumFirstValue(name); ok; ok = key.EnumNextValue(name)) {
                visited.push_back(name);
                if (std::count(deleted.begin(), deleted.end(), name)) {
                    EXPECT_TRUE(key.DeleteValue(name.c_str()));
                }
                ASSERT_LE(visited.size(), values.size());
            }
            EXPECT_EQ(key.EnumFirstValue(name), deleted.size() < values.size());  // starts over
        }
        std::sort(visited.begin(), visited.end());
        EXPECT_EQ(visited, visitedExpected);
        EXPECT_EQ(Snapshot::Of(m_path), expected);
        EXPECT_EQ(g_calls, ClosedOnce(false));  // deletions alone do not flush
    }
}

TEST_F(RegistryKeyTest, KeyThatCannotBeOpenedGivesDefaultsAndRefusesWritesTillCreated) {
    const std::wstring missing = m_path + L"\\Missing";
    const Snapshot before = Reset({{L"other", Sz(L"keep me")}, {L"value", Dword(3)}});
    const std::tuple<HKEY, std::wstring, BOOL> cases[] = {
        {reinterpret_cast<HKEY>(0x12345678), m_path, TRUE},  // no such root
        {HKEY_LOCAL_MACHINE, missing, FALSE},                 // missing, and not to be created
    };
    for (const auto& [hRoot, path, create] : cases) {
        {
            CRegistryKey key(hRoot, path.c_str(), create, TRUE);
            EXPECT_EQ(key.ReadDword(L"value", 6), 6u);
            EXPECT_EQ(key.ReadString(L"other"), L"");
            EXPECT_FALSE(key.WriteDword(L"value", 1));
            EXPECT_FALSE(key.WriteString(L"other", L"x"));
            std::wstring name;
            EXPECT_FALSE(key.EnumFirstValue(name));
            EXPECT_FALSE(key.DeleteValue(L"value"));
        }
        EXPECT_TRUE(g_calls.empty());                   // no key: nothing to flush or close
        EXPECT_EQ(Snapshot::Of(m_path), before);        // the missing key not made either
    }
    // With the create flag the missing key appears, and opening without it then finds it.
    EXPECT_TRUE(CRegistryKey(HKEY_LOCAL_MACHINE, missing.c_str(), TRUE, TRUE).WriteDword(L"value", 1));
    EXPECT_EQ(CRegistryKey(HKEY_LOCAL_MACHINE, missing.c_str(), FALSE, TRUE).ReadDword(L"value", 6), 1u);
}

}  // namespace
