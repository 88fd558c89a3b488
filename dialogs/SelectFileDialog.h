// The program picker: the whole device as a tree of folders and of the files whose extension
// the caller lists; OK gives the chosen file's full path.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/base/OptionDialog.h"

// The picker's parameters and its result live here, so one picker is open at a time. Each
// construction sets all four; they keep their last values after the picker is gone.
extern std::wstring g_strPickerTitle;  // the header's title
extern std::wstring g_strPickedPath;   // the starting path; after OK the chosen file's full path
// Extensions of the files shown, without the dot, in any case; the caller's list, which must
// outlive the picker.
extern const std::vector<std::wstring>* g_pPickerExtensions;
// The image of file items. Folders have image 0, which is how a folder is told from a file, so
// this must not be 0.
extern int g_nPickerFileImage;

class CSelectFileDialog : public COptionDialog {
public:
    CSelectFileDialog(const std::wstring& startPath, const std::vector<std::wstring>* pExtensions, int nFileImage,
                      const std::wstring& title, CWnd* pParentWnd);
    ~CSelectFileDialog() override = default;

protected:
    CTreeCtrl m_tree;
    CImageList m_images;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy);
    void OnSelChanged(NMHDR* pHdr, LRESULT* pResult);
    void OnOK() override;

    DECLARE_MESSAGE_MAP()

private:
    HTREEITEM m_hRoot = nullptr;

    void FillTree();
    void ScanFolder(const std::wstring& prefix, const std::wstring& name, HTREEITEM hParent);
    BOOL IsListedFile(std::wstring_view name) const;
    void SelectStartingPath();
    // "\Folder\Program.exe" for a selected file; empty for a folder, the root or no selection.
    std::wstring GetSelectedPath() const;
};
