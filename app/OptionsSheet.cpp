#include "app/OptionsSheet.h"

BEGIN_MESSAGE_MAP(COptionsSheet, CTranscriberFriendlyPropertySheet)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

COptionsSheet::COptionsSheet(const wchar_t* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CTranscriberFriendlyPropertySheet(pszCaption, pParentWnd, iSelectPage) {
    AddPage(&m_gamePage);
    AddPage(&m_screenSaverPage);
    AddPage(&m_skinsPage);
}

// Closing the window saves nothing: the quit message ends the run before any page's OK.
void COptionsSheet::OnClose() {
    ::PostQuitMessage(0);
    CTranscriberFriendlyPropertySheet::OnClose();
}
