// The application object: runs the options sheet once and ends.
#pragma once

#include "framework/Framework.h"

class COptionsApp : public CWinApp {
public:
    COptionsApp() = default;
    ~COptionsApp() override = default;

    BOOL InitInstance() override;
    // The handheld's boxes, which never come out wider than its screen.
    int DoMessageBox(HWND hOwner, const std::wstring& text, UINT nType) override;

protected:
    DECLARE_MESSAGE_MAP()
};

// The steps of InitInstance, which the benchmarks and the tests take too.
// What the program sets up before its sheet: the common controls' date classes, and the
// program's own folder (g_strModuleDir) from its module's path.
void InitOptionsProgram();
// Runs a sheet modally as the application's main window. The link ends with the sheet's window.
INT_PTR RunAsMainWindow(CPropertySheet& sheet);
