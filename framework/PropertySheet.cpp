#include "framework/PropertySheet.h"

#include <algorithm>

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

void CPropertyPage::FitInto(const RECT& rc) {
    RECT current = WindowRectInParent(m_hWnd);
    if (!::EqualRect(&current, &rc)) MoveWindow(rc);
    // Bars docked to the page's edges follow it only when told; the sheet may already have
    // sized a new page after the page made its bars.
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        ::GetClassNameW(h, cls, 32);
        if (lstrcmpiW(cls, TOOLBARCLASSNAMEW) == 0) ::SendMessageW(h, TB_AUTOSIZE, 0, 0);
    }
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
    CPropertySheet* pSheet = nullptr;
    if (CWnd* pParent = GetParent(); pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CPropertySheet)))
        pSheet = static_cast<CPropertySheet*>(pParent);

    LRESULT result = 0;
    switch (pHdr->code) {
    case PSN_SETACTIVE:
        AfxUnhookWindowCreate();  // the page exists: nothing may stay armed for it
        if (pSheet != nullptr && !::IsRectEmpty(&pSheet->GetFittedPageRect())) FitInto(pSheet->GetFittedPageRect());
        result = OnSetActive() ? 0 : -1;
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
        if (pSheet->SubclassWindow(hWnd)) pSheet->OnInitDialog();
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
        FitToScreen();
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

void CPropertySheet::FitToScreen() {
    RECT work{}, rcSheet{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(&rcSheet);
    const int workW = work.right - work.left, workH = work.bottom - work.top;
    if (rcSheet.right - rcSheet.left <= workW && rcSheet.bottom - rcSheet.top <= workH) return;

    ::SetWindowPos(m_hWnd, nullptr, work.left, work.top, std::min<int>(workW, rcSheet.right - rcSheet.left),
                   std::min<int>(workH, rcSheet.bottom - rcSheet.top), SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(&client);

    // The buttons keep their size and their gaps, flush with the bottom right corner.
    const int buttonIds[] = {IDHELP, 0x3021 /* Apply */, IDCANCEL, IDOK};
    int right = client.right, buttonTop = client.bottom;
    for (int id : buttonIds) {
        HWND hButton = GetDlgItem(id);
        if (hButton == nullptr || !::IsWindowVisible(hButton)) continue;
        RECT rc{};
        ::GetWindowRect(hButton, &rc);
        const int w = rc.right - rc.left, h = rc.bottom - rc.top, gap = h / 4;
        right -= gap + w;
        buttonTop = client.bottom - gap - h;
        ::MoveWindow(hButton, right, buttonTop, w, h, TRUE);
    }

    // The tabs take everything above the buttons.
    HWND hTab = GetTabControl();
    if (hTab == nullptr) return;
    RECT rcTab{0, 0, client.right, buttonTop - 2};
    ::MoveWindow(hTab, rcTab.left, rcTab.top, rcTab.right, rcTab.bottom, TRUE);
    ::GetClientRect(hTab, &rcTab);
    ::SendMessageW(hTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rcTab));
    ::MapWindowPoints(hTab, m_hWnd, reinterpret_cast<POINT*>(&rcTab), 2);
    m_rcFittedPage = rcTab;
    for (CPropertyPage* pPage : m_pages)
        if (pPage->m_hWnd != nullptr) pPage->FitInto(m_rcFittedPage);
}

BOOL CPropertySheet::ContinueModal() {
    return CWnd::ContinueModal() && m_hWnd != nullptr && PropSheet_GetCurrentPageHwnd(m_hWnd) != nullptr;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
    if (m_hWnd == nullptr || !PropSheet_IsDialogMessage(m_hWnd, pMsg)) return FALSE;
    // Wine's sheet changes pages on Ctrl+Tab but leaves the focus in the page it hid, where
    // keys and F1 would still act; the tabs take it, as they do when clicked.
    HWND hFocus = ::GetFocus();
    if (hFocus != nullptr && ::IsChild(m_hWnd, hFocus) && !::IsWindowVisible(hFocus)) ::SetFocus(GetTabControl());
    return TRUE;
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
