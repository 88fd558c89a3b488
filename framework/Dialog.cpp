#include "framework/Dialog.h"

#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOKCommand)
    ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

HWND CDialog::GetModalOwner() const {
    return m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : AfxGetMainWnd();
}

INT_PTR CDialog::DoModal() {
    HWND hOwner = GetModalOwner();
    bool bEnableOwner = hOwner != nullptr && ::IsWindowEnabled(hOwner);
    if (bEnableOwner) ::EnableWindow(hOwner, FALSE);

    m_nModalResult = -1;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), hOwner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    AfxUnhookWindowCreate();
    if (hWnd != nullptr) {
        // An OnInitDialog that already ended the dialog leaves nothing to run.
        if (m_nModalResult == -1) {
            ::ShowWindow(hWnd, SW_SHOWNORMAL);
            m_bContinueModal = true;
            RunModalLoop();
        }
    }
    // The owner is enabled before the dialog hides, so that activation goes back to it and not
    // to whichever other window happens to be enabled (the sheet behind a nested dialog).
    if (bEnableOwner) ::EnableWindow(hOwner, TRUE);
    if (hWnd != nullptr) ::ShowWindow(hWnd, SW_HIDE);
    if (hOwner != nullptr && ::GetActiveWindow() == hWnd) ::SetActiveWindow(hOwner);
    if (hWnd != nullptr) ::DestroyWindow(hWnd);
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    // Modal runs end through the loop; a modeless dialog (a property page) through the system.
    if (m_bContinueModal) EndModalLoop(nResult);
    else {
        m_nModalResult = nResult;
        ::EndDialog(m_hWnd, nResult);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) { return ::IsDialogMessageW(m_hWnd, pMsg); }

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

INT_PTR CDialog::BindAndInit(CDialog* pDialog, HWND hWnd, WPARAM wParam, LPARAM lParam) {
    // Normally bound at creation already, so WM_INITDIALOG came through AfxWndProc and never
    // reaches the dialog procedure; this binds a dialog whose creation was not seen.
    try {
        if (pDialog == nullptr || !pDialog->SubclassWindow(hWnd)) return TRUE;
    } catch (...) {
        AfxEndAfterException();
        return TRUE;
    }
    return AfxCallWndProc(pDialog, hWnd, WM_INITDIALOG, wParam, lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Once bound, every message reaches the object through AfxWndProc first; the system's
    // dialog procedure then has nothing left to do here.
    if (message == WM_INITDIALOG && CWnd::FromHandlePermanent(hWnd) == nullptr)
        return BindAndInit(reinterpret_cast<CDialog*>(lParam), hWnd, wParam, lParam);
    return FALSE;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd == nullptr) rControl.SubclassWindow(pDX->m_pDlgWnd->GetDlgItem(nIDC));
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hCtrl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (hCtrl == nullptr) return;
    if (pDX->m_bSaveAndValidate) value = static_cast<int>(::SendMessageW(hCtrl, BM_GETCHECK, 0, 0));
    else ::SendMessageW(hCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}
