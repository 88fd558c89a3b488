// The exceptions dialog over the real registry, the picker answered from inside its loop.
#include "dialogs/ExceptionsDialog.h"
#include "dialogs/SelectFileDialog.h"
#include "tests/Harness.h"

namespace {

using Strings = std::vector<std::wstring>;

// A user's step: "+path"/"-path", Add with the picker's OK/Cancel, that path left as its result; "sX", entry X chosen;
// "r", a tap on Remove (which takes the focus).
void Perform(CExceptionsDialog& dialog, const std::wstring& op) {
    if (op[0] == L's') return Choose(dialog.GetDlgItem(kExceptionList), op.c_str() + 1);
    if (op[0] == L'r') ::SetFocus(dialog.GetDlgItem(kRemoveButton));
    else OnNextIdle([&] {
        g_strPickedPath = op.substr(1);
        static_cast<CDialog*>(CWnd::FromHandlePermanent(AfxGetModalWnd()))->EndDialog(op[0] == L'+' ? IDOK : IDCANCEL);
    });
    Press(dialog.m_hWnd, op[0] == L'r' ? kRemoveButton : kAddButton);
}

}  // namespace

// The list as loaded and edited; the key rewritten whole on OK as "  0", "  1", ... in its order; either Cancel leaves
// it.
TEST(ExceptionsDialog, EditsTheListAndRewritesTheKeyOnOk) {
    const int kBarCancel = 0;
    struct Row { const char* what; Changes stored; Strings ops; Strings list; int sel; int end; };
    const Changes kABC{{L"  0", Sz(L"a")}, {L"  1", Sz(L"b")}, {L"  2", Sz(L"c")}};
    std::vector<Row> rows = {
        {"loaded: nothing selected", {{L"  0", Sz(L"b.exe")}, {L"  1", Sz(L"a.exe")}}, {}, {L"a.exe", L"b.exe"}, -1,
         IDOK},
        {"a program's name", {}, {L"+\\Program Files\\Tools\\calc.exe"}, {L"calc.exe"}, 0, IDOK},
        {"duplicate; item 0 selected, then kept", {{L"  0", Sz(L"b.exe")}}, {L"+\\b.exe", L"+\\a.exe"},
         {L"a.exe", L"b.exe", L"b.exe"}, 1, IDOK},
        {"remove the last", kABC, {L"sc", L"r"}, {L"a", L"b"}, 1, IDOK},
        {"remove a middle one", kABC, {L"sb", L"r"}, {L"a", L"c"}, 1, IDOK},
        {"remove the only one", {{L"  0", Sz(L"a")}}, {L"sa", L"r", L"r"}, {}, -1, IDOK},
        {"the bar's Cancel", {{L"  0", Sz(L"a.exe")}}, {L"+\\b.exe"}, {L"a.exe", L"b.exe"}, 0, kBarCancel},
        // A folder's backslash dropped, a name without a folder kept, an empty name and the picker's Cancel ignored.
        {"picked paths", {}, {L"+\\Tools\\calc.exe\\", L"+notes.exe", L"+\\", L"+", L"-\\x.exe"},
         {L"calc.exe", L"notes.exe"}, 0, IDOK},
    };
    // Thousands of values, other types, a text without its null, the longest name the store reads,
    // and a name too long for it, which ends its enumeration (the name sorts last) and so stays.
    Row many{"5,000 values and odd ones", {{L"q dword", Dword('A')}, {L"q nonull", RegValue{REG_SZ, {'z', 0, 'z', 0}}},
             {std::wstring(259, L'n'), Sz(L"B")}}, {}, {L"A", L"B"}, -1, IDOK};
    for (int i = 0; i < 5000; ++i)
        many.stored.emplace(L"p" + std::to_wstring(i), Sz(many.list.emplace_back(L"p" + std::to_wstring(10000 + i))));
    many.list.push_back(L"zz");
    many.stored.emplace(std::wstring(300, L'~'), Sz(L"out of reach"));
    rows.push_back(many);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Snapshot expected = ResetProgramKeys(kExceptionsKey, row.stored);
        if (row.end == IDOK) {
            std::erase_if(expected.keys[kExceptionsKey], [](const auto& value) { return value.first.size() < 260; });
            for (int i = 0; i < int(row.list.size()); ++i)
                if (wchar_t name[8]; swprintf(name, 8, L"%3d", i) > 0)
                    expected.Set(kExceptionsKey, name, Sz(row.list[i]));
        }
        CWatchedRegistry watched;  // a key is flushed once written, as it closes
        CExceptionsDialog dialog;
        RunModal(dialog, {[&] {
            for (const std::wstring& op : row.ops) Perform(dialog, op);
            HWND hList = dialog.GetDlgItem(kExceptionList);  // with the focus; Remove enabled with a selection
            const BOOL bRemove = ::IsWindowEnabled(dialog.GetDlgItem(kRemoveButton));
            EXPECT_EQ(std::tuple(Entries(hList), ::SendMessageW(hList, LB_GETCURSEL, 0, 0), bRemove, ::GetFocus()),
                      std::tuple(row.list, LRESULT(row.sel), BOOL(row.sel >= 0), hList));
            if (row.end == kBarCancel) TapBarButton(dialog.GetCommandBar().m_hWnd);
            else dialog.SendMessage(WM_COMMAND, row.end);
        }});
        EXPECT_EQ(std::pair(Snapshot::Of(kVendorKeyPath), watched.s_nFlushes),
                  std::pair(expected, int(row.end == IDOK && !row.list.empty())));
    }
}
