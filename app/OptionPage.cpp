#include "OptionPage.h"

#include "TranscriberFriendlyPropertySheet.h"
#include "toolkit/StringResource.h"

CCaptionedPropertyPage::CCaptionedPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CPropertyPage(nIDTemplate) {
    if (nIDCaption != 0) SetCaption(LoadStringResource(nIDCaption));
}

BEGIN_MESSAGE_MAP(CClosingPropertyPage, CPropertyPage)
END_MESSAGE_MAP()

void CClosingPropertyPage::TellSheetPageClosed() {
    CWnd* pParent = GetParent();
    if (pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CTranscriberFriendlyPropertySheet)))
        static_cast<CTranscriberFriendlyPropertySheet*>(pParent)->m_bPageClosed = TRUE;
}

void CClosingPropertyPage::OnOK() {
    TellSheetPageClosed();
    CCaptionedPropertyPage::OnOK();
}

void CClosingPropertyPage::OnCancel() {
    TellSheetPageClosed();
    CCaptionedPropertyPage::OnCancel();
}
