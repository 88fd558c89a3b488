// Help run for real: the windows and ShellCreateProcess start the device's PegHelp.exe, which
// records each command line it gets.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Help.h"
#include "app/OptionsSheet.h"
#include "resources/resource.h"
#include "shell/Process.h"
#include "tests/Harness.h"

namespace {

std::wstring ReadText(const std::filesystem::path& path) {  // a UTF-8 file; empty when there is none
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    std::wstring text(bytes.size(), L'\0');
    text.resize(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), text.data(), int(text.size())));
    return text;
}

// The heading of the topic a recorded command line names in the help file installed beside the
// viewer, as "heading|"; the line itself in brackets when it names none.
std::wstring Topic(const std::wstring& recorded) {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring file = ReadText(std::wstring(windows) + L"\\QovBrumvale.htm"), prefix = L"file:QovBrumvale.htm#";
    if (!recorded.starts_with(prefix) || !recorded.ends_with(L"\r\n")) return L"<" + recorded + L">";
    const size_t at = file.find(L"id=\"" + recorded.substr(prefix.size(), recorded.size() - prefix.size() - 2) + L"\">");
    if (at == std::wstring::npos) return L"<" + recorded + L">";
    const size_t from = file.find(L'>', at) + 1;
    return file.substr(from, file.find(L'<', from) - from) + L"|";
}

// The viewer records into the test's own file and signals the test's event when done; the test
// program has told it to open no browser.
struct HelpTest : testing::Test {
    void SetUp() override {
        ::SetEnvironmentVariableW(L"PEGHELP_DONE_EVENT", m_name.c_str());
        ::SetEnvironmentVariableW(L"PEGHELP_LOG", m_record.c_str());
    }
    ~HelpTest() override {
        for (auto name : {L"PEGHELP_DONE_EVENT", L"PEGHELP_LOG"}) ::SetEnvironmentVariableW(name, nullptr);
        ::CloseHandle(m_done);
    }
    std::wstring Recorded() {  // what the viewer started last recorded, once it is done
        std::wstring text = ::WaitForSingleObject(m_done, 30000) ? L"<no viewer ran>" : ReadText(m_record);
        ::DeleteFileW(m_record.c_str());
        return text;
    }
    const std::wstring m_name = L"PegHelp-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring m_record = std::filesystem::temp_directory_path() / (m_name + L".log");
    const HANDLE m_done = ::CreateEventW(nullptr, FALSE, FALSE, m_name.c_str());
};

}  // namespace

// The sheet hands Help to the page in front, as F1 on the tabs does (F1 on a page's control is the
// keystroke test's): each tab, in order, reads as its page's caption and asks for its own topic.
// "Exceptions..." opens its dialog owned by the sheet, "Add..." the picker owned by that dialog,
// "More Options..." its dialog owned by the sheet: each keeps the sheet enabled, as the handheld
// does, and asks for its own topic, one of the installed help file's.
TEST_F(HelpTest, EachPageAndDialogAsksForItsOwnTopicAndDialogsAreOwnedInTurn) {
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    std::vector<HWND> chain;  // each dialog in front, then its owner
    std::wstring pages, dialogs;
    auto help = [&](HWND hWnd) {
        HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, 0, nullptr, 0, {0, 0}};
        EXPECT_EQ(::SendMessageW(hWnd, WM_HELP, 0, LPARAM(&info)), TRUE);
        return Recorded();
    };
    auto inFront = [&] {
        HWND hFront = AfxGetModalWnd();
        chain.insert(chain.end(), {hFront, ::GetWindow(hFront, GW_OWNER)});
        EXPECT_TRUE(::IsWindowEnabled(sheet.m_hWnd));
        dialogs += Topic(help(hFront));
    };
    RunModal(sheet, {[&] {
        HWND hTabs = sheet.GetTabControl();
        for (int tab = 0; tab < TabCtrl_GetItemCount(hTabs); ++tab) {
            if (tab > 0) sheet.SetActivePage(tab);  // the first as the sheet opened
            wchar_t caption[16] = {};
            TCITEMW item{TCIF_TEXT, 0, 0, caption, 16, 0, 0};
            TabCtrl_GetItem(hTabs, TabCtrl_GetCurSel(hTabs), &item);
            pages += caption + (L" " + Topic(help(sheet.m_hWnd)));
        }
        sheet.SetActivePage(1);
    }, [&] {
        OnNextIdle([&] {
            inFront();
            OnNextIdle([&] {
                inFront();
                EXPECT_FALSE(::IsWindowEnabled(chain[0]));  // the exceptions dialog, behind the picker
                ::SendMessageW(AfxGetModalWnd(), WM_COMMAND, IDCANCEL, 0);
            });
            ::SendMessageW(chain[0], WM_COMMAND, IDC_EXC_ADD, 0);
            EXPECT_EQ(::GetActiveWindow(), chain[0]);  // not the sheet, enabled all along
            ::SendMessageW(chain[0], WM_COMMAND, IDCANCEL, 0);
        });
        ::SendMessageW(sheet.m_screenSaverPage.GetDlgItem(IDC_SS_EXCEPTIONS), BM_CLICK, 0, 0);
        OnNextIdle([&] { inFront(), ::SendMessageW(AfxGetModalWnd(), WM_COMMAND, IDCANCEL, 0); });
        ::SendMessageW(sheet.m_screenSaverPage.GetDlgItem(IDC_SS_MORE_OPTIONS), BM_CLICK, 0, 0);
        PressSheetButton(sheet.m_hWnd, PSBTN_CANCEL);
    }});
    EXPECT_EQ(pages, L"Game Game|Screen Saver Screen Saver|Skins Skins|");
    ASSERT_EQ(chain.size(), 6u);
    EXPECT_EQ(std::vector({chain[1], chain[3], chain[5]}), std::vector({sheet.m_hWnd, chain[0], sheet.m_hWnd}));
    EXPECT_EQ(dialogs, L"Screen Saver Exceptions|Select Program|Screen Saver Options|");
}

// The handheld passes the arguments alone; the viewer must see exactly those after its own
// name. With process information the two handles are the caller's; help asks for none and
// leaves none open.
TEST_F(HelpTest, ShellCreateProcessHandsOverTheCommandLineUnchanged) {
    auto openHandles = [] {  // each possible handle value asked about: Wine's GetProcessHandleCount answers 0
        int count = 0;
        DWORD flags = 0;
        for (UINT_PTR value = 4; value < 0x4000; value += 4) count += ::GetHandleInformation(HANDLE(value), &flags);
        return count;
    };
    const std::wstring longLine = std::wstring(3000, L'x') + L" file:\\Qov Br\u00fcmvale.htm#\"a b\"  c\\";
    for (const wchar_t* line : {longLine.c_str(), LPCWSTR{}}) {
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(ShellCreateProcess(L"PegHelp.exe", line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                                       &process));
        EXPECT_EQ(Recorded(), (line != nullptr ? line : L"") + std::wstring(L"\r\n"));
        EXPECT_TRUE(::CloseHandle(process.hThread) && ::CloseHandle(process.hProcess));  // still open, the caller's
    }
    const int before = openHandles();  // only after a start: the first opens handles for good
    ShowHelp(L"x");
    EXPECT_EQ(Recorded(), L"x\r\n");
    EXPECT_EQ(openHandles(), before);
    PROCESS_INFORMATION process{};  // a program that cannot start
    EXPECT_FALSE(ShellCreateProcess(L"NoSuch.exe", L"x", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                                    &process));
}
