// The base of every option page: tab caption, header title, its own "Cancel" command bar, the
// hand-off of OK and Cancel to the sheet, and every message routed through the page's adapter.
#pragma once

#include "framework/Framework.h"
#include "shell/CommandBar.h"
#include "toolkit/DialogAdapter.h"

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

// A page's or dialog's command bar.
class CPageCommandBar : public CCommandBar {
public:
    ~CPageCommandBar() override = default;
};

// Appends the text button "Cancel" (command IDCANCEL) to a bar: pages and dialogs alike.
void SetUpCommandBarCancel(CCommandBar& bar);
// Creates a page's or dialog's command bar with its "Cancel" button; FALSE when the bar
// cannot be made (the host then ends as cancelled).
BOOL CreateCancelCommandBar(CPageCommandBar& bar, CWnd* pHost);

class COptionPage : public CClosingPropertyPage {
public:
    COptionPage(UINT nIDTemplate, UINT nIDCaption);
    ~COptionPage() override = default;

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    const CPageCommandBar& GetCommandBar() const { return m_commandBar; }

protected:
    CDialogAdapter m_adapter;
    CPageCommandBar m_commandBar;

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    void OnMove(int x, int y);
    DECLARE_MESSAGE_MAP()
};
