#include "pages/GamePage.h"

#include "app/base/Help.h"
#include "resources/resource.h"
#include "settings/RegistryKey.h"
#include "settings/Schema.h"
#include "toolkit/ControlHook.h"

BEGIN_MESSAGE_MAP(CGamePage, COptionPage)
END_MESSAGE_MAP()

CGamePage::CGamePage() : COptionPage(IDD_GAME_PAGE, IDS_GAME_TAB, kHelpGame) {}

void CGamePage::DoDataExchange(CDataExchange* pDX) {
    COptionPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GAME_PHONE_EDITION, m_phoneEditionBox);
    DDX_Check(pDX, IDC_GAME_PHONE_EDITION, m_bPhoneEdition);
}

BOOL CGamePage::OnInitDialog() {
    COptionPage::OnInitDialog();
    HookControl(&m_phoneEditionBox);

    {
        CRegistryKey key(kSchemaRoot, kSettingsKeyPath, TRUE, TRUE);
        m_dwStoredMode = key.ReadDword(kValueGameMode, REGKEY_NO_DEFAULT);
    }
    // No value means phone edition support is on.
    if (m_dwStoredMode == REGKEY_NO_DEFAULT) m_dwStoredMode = kDefaultGameMode;

    m_bPhoneEdition = (m_dwStoredMode & kGameModePhoneEdition) ? BST_CHECKED : BST_UNCHECKED;
    UpdateData(FALSE);
    return TRUE;
}

void CGamePage::OnOK() {
    UpdateData(TRUE);
    // Exactly 1 or 0: other bits found in the value are dropped.
    m_dwStoredMode = m_bPhoneEdition ? kGameModePhoneEdition : 0;
    {
        CRegistryKey key(kSchemaRoot, kSettingsKeyPath, TRUE, TRUE);
        key.WriteDword(kValueGameMode, m_dwStoredMode);
    }
    COptionPage::OnOK();
}
