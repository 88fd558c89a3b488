// The base of the program's modal dialogs: a dialog with the option pages' chrome (header
// title, toolkit fonts, input panel, the sheet kept enabled, taps on the background
// swallowed), optionally a "Cancel" command bar, and help at the dialog's own topic.
#pragma once

#include <string>

#include "app/base/OptionChrome.h"

class COptionDialog : public CDialog {
public:
    // title: the header's text; pszHelp: the dialog's help command line (app/Help.h).
    // A dialog with OK and Cancel buttons of its own has no command bar.
    COptionDialog(UINT nIDTemplate, CWnd* pParentWnd, const std::wstring& title, const wchar_t* pszHelp,
                  BOOL bCommandBar = TRUE);
    ~COptionDialog() override = default;

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    const CPageCommandBar& GetCommandBar() const { return m_chrome.m_commandBar; }

protected:
    COptionChrome m_chrome;

    // The dialog's own initialisation (data exchange included), then the command bar. FALSE
    // when the bar could not be made: the dialog has then ended as cancelled, and a derived
    // dialog returns at once.
    BOOL OnInitDialog() override;
    BOOL OnHelpInfo(HELPINFO*) { return m_chrome.ShowHelp(); }
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bCommandBar;
};
