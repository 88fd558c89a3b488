// The page templates as the program's resources hold them: ids, classes, texts, rectangles
// and styles of every control.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

struct Item {
    int id;
    std::wstring cls;
    std::wstring text;
    short x, y, cx, cy;
    DWORD style;
};

struct Template {
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::wstring title, font;
    WORD pointSize = 0;
    std::vector<Item> items;
};

// Reads a name-or-ordinal field; ordinals of the predefined classes become their names.
std::wstring ReadSzOrOrd(const WORD*& p) {
    if (*p == 0xFFFF) {
        WORD ord = p[1];
        p += 2;
        static const wchar_t* const names[] = {L"BUTTON", L"EDIT", L"STATIC", L"LISTBOX", L"SCROLLBAR", L"COMBOBOX"};
        return ord >= 0x80 && ord <= 0x85 ? names[ord - 0x80] : L"#" + std::to_wstring(ord);
    }
    std::wstring s(reinterpret_cast<const wchar_t*>(p));
    p += s.size() + 1;
    return s;
}

Template LoadTemplate(UINT id) {
    Template t;
    HRSRC res = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (res == nullptr) return t;
    const auto* dlg = static_cast<const DLGTEMPLATE*>(::LockResource(::LoadResource(nullptr, res)));
    t.style = dlg->style;
    t.cx = dlg->cx;
    t.cy = dlg->cy;
    const WORD* p = reinterpret_cast<const WORD*>(dlg + 1);
    ReadSzOrOrd(p);  // menu
    ReadSzOrOrd(p);  // class
    t.title = ReadSzOrOrd(p);
    if (dlg->style & DS_SETFONT) {
        t.pointSize = *p++;
        t.font = ReadSzOrOrd(p);
    }
    for (int i = 0; i < dlg->cdit; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~UINT_PTR(3));
        const auto* it = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        Item item{static_cast<short>(it->id), L"", L"", it->x, it->y, it->cx, it->cy, it->style};
        p = reinterpret_cast<const WORD*>(it + 1);
        item.cls = ReadSzOrOrd(p);
        item.text = ReadSzOrOrd(p);
        WORD extra = *p++;
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
        t.items.push_back(item);
    }
    return t;
}

struct Expected {
    UINT id;
    const wchar_t* title;
    short cx, cy;
    std::vector<Item> items;
};

const Expected kPages[] = {
    {IDD_GAME_PAGE, L"Exceptions", 155, 167,
     {
         {1010, L"BUTTON", L"Enable phone edition support", 5, 20, 143, 10, 0x50012003},
         {-1, L"STATIC",
          L"When this option is enabled the game will shut down on any popup window like \"incoming call\", "
          L"\"incoming message\", etc.",
          17, 33, 131, 34, 0x50020000},
         {-1, L"STATIC",
          L"If you experinence problems with game shutting down and have no phone edition device or GSM module "
          L"installed, please disable this option.",
          17, 67, 131, 35, 0x50020000},
     }},
    {IDD_SKINS_PAGE, L"Skins", 155, 167,
     {
         {1053, L"LISTBOX", L"", 5, 38, 150, 96, 0x50A10101},
         {-1, L"STATIC", L"To customize the screen saver clock, tap one of the following skins and press OK.", 5, 17,
          150, 19, 0x50020000},
     }},
    {IDD_SCREENSAVER_PAGE, L"Settings", 151, 167,
     {
         {1000, L"BUTTON", L"Enable", 5, 20, 37, 10, 0x50010003},
         {1008, L"STATIC", L"Timeout:", 14, 31, 29, 8, 0x50020000},
         {1058, L"STATIC", L"", 14, 39, 55, 12, 0x40820000},
         {1005, L"BUTTON", L"Start only on AC Power", 14, 55, 91, 10, 0x50010003},
         {1006, L"BUTTON", L"Do not start if a full screen program is active", 14, 66, 125, 18, 0x50012003},
         {1009, L"BUTTON", L"Exceptions...", 88, 39, 58, 13, 0x50010000},
         {1014, L"BUTTON", L"More Options...", 14, 87, 76, 13, 0x50010000},
     }},
};

}  // namespace

TEST(Templates, PagesAreExactlyAsDesigned) {
    for (const Expected& e : kPages) {
        SCOPED_TRACE(testing::Message() << "template " << e.id);
        Template t = LoadTemplate(e.id);
        EXPECT_EQ(t.style, 0x80C800C0u);
        EXPECT_EQ(t.title, e.title);
        EXPECT_EQ(t.cx, e.cx);
        EXPECT_EQ(t.cy, e.cy);
        EXPECT_EQ(t.font, L"Tahoma");
        EXPECT_EQ(t.pointSize, 8);
        ASSERT_EQ(t.items.size(), e.items.size());
        for (size_t i = 0; i < t.items.size(); ++i) {
            const Item& a = t.items[i];
            const Item& b = e.items[i];
            SCOPED_TRACE(testing::Message() << "control " << i << " id " << b.id);
            EXPECT_EQ(a.id, b.id);
            EXPECT_EQ(_wcsicmp(a.cls.c_str(), b.cls.c_str()), 0);
            EXPECT_EQ(a.text, b.text);
            EXPECT_EQ(a.x, b.x);
            EXPECT_EQ(a.y, b.y);
            EXPECT_EQ(a.cx, b.cx);
            EXPECT_EQ(a.cy, b.cy);
            EXPECT_EQ(a.style, b.style) << std::hex << a.style;
        }
    }
}
