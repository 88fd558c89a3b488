// The base of every option page.
#pragma once

#include "framework/Framework.h"

// Shows the caption string as its tab text.
class CCaptionedPropertyPage : public CPropertyPage {
public:
    CCaptionedPropertyPage(UINT nIDTemplate, UINT nIDCaption);
    ~CCaptionedPropertyPage() override = default;
};

// Hands OK and Cancel to the sheet, so that the sheet's run ends once a page has closed.
class CClosingPropertyPage : public CCaptionedPropertyPage {
public:
    using CCaptionedPropertyPage::CCaptionedPropertyPage;
    ~CClosingPropertyPage() override = default;

protected:
    void OnOK() override;
    void OnCancel() override;

private:
    void TellSheetPageClosed();
    DECLARE_MESSAGE_MAP()
};
