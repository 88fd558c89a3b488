#include "app/base/OptionPage.h"

#include "app/base/TranscriberFriendlyPropertySheet.h"
#include "resources/resource.h"
#include "toolkit/StringResource.h"

namespace {
// Notifications of the handheld's controls that a page answers with 1 and never acts on.
constexpr UINT kSwallowedNotifications[] = {static_cast<UINT>(NM_FIRST - 16), static_cast<UINT>(NM_FIRST - 50)};
}  // namespace

// ------------------------------------------------------------------------------------------
// CCaptionedPropertyPage, CClosingPropertyPage

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

// ------------------------------------------------------------------------------------------
// COptionPage

BEGIN_MESSAGE_MAP(COptionPage, CClosingPropertyPage)
    ON_WM_MOVE()
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

COptionPage::COptionPage(UINT nIDTemplate, UINT nIDCaption, const wchar_t* pszHelp)
    : CClosingPropertyPage(nIDTemplate, nIDCaption), m_chrome(LoadStringResource(IDS_OPTIONS_TITLE), pszHelp, CScreenFit::Host::kPage) {}

BOOL COptionPage::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return m_chrome.RouteMessage<CClosingPropertyPage>(this, message, wParam, lParam, pResult);
}

BOOL COptionPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    for (UINT code : kSwallowedNotifications) {
        if (pHdr->code != code) continue;
        *pResult = 1;
        return TRUE;
    }
    return CClosingPropertyPage::OnNotify(wParam, lParam, pResult);
}

void COptionPage::DoDataExchange(CDataExchange*) {}

BOOL COptionPage::OnInitDialog() {
    CClosingPropertyPage::OnInitDialog();
    return m_chrome.CreateCommandBar(this);
}

// Only the page in front shows its bar.
BOOL COptionPage::OnSetActive() {
    m_chrome.m_commandBar.ShowWindow(SW_SHOW);
    m_chrome.m_commandBar.SetForegroundWindow();
    return CClosingPropertyPage::OnSetActive();
}

BOOL COptionPage::OnKillActive() {
    m_chrome.m_commandBar.ShowWindow(SW_HIDE);
    return CClosingPropertyPage::OnKillActive();
}

// A page pushed above the sheet's client top is pulled back down, keeping its bottom edge.
void COptionPage::OnMove(int, int y) {
    Default();
    if (y >= 0) return;
    RECT rc = WindowRectInParent(m_hWnd);
    rc.top += -y;
    MoveWindow(rc, TRUE);
}
