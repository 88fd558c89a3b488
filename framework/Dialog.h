// CDialog: a dialog from a template, with its own modal loop; and dialog data exchange.
#pragma once

#include "framework/Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Creates the dialog, disables its owner, runs the modal loop, destroys the dialog.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Transfers between members and controls: TRUE means controls -> members.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The owner of a modal run: the given parent, else the application's main window.
    HWND GetModalOwner() const;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    // The dialog procedure: binds the object at WM_INITDIALOG (lParam is the object).
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Binds the object to its new dialog window and gives it WM_INITDIALOG.
    static INT_PTR BindAndInit(CDialog* pDialog, HWND hWnd, WPARAM wParam, LPARAM lParam);

    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    void OnOKCommand() { OnOK(); }
    void OnCancelCommand() { OnCancel(); }
    DECLARE_MESSAGE_MAP()
};

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;  // TRUE: controls -> members
    CWnd* m_pDlgWnd;
};

// Binds a control object to the dialog's control with that id (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Exchanges a check box's state (BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
