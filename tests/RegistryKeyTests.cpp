// The registry key class on the real (Wine) registry, in a scratch key.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <tuple>

#include "settings/RegistryKey.h"
#include "tests/RegistryFixture.h"

namespace {

// Flushes and closes as they reach the registry, in order.
std::string g_calls;
RegistryEntryPoints g_real;
LSTATUS WINAPI RecordFlush(HKEY hKey) { return g_calls += "flush ", g_real.pfnFlushKey(hKey); }
LSTATUS WINAPI RecordClose(HKEY hKey) { return g_calls += "close ", g_real.pfnCloseKey(hKey); }

using Values = std::map<std::wstring, RegValue>;
const std::wstring kPath = std::wstring(kVendorKeyPath) + L"\\Tests\\RegistryKey", kMissing = kPath + L"\\Missing";

using Call = std::function<std::wstring(CRegistryKey&)>;
Call Read(DWORD dwDefault) { return [=](auto& k) { return std::to_wstring(k.ReadDword(L"v", dwDefault)); }; }
std::wstring ReadText(CRegistryKey& k) { return k.ReadString(L"v"); }
Call Write(const wchar_t* n, const wchar_t* t) { return [=](auto& k) { return std::to_wstring(k.WriteString(n, t)); }; }
Call Write(const wchar_t* n, DWORD value) { return [=](auto& k) { return std::to_wstring(k.WriteDword(n, value)); }; }
// The names visited, sorted as the registry's order is its own; each deleted on the way or none.
// A look at the first two names comes first: EnumFirstValue starts again from the first value.
Call Enumerate(bool deleting) {
    return [=](CRegistryKey& k) {
        std::multiset<std::wstring> visited;
        std::wstring name, seen;
        k.EnumFirstValue(name), k.EnumNextValue(name);
        for (BOOL ok = k.EnumFirstValue(name); ok && visited.size() < 9; ok = k.EnumNextValue(name)) {
            visited.insert(name);
            EXPECT_TRUE(!deleting || k.DeleteValue(name.c_str()));
        }
        for (const std::wstring& each : visited) seen += each + L"|";
        return seen;
    };
}
enum Open { kKey, kNoKey };  // the scratch key, or its missing subkey (not created)

// The whole key compared after each call. Only a write flushes, when asked, once, as the key closes.
TEST(RegistryKey, ReadsWritesAndEnumerationOnTheWholeKey) {
    const std::wstring name259(259, L'n'), name260(260, L'n');  // before "other"
    const std::tuple<const char*, Open, Values, Call, std::wstring, Changes, bool> cases[] = {
        // what, key, values besides "other", the call, its result, what it changed, flushed when asked
        {"absent: default written back", kKey, {}, Read(6), L"6", {{L"v", Dword(6)}}, false},
        {"text cut at a null", kKey, {{L"v", {REG_SZ, {'a', 0, 0, 0, 'c', 0, 0, 0}}}}, ReadText, L"a", {}, false},
        {"text written with its null", kKey, {}, Write(L"v", L"abc"), L"1", {{L"v", Sz(L"abc")}}, true},
        {"null name, text", kKey, {}, Write(nullptr, L"x"), L"0", {}, false},
        {"null text", kKey, {}, Write(L"v", nullptr), L"0", {}, false},
        {"null name, DWORD", kKey, {}, Write(nullptr, 1), L"0", {}, false},
        {"each deleted on the way", kKey, {{L"  0", Sz(L"a")}, {L"  1", {}}}, Enumerate(true), L"  0|  1|other|",
         {{L"  0", {}}, {L"  1", {}}, {L"other", {}}}, false},
        {"name of 259 characters fits", kKey, {{name259, {}}}, Enumerate(false), name259 + L"|other|", {}, false},
        {"name of 260 characters ends it", kKey, {{L"a", {}}, {name260, {}}}, Enumerate(false), L"a|", {}, false},
        {"no key: default, nothing made", kNoKey, {}, Read(6), L"6", {}, false},
        {"no key: write refused", kNoKey, {}, Write(L"v", 1), L"0", {}, false},
    };
    RegistryEntryPoints& reg = GetRegistryEntryPoints();
    g_real = reg;
    reg.pfnFlushKey = RecordFlush, reg.pfnCloseKey = RecordClose;
    reg.pfnSetValueEx = SetValueExactly;  // a text's missing null shows
    for (BOOL askFlush : {TRUE, FALSE}) for (const auto& [what, open, values, call, result, changes, flushed] : cases) {
        SCOPED_TRACE(testing::Message() << what << (askFlush ? "" : ", flush not asked for"));
        DeleteTree(kPath);
        for (const auto& [name, value] : values) SetValue(kPath, name, value);
        SetValue(kPath, L"other", Sz(L"keep me"));  // a neighbour
        g_calls.clear();
        Snapshot expected = Snapshot::Of(kPath);
        const std::wstring& path = open == kKey ? kPath : kMissing;
        for (const auto& [name, v] : changes) v ? expected.Set(path, name, *v) : expected.Remove(path, name);
        {
            CRegistryKey key(HKEY_LOCAL_MACHINE, path.c_str(), open != kNoKey, askFlush);
            EXPECT_EQ(call(key), result);
            EXPECT_TRUE(g_calls.empty());  // nothing before the key closes
        }
        EXPECT_EQ(Snapshot::Of(kPath), expected);
        // Closed once, flushed just before if at all; with no key, neither.
        EXPECT_EQ(g_calls, open == kNoKey ? "" : flushed && askFlush ? "flush close " : "close ");
    }
    reg = g_real;
    DeleteTree(kPath);
}

}  // namespace
