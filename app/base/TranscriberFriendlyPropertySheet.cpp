#include "app/base/TranscriberFriendlyPropertySheet.h"

#include "shell/PropertySheetIds.h"
#include "toolkit/ScreenFit.h"

IMPLEMENT_DYNAMIC(CTranscriberFriendlyPropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CTranscriberFriendlyPropertySheet, CPropertySheet)
    ON_WM_CLOSE()
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

CTranscriberFriendlyPropertySheet::CTranscriberFriendlyPropertySheet(const wchar_t* pszCaption, CWnd* pParentWnd,
                                                                     UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage) {}

// Only the loop's own flag and the pages' hand-off count, not the platform sheet's own end test
// (no current page any more), which a sheet run modelessly may pass only later or never.
BOOL CTranscriberFriendlyPropertySheet::ContinueModal() {
    if (!m_bContinueModal) return FALSE;
    return !m_bPageClosed;
}

BOOL CTranscriberFriendlyPropertySheet::OnInitDialog() {
    // Unstacked tabs stay on one row.
    if (!IsStacked()) {
        HWND hTab = GetDlgItem(kSheetTabControlId);
        if (hTab != nullptr) {
            LONG_PTR style = ::GetWindowLongPtrW(hTab, GWL_STYLE);
            ::SetWindowLongPtrW(hTab, GWL_STYLE, style & ~static_cast<LONG_PTR>(TCS_MULTILINE));
        }
    }
    return TRUE;
}

void CTranscriberFriendlyPropertySheet::OnBeforeRun() { FitSheetToWorkArea(m_hWnd); }

void CTranscriberFriendlyPropertySheet::OnClose() { Default(); }

BOOL CTranscriberFriendlyPropertySheet::OnHelpInfo(HELPINFO* pHelpInfo) {
    CPropertyPage* pPage = GetActivePage();
    if (pPage == nullptr || pPage->m_hWnd == nullptr) return FALSE;
    return static_cast<BOOL>(::SendMessageW(pPage->m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(pHelpInfo)));
}
