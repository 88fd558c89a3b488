// The help action: ShowHelp leaves nothing of the viewer open.
#include <gtest/gtest.h>

#include <string>

#include "app/base/Help.h"

// ShowHelp keeps none of the viewer's handles open (counted after a first start, which opens
// handles for good). The device's viewer signals the event it is given once it is done. Each
// possible handle value is asked about: Wine's GetProcessHandleCount answers 0.
TEST(HelpTest, ShowHelpLeavesNoHandleOpen) {
    const std::wstring name = L"PegHelp-" + std::to_wstring(::GetCurrentProcessId());
    HANDLE hDone = ::CreateEventW(nullptr, FALSE, FALSE, name.c_str());
    ::SetEnvironmentVariableW(L"PEGHELP_DONE_EVENT", name.c_str());
    auto openHandles = [] {
        int count = 0;
        DWORD flags = 0;
        for (UINT_PTR value = 4; value < 0x4000; value += 4) count += ::GetHandleInformation(HANDLE(value), &flags);
        return count;
    };
    ShowHelp(L"first");
    EXPECT_EQ(::WaitForSingleObject(hDone, 30000), WAIT_OBJECT_0);
    const int before = openHandles();
    ShowHelp(L"again");
    EXPECT_EQ(::WaitForSingleObject(hDone, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(openHandles(), before);
    ::SetEnvironmentVariableW(L"PEGHELP_DONE_EVENT", nullptr);
    ::CloseHandle(hDone);
}
