// What every option page and option dialog carries: the dialog adapter (header band with the
// title, toolkit fonts, the input panel's child, the main window kept enabled, taps on the
// background swallowed), a command bar with its "Cancel" button, and help at the window's own
// topic. The hosts (COptionPage, COptionDialog) embed one and route every message through it.
#pragma once

#include <string>

#include "framework/Framework.h"
#include "shell/CommandBar.h"
#include "toolkit/DialogAdapter.h"
#include "toolkit/ScreenFit.h"

// A page's or dialog's command bar.
class CPageCommandBar : public CCommandBar {
public:
    ~CPageCommandBar() override = default;
};

class COptionChrome {
public:
    // The adapter starts with the title "_" and its four options on, then takes the title.
    // pszHelp is the help viewer's command line (a literal of app/base/Help.h); host says how
    // the window fits the screen.
    COptionChrome(const std::wstring& title, const wchar_t* pszHelp, CScreenFit::Host host);

    CDialogAdapter m_adapter;
    CPageCommandBar m_commandBar;

    // The whole of a host's OnWndMsg: the adapter around the host's own handling (TBase's), and
    // the fitting to the screen around both; a resized host docks its bar again.
    template <class TBase>
    BOOL RouteMessage(TBase* pHost, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
        BOOL bHandled = m_adapter.HostWndMsg<TBase>(pHost, message, wParam, lParam, pResult);
        if (message == WM_SIZE && m_commandBar.m_hWnd != nullptr && lParam != m_lBarDockedAt) {
            m_commandBar.AutoSize();
            m_lBarDockedAt = lParam;
        }
        m_screenFit.AfterMessage(pHost->m_hWnd, message, wParam, lParam);
        return bHandled;
    }
    // Makes the bar with its "Cancel" button. When the bar cannot be made the host ends as
    // cancelled and this answers FALSE, which the host's OnInitDialog returns.
    BOOL CreateCommandBar(CDialog* pHost);
    // Starts the help viewer at the host's topic; the answer to WM_HELP.
    BOOL ShowHelp() const;

private:
    const wchar_t* m_pszHelp;
    CScreenFit m_screenFit;
    LPARAM m_lBarDockedAt = -1;  // the host's client size the bar was last docked to
};
