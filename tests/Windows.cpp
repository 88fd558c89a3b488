#include "tests/Windows.h"

#include <utility>

#include "tests/ToolkitHost.h"

namespace {
const wchar_t kNormal[] = L"Tahoma 13 400", kBold[] = L"Tahoma 13 700", kExceptions[] = L"Screen Saver Exceptions";
}  // namespace

// The dialogs as their templates place them at 96 dpi (a dialog unit 1.5 pixels across, 1.625 down), but for the
// picker's tree, below the header and across the whole width, and the Skins list reaching to 14 and 10 pixels from the
// page's edge and bar (twice the margins on a screen this wide). The sheet and its pages: the platform's sizes. F1 at
// the sheet's own tabs asks for the page in front: Skins, as the walk reaches it.
const std::vector<WindowFacts> kWindows = {
    {"Game", L"Game", kSheet, "options_game", kSheet, L"Cancel:2", {1010}, {{L"Static", kNormal}, {L"box", kNormal}},
     {{0, {0, 0, 310, 271}}, {1010, {8, 33, 223, 49}}}},
    {"Screen Saver", L"Screen Saver", kSheet, "options_screensaver", kSheet, L"Cancel:2",
     {100, 1000, 1005, 1006, 1008, 1009, 1014},
     {{L"Static", kNormal}, {L"SysDateTimePick32", kNormal}, {L"box", kNormal}, {L"push", kBold}},
     {{0, {0, 0, 310, 271}}, {100, {29, 63, 142, 103}}}},
    {"Skins", L"Skins", kSheet, "options_skins", kSheet, L"Cancel:2", {1053},
     {{L"ListBox", kNormal}, {L"Static", kNormal}}, {{0, {0, 0, 310, 271}}, {1053, {8, 62, 296, 235}}}},
    {"sheet", kSheet, L"", "options_skins", L"", L"", {}, {}, {{0, {0, 0, 330, 341}}}},
    {"exceptions", kExceptions, kExceptions, "options_exceptions", kSheet, L"Cancel:2", {1053},
     {{L"ListBox", kNormal}, {L"Static", kNormal}, {L"push", kBold}},
     {{0, {0, 0, 231, 271}}, {1053, {11, 62, 143, 166}}, {1054, {149, 89, 223, 109}}, {1055, {149, 62, 223, 82}}}},
    {"picker", L"Select File", L"Select Program", "options_add_exception", kExceptions, L"", {1057},
     {{L"SysTreeView32", kNormal}, {L"push", kBold}},
     {{0, {0, 0, 209, 263}}, {1057, {-1, 24, 210, 223}}, {IDOK, {38, 232, 113, 252}},
      {IDCANCEL, {126, 232, 201, 252}}}},
    {"advanced", L"Advanced Options", L"Screen Saver Options", "options_screensaver_ext", kSheet, L"Cancel:2",
     {1007, 1012, 1013, 1014, 1016}, {{L"Static", kNormal}, {L"box", kNormal}, {L"push", kBold}},
     {{0, {0, 0, 239, 271}}}},
};

namespace {

// A control's kind: a push button, a box (check box), a group, or its class.
std::wstring KindOf(HWND h) {
    const LONG type = ::GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
    if (ClassOf(h) != L"Button") return ClassOf(h);
    return type <= BS_DEFPUSHBUTTON ? L"push" : type == BS_GROUPBOX ? L"group" : L"box";
}

// A command bar's buttons as "text:command", a space between.
std::wstring BarOf(HWND hBar) {
    std::wstring shown;
    for (int i = 0; hBar && i < ::SendMessageW(hBar, TB_BUTTONCOUNT, 0, 0); ++i) {
        TBBUTTON button{};
        wchar_t text[64] = {};
        ::SendMessageW(hBar, TB_GETBUTTON, i, LPARAM(&button));
        ::SendMessageW(hBar, TB_GETBUTTONTEXTW, button.idCommand, LPARAM(text));
        shown += (i ? L" " : L"") + std::wstring(text) + L":" + std::to_wstring(button.idCommand);
    }
    return shown;
}

// A page's caption is its tab's text.
std::wstring CaptionOf(HWND hWnd) {
    const HWND hSheet = ::GetParent(hWnd);
    if (!hSheet || !(::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD)) return TextOf(hWnd);
    wchar_t text[64] = {};
    TCITEMW item{TCIF_TEXT, 0, 0, text, 64, 0, 0};
    TabCtrl_GetItem(PropSheet_GetTabControl(hSheet), PropSheet_HwndToIndex(hSheet, hWnd), &item);
    return text;
}

}  // namespace

