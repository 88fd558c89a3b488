#include "app/OptionsApp.h"

#include <commctrl.h>

#include "app/ModuleDir.h"
#include "app/OptionsSheet.h"
#include "shell/MessageBox.h"

BEGIN_MESSAGE_MAP(COptionsApp, CWinApp)
END_MESSAGE_MAP()

BOOL COptionsApp::InitInstance() {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);

    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    g_strModuleDir = ModuleDirFromPath(path);

    COptionsSheet sheet(L"Qov Brumvale Options", nullptr, 0);
    m_pMainWnd = &sheet;
    // Each page has saved or dropped its own settings by the time the run returns.
    sheet.DoModal();
    // The sheet window is gone; the main-window link went with it.
    m_pMainWnd = nullptr;
    return FALSE;
}

int COptionsApp::DoMessageBox(HWND hOwner, const std::wstring& text, UINT nType) {
    return ShowMessageBox(hOwner, text.c_str(), m_strAppName.c_str(), nType);
}
