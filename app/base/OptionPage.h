// The base of every option page: tab caption, the hand-off of OK and Cancel to the sheet, and
// the option chrome (header title, its own "Cancel" command bar, help at the page's topic).
#pragma once

#include "app/base/OptionChrome.h"

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

class COptionPage : public CClosingPropertyPage {
public:
    // pszHelp: the page's help command line (app/Help.h).
    COptionPage(UINT nIDTemplate, UINT nIDCaption, const wchar_t* pszHelp);
    ~COptionPage() override = default;

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    const CPageCommandBar& GetCommandBar() const { return m_chrome.m_commandBar; }

protected:
    COptionChrome m_chrome;

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void DoDataExchange(CDataExchange* pDX) override;
    // FALSE when the command bar could not be made: the page has then ended as cancelled.
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    void OnMove(int x, int y);
    BOOL OnHelpInfo(HELPINFO*) { return m_chrome.ShowHelp(); }
    DECLARE_MESSAGE_MAP()
};