void ExpectFacts(const WindowFacts& row, HWND hWnd) {
    SCOPED_TRACE(row.window);
    HDC hdc = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(hdc, LOGPIXELSX);
    ::ReleaseDC(nullptr, hdc);
    const HWND hOwner = ::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
    EXPECT_EQ(CaptionOf(hWnd), row.caption);
    EXPECT_TRUE(row.header.empty() || ShowsHeader(hWnd, row.header.c_str()))
        << "no header " << testing::PrintToString(row.header);
    EXPECT_EQ(hOwner ? TextOf(hOwner) : L"", row.owner);
    EXPECT_EQ(BarOf(::GetDlgItem(hWnd, kCommandBar)), row.bar);
    std::set<int> hooked;
    std::map<std::wstring, std::wstring> fonts;
    for (HWND h = ::GetWindow(hWnd, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (Hooked(h)) hooked.insert(::GetDlgCtrlID(h));
        // The toolkit's fonts on its hosts' controls, those that keep a font (a slider keeps none).
        if (row.header.empty() || ::GetDlgCtrlID(h) == kCommandBar || !::SendMessageW(h, WM_GETFONT, 0, 0)) continue;
        const auto [face, height, weight] = FontOf(h);
        fonts[KindOf(h)] = face + L" " + std::to_wstring(height * 96 / dpi) + L" " + std::to_wstring(weight);
    }
    EXPECT_EQ(hooked, row.hooked);
    EXPECT_EQ(fonts, row.fonts);
}

std::vector<std::string> TableTopics() {
    std::vector<std::string> topics;
    for (const WindowFacts& row : kWindows) topics.push_back("file:QovBrumvale.htm#" + row.help);
    return topics;
}

std::vector<std::string> WalkWindows(const std::function<void(const WindowFacts&, HWND)>& step) {
    const auto row = [](const char* window) {
        const auto named = [&](const WindowFacts& r) { return r.window == std::string(window); };
        return *std::find_if(kWindows.begin(), kWindows.end(), named);
    };
    std::vector<std::string> topics;
    bool bAsked = false;
    // F1 goes through the queue: the topic it asked for is read as the next step begins.
    const auto collect = [&] {
        if (!std::exchange(bAsked, false)) return;
        const auto lines = HelpRecorded(topics.size() + 1);
        topics.push_back(lines.size() > topics.size() ? lines.back() : "");
    };
    const auto see = [&](const char* window, HWND (*of)(HWND)) {
        return [&, window, of](HWND h) {
            step(row(window), of(h));
            PressKeys({VK_F1});
            bAsked = true;
        };
    };
    HWND (*self)(HWND) = [](HWND h) { return h; };
    const auto tapTab = [](HWND hSheet, int nTab) {
        const HWND hTabs = PropSheet_GetTabControl(hSheet);
        RECT rc{};
        TabCtrl_GetItemRect(hTabs, nTab, &rc);
        POINT middle{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ::ClientToScreen(hTabs, &middle);
        TapAt(middle);
    };
    ClearHelpRecord();
    std::vector<ProgramStep> steps = {
        {"game", kSheet, see("Game", Page)},
        {"screen saver", kSheet, [](HWND h) { ::SendMessageW(h, PSM_SETCURSEL, 1, 0); }},
        {"screen saver", kSheet, see("Screen Saver", Page)},
        {"skins", kSheet, [&](HWND h) { tapTab(h, 2); }},
        {"skins", kSheet, see("Skins", Page)},
        {"sheet", kSheet, [](HWND h) { ::SetFocus(PropSheet_GetTabControl(h)); }},
        {"sheet", kSheet, see("sheet", self)},
        {"exceptions", kSheet, [](HWND h) {
             ::SendMessageW(h, PSM_SETCURSEL, 1, 0);
             Press(Page(h), kExceptionsButton);
         }},
        {"exceptions", kExceptions, see("exceptions", self)},
        {"picker", kExceptions, [](HWND h) { Press(h, kAddButton); }},
        {"picker", L"Select File", see("picker", self)},
        {"picker", L"Select File", [](HWND h) { Press(h, IDCANCEL); }},
        {"exceptions", kExceptions, [](HWND h) { Press(h, IDCANCEL); }},
        {"advanced", kSheet, [](HWND h) { Press(Page(h), kMoreOptionsButton); }},
        {"advanced", L"Advanced Options", see("advanced", self)},
        {"advanced", L"Advanced Options", [](HWND h) { Press(h, IDCANCEL); }},
        {"end", kSheet, [](HWND h) { ::SendMessageW(h, WM_CLOSE, 0, 0); }},
    };
    for (ProgramStep& s : steps) {
        s.act = [&collect, act = s.act](HWND h) {
            collect();
            act(h);
        };
    }
    RunProgram(steps);
    return topics;
}
