#include "app/OptionDialog.h"

#include "shell/ShellControls.h"
#include "toolkit/ScreenLayout.h"

BEGIN_MESSAGE_MAP(COptionDialog, CDialog)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

COptionDialog::COptionDialog(UINT nIDTemplate, CWnd* pParentWnd, const std::wstring& title, const wchar_t* pszHelp,
                             BOOL bCommandBar)
    : CDialog(nIDTemplate, pParentWnd), m_chrome(title, pszHelp), m_bCommandBar(bCommandBar) {}

// Once initialised a dialog is sized as the handheld's shell would, lays itself out, and shows
// its controls on the handheld's colours.
BOOL COptionDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const BOOL bHandled = m_chrome.RouteMessage<CDialog>(this, message, wParam, lParam, pResult);
    if (message == WM_INITDIALOG && ::IsWindow(m_hWnd)) FitDialogToWorkArea(m_hWnd);
    if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        *pResult = reinterpret_cast<LRESULT>(WindowColourBehindControl(reinterpret_cast<HDC>(wParam)));
        return TRUE;
    }
    return bHandled;
}

BOOL COptionDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    return m_bCommandBar ? m_chrome.CreateCommandBar(this) : TRUE;
}
