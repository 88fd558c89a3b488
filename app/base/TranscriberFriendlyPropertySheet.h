// The program's property sheet: its run ends as soon as a page has handled OK or Cancel, and
// Help is answered by the page in front.
#pragma once

#include "framework/Framework.h"

class CTranscriberFriendlyPropertySheet : public CPropertySheet {
    DECLARE_DYNAMIC(CTranscriberFriendlyPropertySheet)
public:
    CTranscriberFriendlyPropertySheet(const wchar_t* pszCaption, CWnd* pParentWnd, UINT iSelectPage);

    // Set by a page when its OK or Cancel handling starts; never reset.
    BOOL m_bPageClosed = FALSE;

protected:
    BOOL ContinueModal() override;
    BOOL OnInitDialog() override;
    // A handheld's sheet fills its screen: a larger desktop sheet is fitted to it.
    void OnBeforeRun() override;

    void OnClose();
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    DECLARE_MESSAGE_MAP()
};
