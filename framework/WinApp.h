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
    // Shows AfxMessageBox's box, captioned with the application's name.
    virtual int DoMessageBox(HWND hOwner, const std::wstring& text, UINT nType);

    HINSTANCE m_hInstance = nullptr;
    std::wstring m_strAppName;
    CWnd* m_pMainWnd = nullptr;  // cleared when that window is destroyed

    // Called by the entry point before InitInstance.
    void InitApplication(HINSTANCE hInstance);

private:
    std::wstring m_strRequestedName;
    CWinApp* m_pOuter = nullptr;  // an application object that stood before this one, back at its end
};

// The application object constructed last and still alive, or null.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// The main window's handle, or null when there is none.
HWND AfxGetMainWnd();
// A message box captioned with the application's name and owned by the window the user is
// working in: the innermost modal dialog, else the main window. The owner takes no input
// while the box is up.
int AfxMessageBox(const std::wstring& text, UINT nType = MB_OK);
// Shows the wait cursor while it lives.
class CWaitCursor {
public:
    CWaitCursor() : m_hOld(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hOld); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hOld;
};

// Runs the application object: what the program's entry point does. An exception that reaches
// it (running out of memory: the program throws nothing else) ends the program at once.
int AfxWinMain(HINSTANCE hInstance);
// Where an exception would otherwise cross into the platform (a window procedure, a hook, a
// callback), it stops there and the program ends: a quit message is posted, which ends every
// modal loop running, and so the program; nothing more is stored.
void AfxEndAfterException();
