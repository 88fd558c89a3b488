// Thin wrappers for the common controls the pages and dialogs bind.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/Wnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
};

class CStatic : public CWnd {};

class CListBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(nSelect))); }
    int AddString(const std::wstring& text) {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int DeleteString(int nIndex) { return static_cast<int>(SendMessage(LB_DELETESTRING, static_cast<WPARAM>(nIndex))); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    std::wstring GetText(int nIndex) const;
    LRESULT GetItemData(int nIndex) const { return SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(nIndex)); }
    int SetItemData(int nIndex, LPARAM data) {
        return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), data));
    }
};

class CSliderCtrl : public CWnd {
public:
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGE, bRedraw, MAKELPARAM(nMin, nMax)); }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
};

class CImageList {
public:
    CImageList() = default;
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // From a bitmap resource: a strip of images cx pixels wide on the mask colour.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    HIMAGELIST m_hImageList = nullptr;
};

class CTreeCtrl : public CWnd {
public:
    // An item with text only; and one with text, image and selected image.
    HTREEITEM InsertItem(LPCWSTR pszText, HTREEITEM hParent, HTREEITEM hInsertAfter);
    HTREEITEM InsertItem(LPCWSTR pszText, int nImage, int nSelectedImage, HTREEITEM hParent, HTREEITEM hInsertAfter);
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    // FALSE when the item cannot be read.
    BOOL GetItemSelectedImage(HTREEITEM hItem, int& nSelectedImage) const;
    std::wstring GetItemText(HTREEITEM hItem) const;
    BOOL Expand(HTREEITEM hItem, UINT nCode) { return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, reinterpret_cast<LPARAM>(hItem))); }
    BOOL SelectItem(HTREEITEM hItem) { return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem))); }
    BOOL EnsureVisible(HTREEITEM hItem) { return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hItem))); }
    void SetImageList(const CImageList& list, int nType) {
        SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(nType), reinterpret_cast<LPARAM>(list.m_hImageList));
    }
};

class CToolBarCtrl : public CWnd {
public:
    int GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    BOOL InsertButton(int nIndex, const TBBUTTON& button) {
        return static_cast<BOOL>(SendMessage(TB_INSERTBUTTONW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)));
    }
    // Docks the bar again along its parent's edge (after the parent was resized).
    void AutoSize() { SendMessage(TB_AUTOSIZE); }
    BOOL SetButtonSize(SIZE size) { return static_cast<BOOL>(SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy))); }
};
