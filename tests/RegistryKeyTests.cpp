// The registry key class on the real (Wine) registry, in a scratch key.
#include <gtest/gtest.h>

#include <functional>
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
const std::wstring kPath = std::wstring(kVendorKeyPath) + L"\\Tests\\RegistryKey";

using Call = std::function<std::wstring(CRegistryKey&)>;
Call Read(DWORD dwDefault) { return [=](auto& k) { return std::to_wstring(k.ReadDword(L"v", dwDefault)); }; }
std::wstring ReadText(CRegistryKey& k) { return k.ReadString(L"v"); }
Call Write(const wchar_t* n, const wchar_t* t) { return [=](auto& k) { return std::to_wstring(k.WriteString(n, t)); }; }
// The names visited, sorted as the registry's order is its own. A look at the first two names
// comes first: EnumFirstValue starts again from the first value.
std::wstring Enumerate(CRegistryKey& k) {
    std::multiset<std::wstring> visited;
    std::wstring name, seen;
    k.EnumFirstValue(name), k.EnumNextValue(name);
    for (BOOL ok = k.EnumFirstValue(name); ok && visited.size() < 9; ok = k.EnumNextValue(name)) visited.insert(name);
    for (const std::wstring& each : visited) seen += each + L"|";
    return seen;
}

// The whole key compared after each call. Only a write flushes, when asked, once, as the key closes.
// The program opens its keys making them when missing, and gives names and texts always.
TEST(RegistryKey, ReadsWritesAndEnumerationOnTheWholeKey) {
    const std::wstring name259(259, L'n');  // before "other"; a longer one is the exceptions dialog's
    const std::tuple<const char*, Values, Call, std::wstring, Changes, bool> cases[] = {
        // what, values besides "other", the call, its result, what it changed, flushed when asked
        {"absent: default written back", {}, Read(6), L"6", {{L"v", Dword(6)}}, false},
        {"text cut at a null", {{L"v", {REG_SZ, {'a', 0, 0, 0, 'c', 0, 0, 0}}}}, ReadText, L"a", {}, false},
        {"text written with its null", {}, Write(L"v", L"abc"), L"1", {{L"v", Sz(L"abc")}}, true},
        {"name of 259 characters fits", {{name259, {}}}, Enumerate, name259 + L"|other|", {}, false},
    };
    RegistryEntryPoints& reg = GetRegistryEntryPoints();
    g_real = reg;
    reg.pfnFlushKey = RecordFlush, reg.pfnCloseKey = RecordClose;
    reg.pfnSetValueEx = SetValueExactly;  // a text's missing null shows
    for (BOOL askFlush : {TRUE, FALSE}) for (const auto& [what, values, call, result, changes, flushed] : cases) {
        SCOPED_TRACE(testing::Message() << what << (askFlush ? "" : ", flush not asked for"));
        DeleteTree(kPath);
        for (const auto& [name, value] : values) SetValue(kPath, name, value);
        SetValue(kPath, L"other", Sz(L"keep me"));  // a neighbour
        g_calls.clear();
        Snapshot expected = Snapshot::Of(kPath);
        for (const auto& [name, v] : changes) v ? expected.Set(kPath, name, *v) : expected.Remove(kPath, name);
        {
            CRegistryKey key(HKEY_LOCAL_MACHINE, kPath.c_str(), TRUE, askFlush);
            EXPECT_EQ(call(key), result);
            EXPECT_TRUE(g_calls.empty());  // nothing before the key closes
        }
        EXPECT_EQ(Snapshot::Of(kPath), expected);
        EXPECT_EQ(g_calls, flushed && askFlush ? "flush close " : "close ");  // closed once, flushed just before
    }
    reg = g_real;
    DeleteTree(kPath);
}

}  // namespace
