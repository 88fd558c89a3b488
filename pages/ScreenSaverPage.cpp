#include "pages/ScreenSaverPage.h"

#include <algorithm>

#include "app/base/Help.h"
#include "dialogs/AdvancedOptionsDialog.h"
#include "dialogs/ExceptionsDialog.h"
#include "resources/resource.h"
#include "settings/RegistryKey.h"
#include "settings/Schema.h"
#include "toolkit/ControlHook.h"
#include "toolkit/ToolkitFonts.h"

BEGIN_MESSAGE_MAP(CScreenSaverPage, COptionPage)
    ON_BN_CLICKED(IDC_SS_ENABLE, UpdateEnabledControls)
    ON_BN_CLICKED(IDC_SS_EXCEPTIONS, OnExceptions)
    ON_BN_CLICKED(IDC_SS_MORE_OPTIONS, OnMoreOptions)
END_MESSAGE_MAP()

CScreenSaverPage::CScreenSaverPage() : COptionPage(IDD_SCREENSAVER_PAGE, IDS_SCREENSAVER_TAB, kHelpScreenSaver) {}

void CScreenSaverPage::DoDataExchange(CDataExchange* pDX) {
    COptionPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SS_MORE_OPTIONS, m_moreOptionsButton);
    DDX_Control(pDX, IDC_SS_EXCEPTIONS, m_exceptionsButton);
    DDX_Control(pDX, IDC_SS_TIMEOUT_LABEL, m_timeoutLabel);
    DDX_Control(pDX, IDC_SS_ENABLE, m_enableBox);
    DDX_Control(pDX, IDC_SS_AC_POWER_ONLY, m_acPowerBox);
    DDX_Control(pDX, IDC_SS_NO_FULL_SCREEN, m_noFullScreenBox);
    DDX_Check(pDX, IDC_SS_ENABLE, m_bEnabled);
    DDX_Check(pDX, IDC_SS_AC_POWER_ONLY, m_bAcPowerOnly);
    DDX_Check(pDX, IDC_SS_NO_FULL_SCREEN, m_bNoFullScreen);
}

BOOL CScreenSaverPage::OnInitDialog() {
    COptionPage::OnInitDialog();

    // Reading stores the defaults of absent values at once, whatever the user does next.
    LoadSettings(m_dwMode, m_dwTimeout);
    m_bEnabled = (m_dwMode & kModeDisabled) == 0;
    m_bAcPowerOnly = (m_dwMode & kModeAcPowerOnly) != 0;
    m_bNoFullScreen = (m_dwMode & kModeNotWhileFullScreen) != 0;
    UpdateData(FALSE);

    // The picker takes the place the template keeps for it; it shows the seconds as a time of
    // day, so a day or more shows as 23 hours and the minutes and seconds left over.
    m_timeoutPicker.Create(this, GetControlRect(m_hWnd, IDC_SS_TIMEOUT_PLACEHOLDER), L"HH':'mm':'ss", TRUE);
    SYSTEMTIME shown{};
    shown.wHour = static_cast<WORD>(std::min<DWORD>(m_dwTimeout / 3600, 0xFFFF));
    shown.wMinute = static_cast<WORD>(m_dwTimeout / 60 % 60);
    shown.wSecond = static_cast<WORD>(m_dwTimeout % 60);
    m_timeoutPicker.SetTime(shown);

    HookControl(&m_timeoutPicker);
    ApplyToolkitFonts(m_hWnd);
    UpdateData(FALSE);
    HookControls({&m_timeoutLabel, &m_enableBox, &m_acPowerBox, &m_noFullScreenBox, &m_exceptionsButton,
                  &m_moreOptionsButton});

    UpdateEnabledControls();
    return TRUE;
}

// What the screen saver's switch governs follows it; the switch itself stays enabled.
void CScreenSaverPage::UpdateEnabledControls() {
    UpdateData(TRUE);
    for (CWnd* pControl : std::initializer_list<CWnd*>{&m_acPowerBox, &m_noFullScreenBox, &m_timeoutPicker,
                                                      &m_timeoutLabel, &m_exceptionsButton, &m_moreOptionsButton})
        pControl->EnableWindow(m_bEnabled);
}

// Only the page's three bits change; the rest of the word, the island bit that the advanced
// options may have set included, goes back as it was read.
void CScreenSaverPage::OnOK() {
    UpdateData(TRUE);
    SYSTEMTIME shown{};
    m_timeoutPicker.GetTime(&shown);

    m_dwMode = m_bEnabled ? (m_dwMode & ~kModeDisabled) : (m_dwMode | kModeDisabled);
    m_dwMode = m_bAcPowerOnly ? (m_dwMode | kModeAcPowerOnly) : (m_dwMode & ~kModeAcPowerOnly);
    m_dwMode = m_bNoFullScreen ? (m_dwMode | kModeNotWhileFullScreen) : (m_dwMode & ~kModeNotWhileFullScreen);
    m_dwTimeout = (static_cast<DWORD>(shown.wHour) * 60 + shown.wMinute) * 60 + shown.wSecond;
    if (m_dwTimeout <= kMinimumScreenSaverTimeout) m_dwTimeout = kMinimumScreenSaverTimeout;

    SaveSettings(m_dwMode, m_dwTimeout);
    COptionPage::OnOK();
}

BOOL CScreenSaverPage::LoadSettings(DWORD& dwMode, DWORD& dwTimeout) {
    CRegistryKey key(kSchemaRoot, kSettingsKeyPath, TRUE, TRUE);
    dwMode = key.ReadDword(kValueScreenSaverMode, kDefaultScreenSaverMode);
    dwTimeout = key.ReadDword(kValueScreenSaverTimeout, kDefaultScreenSaverTimeout);
    return TRUE;
}

BOOL CScreenSaverPage::SaveSettings(DWORD dwMode, DWORD dwTimeout) {
    CRegistryKey key(kSchemaRoot, kSettingsKeyPath, TRUE, TRUE);
    key.WriteDword(kValueScreenSaverMode, dwMode);
    key.WriteDword(kValueScreenSaverTimeout, dwTimeout);
    return TRUE;
}

// The dialog keeps its own list; what it answers changes nothing here.
void CScreenSaverPage::OnExceptions() {
    CExceptionsDialog dialog;
    dialog.DoModal();
}

// The dialog edits the island bit of this page's mode; it is stored with the page's OK.
void CScreenSaverPage::OnMoreOptions() {
    CAdvancedOptionsDialog dialog;
    dialog.m_pdwMode = &m_dwMode;
    dialog.DoModal();
}
