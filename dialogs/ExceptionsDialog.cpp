#include "dialogs/ExceptionsDialog.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "app/base/Help.h"
#include "dialogs/SelectFileDialog.h"
#include "resources/resource.h"
#include "settings/RegistryKey.h"
#include "settings/Schema.h"
#include "toolkit/AnchoredLayout.h"
#include "toolkit/ControlHook.h"
#include "toolkit/StringResource.h"

BEGIN_MESSAGE_MAP(CExceptionsDialog, COptionDialog)
    ON_BN_CLICKED(IDC_EXC_ADD, OnAdd)
    ON_BN_CLICKED(IDC_EXC_REMOVE, OnRemove)
    ON_LBN_SELCHANGE(IDC_EXC_LIST, UpdateRemoveButton)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CExceptionsDialog::CExceptionsDialog()
    : COptionDialog(IDD_EXCEPTIONS, nullptr, LoadStringResource(IDS_EXCEPTIONS_TITLE), kHelpExceptions) {}

void CExceptionsDialog::DoDataExchange(CDataExchange* pDX) {
    COptionDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EXC_LIST, m_list);
}

BOOL CExceptionsDialog::OnInitDialog() {
    if (!COptionDialog::OnInitDialog()) return FALSE;
    LoadList();
    UpdateRemoveButton();
    m_list.SetFocus();
    HookControl(&m_list);
    return TRUE;
}

// Every value of the key is an entry, whatever its name; the list box sorts them.
void CExceptionsDialog::LoadList() {
    m_list.ResetContent();
    CRegistryKey key(kSchemaRoot, kExceptionsKeyPath, TRUE, TRUE);
    std::wstring name;
    for (BOOL bMore = key.EnumFirstValue(name); bMore; bMore = key.EnumNextValue(name)) {
        const std::wstring text = key.ReadString(name.c_str());
        if (!text.empty()) m_list.AddString(text);
    }
}

// The picker gives a full path; the list keeps the program's file name.
void CExceptionsDialog::OnAdd() {
    const std::vector<std::wstring> extensions{L"exe"};
    CSelectFileDialog picker(L"", &extensions, 1, LoadStringResource(IDS_SELECT_PROGRAM_TITLE), this);
    if (picker.DoModal() != IDOK) return;

    std::wstring name = g_strPickedPath;
    if (!name.empty() && name.back() == L'\\') name.pop_back();
    const size_t slash = name.rfind(L'\\');
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    if (name.empty()) return;

    m_list.AddString(name);
    if (m_list.GetCurSel() < 0) m_list.SetCurSel(0);
    // Back to the list rather than "Add...", so that Enter now means OK.
    FocusList();
    UpdateRemoveButton();
}

// The item that moves into the removed one's place is selected, or the new last item.
void CExceptionsDialog::OnRemove() {
    int nIndex = m_list.GetCurSel();
    if (nIndex >= 0) {
        m_list.DeleteString(nIndex);
        const int nCount = m_list.GetCount();
        if (nIndex >= nCount) nIndex = nCount - 1;
        m_list.SetCurSel(nIndex);
        FocusList();
    }
    UpdateRemoveButton();
}

// As the dialog moves the focus, so that the button that had it is no longer the default.
void CExceptionsDialog::FocusList() { SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_list.m_hWnd), TRUE); }

void CExceptionsDialog::UpdateRemoveButton() { ::EnableWindow(GetDlgItem(IDC_EXC_REMOVE), m_list.GetCurSel() >= 0); }

void CExceptionsDialog::OnSize(UINT, int, int) {
    Default();
    if (m_list.m_hWnd == nullptr) return;  // sized as it is made: no control is there yet
    const int s = GetScreenScale();
    AnchorWindow(m_list.m_hWnd, ANCHOR_RIGHT | ANCHOR_BOTTOM, 0, 0, 95 * s, 5 * s);
    for (int nID : {IDC_EXC_ADD, IDC_EXC_REMOVE})
        AnchorWindow(GetDlgItem(nID), ANCHOR_RIGHT | ANCHOR_KEEP_WIDTH, 0, 0, 10 * s, 0);
}

void CExceptionsDialog::OnOK() {
    SaveList();
    COptionDialog::OnOK();
}

// The whole key is rewritten: every value goes, whatever its name, then one value per entry
// named by its position ("  0", "  1", ...), in the list's order. The entries' texts are read
// first, so that nothing is allocated once the first old value is gone: running out of memory
// then ends the program with the stored list as it was, never half rewritten.
void CExceptionsDialog::SaveList() {
    std::vector<std::wstring> texts(static_cast<size_t>(std::max(m_list.GetCount(), 0)));
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = m_list.GetText(static_cast<int>(i));

    CRegistryKey key(kSchemaRoot, kExceptionsKeyPath, TRUE, TRUE);
    std::vector<std::wstring> names;
    std::wstring name;
    for (BOOL bMore = key.EnumFirstValue(name); bMore; bMore = key.EnumNextValue(name)) names.push_back(name);
    for (const std::wstring& old : names) key.DeleteValue(old.c_str());

    for (size_t i = 0; i < texts.size(); ++i) {
        wchar_t valueName[16] = {};
        std::swprintf(valueName, std::size(valueName), kExceptionNameFormat, static_cast<int>(i));
        key.WriteString(valueName, texts[i].c_str());
    }
}
