#include "framework/Controls.h"

#include "framework/WinApp.h"

std::wstring CListBox::GetText(int nIndex) const {
    LRESULT n = SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(nIndex));
    if (n == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = SendMessage(LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text.data()));
    text.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
    return text;
}

CImageList::~CImageList() {
    if (m_hImageList != nullptr) ImageList_Destroy(m_hImageList);
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    if (m_hImageList != nullptr) ImageList_Destroy(m_hImageList);
    m_hImageList = ImageList_LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(nBitmapID), cx, nGrow, crMask,
                                        IMAGE_BITMAP, LR_CREATEDIBSECTION);
    return m_hImageList != nullptr;
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR pszText, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    TVINSERTSTRUCTW tvis{};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = TVIF_TEXT;
    tvis.item.pszText = const_cast<LPWSTR>(pszText);
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&tvis)));
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR pszText, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
    TVINSERTSTRUCTW tvis{};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tvis.item.pszText = const_cast<LPWSTR>(pszText);
    tvis.item.iImage = nImage;
    tvis.item.iSelectedImage = nSelectedImage;
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&tvis)));
}

BOOL CTreeCtrl::GetItemSelectedImage(HTREEITEM hItem, int& nSelectedImage) const {
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_SELECTEDIMAGE;
    item.hItem = hItem;
    if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return FALSE;
    nSelectedImage = item.iSelectedImage;
    return TRUE;
}

std::wstring CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    wchar_t buffer[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = hItem;
    item.pszText = buffer;
    item.cchTextMax = MAX_PATH;
    if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
    return item.pszText != nullptr ? std::wstring(item.pszText) : std::wstring();
}
