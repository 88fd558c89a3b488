#include "pages/SkinsPage.h"

#include "app/base/Help.h"
#include "app/base/ModuleDir.h"
#include "resources/resource.h"
#include "settings/RegistryKey.h"
#include "settings/Schema.h"
#include "shell/FolderEnum.h"
#include "toolkit/AnchoredLayout.h"
#include "toolkit/ControlHook.h"

namespace {
constexpr wchar_t kDefaultSkin[] = L"Default skin";
constexpr wchar_t kSkinsFolderName[] = L"TimeSkins";
// A folder of the skins folder is a skin when it holds an entry of this name.
constexpr wchar_t kSkinMarker[] = L"Time_font.bmp";

std::wstring WithBackslash(std::wstring path) {
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}
}  // namespace

BEGIN_MESSAGE_MAP(CSkinsPage, COptionPage)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CSkinsPage::CSkinsPage() : COptionPage(IDD_SKINS_PAGE, IDS_SKINS_TAB, kHelpSkins) {}

void CSkinsPage::DoDataExchange(CDataExchange* pDX) {
    COptionPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SKINS_LIST, m_skinList);
}

BOOL CSkinsPage::OnInitDialog() {
    COptionPage::OnInitDialog();
    FillSkinList();
    m_skinList.SetFocus();
    HookControl(&m_skinList);
    return TRUE;
}

// The list is built once, when the page opens: the skins as the folder lists them, unsorted,
// and the stored one selected.
void CSkinsPage::FillSkinList() {
    m_skinList.ResetContent();
    m_vecSkinPaths.clear();
    m_skinList.AddString(kDefaultSkin);

    const std::wstring skinsFolder = WithBackslash(g_strModuleDir + kSkinsFolderName);
    ForEachFolderEntry(skinsFolder + L"*", [&](const WIN32_FIND_DATAW& entry) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
        auto path = std::make_unique<std::wstring>(WithBackslash(skinsFolder + entry.cFileName));
        if (::GetFileAttributesW((*path + kSkinMarker).c_str()) == INVALID_FILE_ATTRIBUTES) return;
        const int nIndex = m_skinList.AddString(entry.cFileName);
        if (nIndex < 0) return;
        m_skinList.SetItemData(nIndex, reinterpret_cast<LPARAM>(path.get()));
        m_vecSkinPaths.push_back(std::move(path));
    });

    std::wstring stored;
    {
        CRegistryKey key(kSchemaRoot, kGameKeyPath, TRUE, TRUE);
        stored = key.ReadString(kValueTimeSkin);
    }
    int nSelect = 0;
    for (int i = 1; i < m_skinList.GetCount() && nSelect == 0; ++i) {
        const auto* pPath = reinterpret_cast<const std::wstring*>(m_skinList.GetItemData(i));
        if (pPath != nullptr && EqualNoCase(*pPath, stored)) nSelect = i;
    }
    m_skinList.SetCurSel(nSelect);
}

void CSkinsPage::OnSize(UINT, int, int) {
    Default();
    const int s = GetScreenScale();
    AnchorWindow(m_skinList.m_hWnd, ANCHOR_RIGHT | ANCHOR_BOTTOM, 0, 0, 7 * s, 5 * s);
}

// The chosen skin's path, or an empty text for the default skin: never an absent value.
void CSkinsPage::OnOK() {
    std::wstring chosen;
    const int nSelected = m_skinList.GetCurSel();
    if (nSelected >= 0) {
        if (const auto* pPath = reinterpret_cast<const std::wstring*>(m_skinList.GetItemData(nSelected)))
            chosen = *pPath;
    }
    CRegistryKey key(kSchemaRoot, kGameKeyPath, TRUE, TRUE);
    key.WriteString(kValueTimeSkin, chosen.c_str());
    COptionPage::OnOK();
}
