#include "app/OptionsApp.h"

#include <commctrl.h>

#include "app/OptionsSheet.h"
#include "app/base/ModuleDir.h"
#include "toolkit/ScreenFit.h"

BEGIN_MESSAGE_MAP(COptionsApp, CWinApp)
END_MESSAGE_MAP()

BOOL COptionsApp::InitInstance() {
    InitOptionsProgram();
    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    // Each page has saved or dropped its own settings by the time the run returns.
    RunAsMainWindow(sheet);
    return FALSE;
}

int COptionsApp::DoMessageBox(HWND hOwner, const std::wstring& text, UINT nType) {
    return MessageBoxOnScreen(hOwner, text.c_str(), m_strAppName.c_str(), nType);
}

void InitOptionsProgram() {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);

    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    g_strModuleDir = ModuleDirFromPath(path);
}

INT_PTR RunAsMainWindow(CPropertySheet& sheet) {
    CWinApp* pApp = AfxGetApp();
    pApp->m_pMainWnd = &sheet;
    const INT_PTR nResult = sheet.DoModal();
    // The sheet's window is gone; so is the link, also where the window never came up.
    pApp->m_pMainWnd = nullptr;
    return nResult;
}
