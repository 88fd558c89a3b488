#include "app/OptionDialog.h"

BEGIN_MESSAGE_MAP(COptionDialog, CDialog)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

COptionDialog::COptionDialog(UINT nIDTemplate, CWnd* pParentWnd, const std::wstring& title, const wchar_t* pszHelp,
                             BOOL bCommandBar)
    : CDialog(nIDTemplate, pParentWnd), m_chrome(title, pszHelp), m_bCommandBar(bCommandBar) {}

BOOL COptionDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return m_chrome.RouteMessage<CDialog>(this, message, wParam, lParam, pResult);
}

BOOL COptionDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    return m_bCommandBar ? m_chrome.CreateCommandBar(this) : TRUE;
}
