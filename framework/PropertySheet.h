// CPropertySheet and CPropertyPage: a modeless system property sheet run in our own loop.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/Dialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT nIDTemplate);

    // The tab caption; replaces the template's title.
    void SetCaption(const std::wstring& caption);

    PROPSHEETPAGEW m_psp;

    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();  // runs OnOK
    virtual void OnReset();  // runs OnCancel
    void OnOK() override;
    void OnCancel() override;

protected:
    // The sheet translates keys for its pages (Tab across pages, Ctrl+Tab between tabs).
    BOOL PreTranslateMessage(MSG*) override { return FALSE; }
    // Translates the sheet's PSN_* notifications into the virtual handlers above; only those
    // that come from the page's own sheet (or the page), so a child control's notification
    // with a clashing code goes to the message map.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    static INT_PTR CALLBACK PageDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static UINT CALLBACK PageCallback(HWND hWnd, UINT message, PROPSHEETPAGEW* psp);
    // Coming to the front, the page takes the focus from the rest of its sheet.
    void TakeFocusFromSheet();

    std::wstring m_strCaption;
    friend class CPropertySheet;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet(const wchar_t* pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    void AddPage(CPropertyPage* pPage);
    // Stacked tabs (the default) keep the tab control's multi-line style.
    void EnableStackedTabs(BOOL bStacked) { m_bStacked = bStacked; }
    BOOL IsStacked() const { return m_bStacked; }

    // Creates the sheet, runs it until ContinueModal says stop, destroys it; IDOK or IDCANCEL.
    virtual INT_PTR DoModal();

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const { return m_pages.at(static_cast<size_t>(nPage)); }
    int GetActiveIndex() const;
    CPropertyPage* GetActivePage() const;
    HWND GetTabControl() const;
    BOOL SetActivePage(int nPage);

    // Recorded by the pages: IDOK once a page applied, IDCANCEL otherwise.
    void SetModalResult(int nResult) { m_nModalResult = nResult; }

    PROPSHEETHEADERW m_psh;

protected:
    // Called once the system has built the sheet window; the framework has bound it then.
    virtual BOOL OnInitDialog();
    // Called when the sheet window is complete and about to be run, its first page made.
    virtual void OnBeforeRun() {}
    // The system's own end: no current page any more (after its OK or Cancel).
    BOOL ContinueModal() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);

    std::wstring m_strCaption;
    std::vector<CPropertyPage*> m_pages;
    BOOL m_bStacked = TRUE;
    UINT m_nStartPage;
    CWnd* m_pParentWnd;
    DECLARE_MESSAGE_MAP()
};
