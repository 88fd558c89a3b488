#include "dialogs/SelectFileDialog.h"

#include "app/base/Help.h"
#include "resources/resource.h"
#include "shell/FolderEnum.h"
#include "shell/ShellControls.h"
#include "toolkit/AnchoredLayout.h"
#include "toolkit/ControlHook.h"

std::wstring g_strPickerTitle;
std::wstring g_strPickedPath;
const std::vector<std::wstring>* g_pPickerExtensions = nullptr;
int g_nPickerFileImage = 1;

namespace {

constexpr COLORREF kImageMask = RGB(255, 0, 255);
constexpr int kFolderImage = 0;

// A path names a file when there is one and it does not end in a folder's backslash.
bool IsAcceptable(const std::wstring& path) { return !path.empty() && path.back() != L'\\'; }

}  // namespace

BEGIN_MESSAGE_MAP(CSelectFileDialog, COptionDialog)
    ON_WM_SIZE()
    ON_NOTIFY(TVN_SELCHANGEDW, IDC_PICKER_TREE, OnSelChanged)
END_MESSAGE_MAP()

CSelectFileDialog::CSelectFileDialog(const std::wstring& startPath, const std::vector<std::wstring>* pExtensions,
                                     int nFileImage, const std::wstring& title, CWnd* pParentWnd)
    : COptionDialog(IDD_SELECT_FILE, pParentWnd, L"_", kHelpSelectProgram, FALSE) {
    g_strPickedPath = startPath;
    g_pPickerExtensions = pExtensions;
    g_nPickerFileImage = nFileImage;
    g_strPickerTitle = title;
}

void CSelectFileDialog::DoDataExchange(CDataExchange* pDX) {
    COptionDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PICKER_TREE, m_tree);
}

// The whole device is scanned before the dialog shows, under the wait cursor.
BOOL CSelectFileDialog::OnInitDialog() {
    CWaitCursor wait;
    COptionDialog::OnInitDialog();

    // Below the header, with the side borders just outside the client area, until the first
    // resize lays the dialog out.
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    m_tree.MoveWindow(RECT{-1, 24, rc.right + 1, rc.bottom - 40});

    m_images.Create(IDB_PICKER_IMAGES, 16, 1, kImageMask);
    m_tree.SetImageList(m_images, TVSIL_NORMAL);

    FillTree();
    SelectStartingPath();
    m_chrome.m_adapter.SetTitle(this, g_strPickerTitle);
    HookControl(&m_tree);
    PrepareStandaloneDialog(m_hWnd);
    return TRUE;
}

void CSelectFileDialog::FillTree() {
    m_hRoot = m_tree.InsertItem(L"\\", TVI_ROOT, TVI_FIRST);
    if (m_hRoot == nullptr) return;
    ScanFolder(L"", L"", m_hRoot);
    m_tree.Expand(m_hRoot, TVE_EXPAND);
}

// Folders come first in the order the file system gives them; each file goes in right after
// the last folder, so files end up in the reverse of that order. Every folder is entered at once.
void CSelectFileDialog::ScanFolder(const std::wstring& prefix, const std::wstring& name, HTREEITEM hParent) {
    const std::wstring folder = prefix + name;
    HTREEITEM hAfter = TVI_FIRST;
    ForEachFolderEntry(folder + L"\\*", [&](const WIN32_FIND_DATAW& entry) {
        const bool bFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!bFolder && !IsListedFile(entry.cFileName)) return;
        const int nImage = bFolder ? kFolderImage : g_nPickerFileImage;
        HTREEITEM hItem = m_tree.InsertItem(entry.cFileName, nImage, nImage, hParent, hAfter);
        if (!bFolder || hItem == nullptr) return;
        hAfter = hItem;
        if (LeadsIntoFolder(entry)) ScanFolder(folder + L"\\", entry.cFileName, hItem);
    });
}

// Read in place: the scan asks this of every file on the device.
BOOL CSelectFileDialog::IsListedFile(std::wstring_view name) const {
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos || g_pPickerExtensions == nullptr) return FALSE;
    const std::wstring_view extension = name.substr(dot + 1);
    for (const std::wstring& listed : *g_pPickerExtensions)
        if (EqualNoCase(extension, listed)) return TRUE;
    return FALSE;
}

// Walks down the tree along the path's components as far as they are found; selecting the item
// reached sets the OK button through the selection notification.
void CSelectFileDialog::SelectStartingPath() {
    if (m_hRoot == nullptr) return;
    const std::wstring path = g_strPickedPath.empty() ? L"\\" : g_strPickedPath;
    HTREEITEM hCurrent = m_hRoot;
    for (size_t p = 1; p < path.size();) {
        size_t end = path.find(L'\\', p);
        if (end == std::wstring::npos) end = path.size();
        const std::wstring component = path.substr(p, end - p);
        HTREEITEM hChild = m_tree.GetChildItem(hCurrent);
        while (hChild != nullptr && !EqualNoCase(m_tree.GetItemText(hChild), component))
            hChild = m_tree.GetNextSiblingItem(hChild);
        if (hChild == nullptr) break;
        m_tree.Expand(hCurrent, TVE_EXPAND);
        hCurrent = hChild;
        p = end + 1;
    }
    m_tree.EnsureVisible(hCurrent);
    m_tree.SelectItem(hCurrent);
}

std::wstring CSelectFileDialog::GetSelectedPath() const {
    HTREEITEM hItem = m_tree.GetSelectedItem();
    int nImage = kFolderImage;
    if (hItem == nullptr || !m_tree.GetItemSelectedImage(hItem, nImage) || nImage == kFolderImage) return {};
    std::wstring path;
    for (; hItem != nullptr; hItem = m_tree.GetParentItem(hItem)) {
        if (!path.empty()) path.insert(0, 1, L'\\');
        if (hItem != m_hRoot) path.insert(0, m_tree.GetItemText(hItem));
    }
    return path;
}

void CSelectFileDialog::OnSize(UINT, int, int) {
    Default();
    const int s = GetScreenScale();
    AnchorWindow(m_tree.m_hWnd, ANCHOR_LEFT | ANCHOR_TOP | ANCHOR_RIGHT | ANCHOR_BOTTOM, -s, 24 * s, -s, 30 * s);
    const UINT nButton = ANCHOR_RIGHT | ANCHOR_BOTTOM | ANCHOR_KEEP_WIDTH | ANCHOR_KEEP_HEIGHT;
    AnchorWindow(GetDlgItem(IDCANCEL), nButton, 0, 0, 5 * s, 5 * s);
    AnchorWindow(GetDlgItem(IDOK), nButton, 0, 0, 105 * s, 5 * s);
}

void CSelectFileDialog::OnSelChanged(NMHDR*, LRESULT* pResult) {
    ::EnableWindow(GetDlgItem(IDOK), IsAcceptable(GetSelectedPath()));
    *pResult = 0;
}

// OK with a folder selected keeps the dialog open.
void CSelectFileDialog::OnOK() {
    g_strPickedPath = GetSelectedPath();
    if (IsAcceptable(g_strPickedPath)) COptionDialog::OnOK();
}
