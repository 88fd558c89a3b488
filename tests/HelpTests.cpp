// The windows' help, the sheet's too, is the keystroke test's; here ShowHelp leaving nothing open.
// ShowHelp starts the device's PegHelp.exe, which records each command line it gets.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Help.h"

namespace {

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
    std::string Recorded() {  // what the viewer started last recorded, once it is done
        if (::WaitForSingleObject(m_done, 30000)) return "<no viewer ran>";
        std::ifstream file(m_record, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        return file.close(), ::DeleteFileW(m_record.c_str()), text;
    }
    const std::wstring m_name = L"PegHelp-" + std::to_wstring(::GetCurrentProcessId());
    const std::filesystem::path m_record = std::filesystem::temp_directory_path() / (m_name + L".log");
    const HANDLE m_done = ::CreateEventW(nullptr, FALSE, FALSE, m_name.c_str());
};

}  // namespace

// Help keeps none of the viewer's handles open (only counted after a first start: that one opens
// handles for good). Each possible handle value is asked about: Wine's GetProcessHandleCount answers 0.
TEST_F(HelpTest, ShowHelpLeavesNoHandleOpen) {
    auto openHandles = [] {
        int count = 0;
        DWORD flags = 0;
        for (UINT_PTR value = 4; value < 0x4000; value += 4) count += ::GetHandleInformation(HANDLE(value), &flags);
        return count;
    };
    ShowHelp(L"first");
    EXPECT_EQ(Recorded(), "first\r\n");
    const int before = openHandles();
    ShowHelp(L"x");
    EXPECT_EQ(Recorded(), "x\r\n");
    EXPECT_EQ(openHandles(), before);
}
