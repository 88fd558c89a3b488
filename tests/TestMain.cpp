// The tests run inside an application object of their own, as the program's code expects one.
#include "framework/WinApp.h"
#include "tests/Harness.h"

static CWinApp g_testApp(L"Brumvale Tests");

int main(int argc, char** argv) {
    g_testApp.InitApplication(::GetModuleHandleW(nullptr));
    // Help asked for by any test is recorded by the device's viewer but opens no host browser.
    ::SetEnvironmentVariableW(L"PEGHELP_RECORD_ONLY", L"1");
    ::SetEnvironmentVariableW(L"PEGHELP_DONE_EVENT", L"BrumvaleTestsHelpDone");
    // Paths from "\" are on the device's drive, as the program is started there: the program picker scans the whole
    // drive.
    ::SetCurrentDirectoryW(L"C:\\");
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
