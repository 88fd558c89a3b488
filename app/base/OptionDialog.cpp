#include "app/base/OptionDialog.h"

#include "shell/ShellControls.h"

BEGIN_MESSAGE_MAP(COptionDialog, CDialog)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

COptionDialog::COptionDialog(UINT nIDTemplate, CWnd* pParentWnd, const std::wstring& title, const wchar_t* pszHelp,
                             BOOL bCommandBar)
    : CDialog(nIDTemplate, pParentWnd), m_chrome(title, pszHelp, CScreenFit::Host::kDialog), m_bCommandBar(bCommandBar) {}

BOOL COptionDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const BOOL bHandled = m_chrome.RouteMessage<CDialog>(this, message, wParam, lParam, pResult);
    // The handheld draws a dialog's controls on the window colour, as the dialog itself.
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
