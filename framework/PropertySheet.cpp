#include "framework/PropertySheet.h"


#include "framework/WinApp.h"

// ------------------------------------------------------------------------------------------
// CPropertyPage

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate) : CDialog(nIDTemplate), m_psp{} {
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.hInstance = AfxGetInstanceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEW(nIDTemplate);
    m_psp.pfnDlgProc = &CPropertyPage::PageDialogProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    m_psp.dwFlags |= PSP_USECALLBACK;
    m_psp.pfnCallback = &CPropertyPage::PageCallback;
}

UINT CALLBACK CPropertyPage::PageCallback(HWND, UINT message, PROPSHEETPAGEW* psp) {
    // The sheet is about to create the page's window: bind it as it is made.
    if (message == PSPCB_CREATE && psp != nullptr && psp->lParam != 0)
        AfxHookWindowCreate(reinterpret_cast<CPropertyPage*>(psp->lParam));
    return 1;
}

void CPropertyPage::SetCaption(const std::wstring& caption) {
    m_strCaption = caption;
    m_psp.pszTitle = m_strCaption.c_str();
    m_psp.dwFlags |= PSP_USETITLE;
}

BOOL CPropertyPage::OnSetActive() { return TRUE; }
BOOL CPropertyPage::OnKillActive() { return TRUE; }

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

// A page does not end anything itself: the sheet decides when its run is over.
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (pHdr->hwndFrom != m_hWnd && pHdr->hwndFrom != ::GetParent(m_hWnd))
        return CDialog::OnNotify(wParam, lParam, pResult);
    CPropertySheet* pSheet = nullptr;
    if (CWnd* pParent = GetParent(); pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CPropertySheet)))
        pSheet = static_cast<CPropertySheet*>(pParent);

    LRESULT result = 0;
    switch (pHdr->code) {
    case PSN_SETACTIVE:
        AfxUnhookWindowCreate();  // the page exists: nothing may stay armed for it
        result = OnSetActive() ? 0 : -1;
        if (result == 0) TakeFocusFromSheet();
        break;
    case PSN_KILLACTIVE:
        result = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        if (pSheet != nullptr) pSheet->SetModalResult(IDOK);
        result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        break;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
    *pResult = result;
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// However the page comes to the front (Ctrl+Tab, a tap on its tab, a message to the sheet), the
// focus goes to its first control, unless it is there already or outside the sheet: keys and F1
// then act on the page that shows. Some sheets leave it in the page they hide, where F1 would
// ask for that page's help, or on the tab that was tapped.
void CPropertyPage::TakeFocusFromSheet() {
    const HWND hSheet = ::GetParent(m_hWnd), hFocus = ::GetFocus();
    if (hFocus == nullptr || (hFocus != hSheet && !::IsChild(hSheet, hFocus)) || ::IsChild(m_hWnd, hFocus)) return;
    if (HWND hFirst = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE)) ::SetFocus(hFirst);
}

INT_PTR CALLBACK CPropertyPage::PageDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The sheet hands each page a copy of its PROPSHEETPAGEW; lParam there is the page object.
    if (message == WM_INITDIALOG) {
        AfxUnhookWindowCreate();
        if (CWnd::FromHandlePermanent(hWnd) != nullptr) return FALSE;
        const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        return BindAndInit(psp != nullptr ? reinterpret_cast<CPropertyPage*>(psp->lParam) : nullptr, hWnd, wParam,
                           lParam);
    }
    return FALSE;
}

// ------------------------------------------------------------------------------------------
// CPropertySheet

namespace {
// The sheet whose window the system is creating now: the callback has no other context.
CPropertySheet* g_pSheetInCreation = nullptr;
}  // namespace

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet(const wchar_t* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_psh{}, m_strCaption(pszCaption ? pszCaption : L""), m_nStartPage(iSelectPage), m_pParentWnd(pParentWnd) {
    m_psh.dwSize = sizeof(m_psh);
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    if (pPage != nullptr) m_pages.push_back(pPage);
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && g_pSheetInCreation != nullptr) {
        CPropertySheet* pSheet = g_pSheetInCreation;
        g_pSheetInCreation = nullptr;
        try {
            if (pSheet->SubclassWindow(hWnd)) pSheet->OnInitDialog();
        } catch (...) {
            AfxEndAfterException();
        }
    }
    return 0;
}

INT_PTR CPropertySheet::DoModal() {
    std::vector<PROPSHEETPAGEW> pages;
    pages.reserve(m_pages.size());
    for (CPropertyPage* pPage : m_pages) pages.push_back(pPage->m_psp);

    HWND hOwner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    m_psh.hwndParent = hOwner;
    m_psh.hInstance = AfxGetInstanceHandle();
    m_psh.pszCaption = m_strCaption.c_str();
    m_psh.nPages = static_cast<UINT>(pages.size());
    m_psh.nStartPage = m_nStartPage;
    m_psh.ppsp = pages.data();
    m_psh.pfnCallback = &CPropertySheet::SheetCallback;

    m_nModalResult = IDCANCEL;
    bool bEnableOwner = hOwner != nullptr && ::IsWindowEnabled(hOwner);
    if (bEnableOwner) ::EnableWindow(hOwner, FALSE);

    g_pSheetInCreation = this;
    HWND hWnd = reinterpret_cast<HWND>(::PropertySheetW(&m_psh));
    g_pSheetInCreation = nullptr;
    AfxUnhookWindowCreate();
    if (hWnd != nullptr && hWnd != reinterpret_cast<HWND>(-1)) {
        if (m_hWnd == nullptr) SubclassWindow(hWnd);  // no callback came: bind now
        OnBeforeRun();
        m_bContinueModal = true;
        RunModalLoop();
        if (bEnableOwner) ::EnableWindow(hOwner, TRUE);
        ::DestroyWindow(hWnd);
    } else if (bEnableOwner) {
        ::EnableWindow(hOwner, TRUE);
    }
    return m_nModalResult;
}

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

BOOL CPropertySheet::ContinueModal() {
    return CWnd::ContinueModal() && m_hWnd != nullptr && PropSheet_GetCurrentPageHwnd(m_hWnd) != nullptr;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
    // Only keys are the sheet's to take: any other message the dialog manager would translate
    // and dispatch just as the loop does, after a round trip through the sheet's procedures.
    if (m_hWnd == nullptr || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    return PropSheet_IsDialogMessage(m_hWnd, pMsg);
}

int CPropertySheet::GetActiveIndex() const {
    if (m_hWnd == nullptr) return static_cast<int>(m_nStartPage);
    return PropSheet_HwndToIndex(m_hWnd, PropSheet_GetCurrentPageHwnd(m_hWnd));
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    int index = GetActiveIndex();
    return index >= 0 && index < GetPageCount() ? GetPage(index) : nullptr;
}

HWND CPropertySheet::GetTabControl() const { return m_hWnd != nullptr ? PropSheet_GetTabControl(m_hWnd) : nullptr; }

BOOL CPropertySheet::SetActivePage(int nPage) {
    return m_hWnd != nullptr && PropSheet_SetCurSel(m_hWnd, nullptr, nPage);
}
