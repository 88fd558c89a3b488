// CWinApp: the application object and the program's entry.
#pragma once

#include <string>

#include "framework/Wnd.h"

class CWinApp : public CCmdTarget {
public:
    // A null name gives the program file's name without its extension.
    explicit CWinApp(const wchar_t* pszAppName = nullptr);
    ~CWinApp() override;

    // FALSE ends the program at once, without an application message loop.
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    HINSTANCE m_hInstance = nullptr;
    std::wstring m_strAppName;
    CWnd* m_pMainWnd = nullptr;  // cleared when that window is destroyed

    // Called by the entry point before InitInstance.
    void InitApplication(HINSTANCE hInstance);

private:
    std::wstring m_strRequestedName;
};

// The one application object, or null before it is constructed.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// A message box owned by the main window and captioned with the application's name.
int AfxMessageBox(const std::wstring& text, UINT nType = MB_OK);
// Runs the application object: what the program's entry point does.
int AfxWinMain(HINSTANCE hInstance);
