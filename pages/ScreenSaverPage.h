// The "Screen Saver" tab: the screen saver switched on or off, its timeout, its two start
// conditions, and the way to the exceptions and the advanced options.
#pragma once

#include "app/base/OptionPage.h"
#include "pages/TimeoutPicker.h"

class CScreenSaverPage : public COptionPage {
public:
    CScreenSaverPage();
    ~CScreenSaverPage() override = default;

protected:
    // The stored settings, in this order: the advanced options dialog is handed m_dwMode's
    // address and edits its island bit.
    DWORD m_dwMode = 0;     // propNameScreenSaverMode, a bit field (settings/Schema.h)
    DWORD m_dwTimeout = 0;  // propNameScreenSaverTimeout, in seconds

    int m_bEnabled = FALSE;       // box "Enable": mode bit 0x10 clear
    int m_bAcPowerOnly = FALSE;   // mode bit 0x02
    int m_bNoFullScreen = FALSE;  // mode bit 0x04

    CButton m_moreOptionsButton;
    CButton m_exceptionsButton;
    CStatic m_timeoutLabel;
    CButton m_enableBox;
    CButton m_acPowerBox;
    CButton m_noFullScreenBox;
    CTimeoutPicker m_timeoutPicker;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void UpdateEnabledControls();
    void OnExceptions();
    void OnMoreOptions();
    DECLARE_MESSAGE_MAP()

private:
    // Each opens the Settings key for the call; both answer TRUE (the store fails silently).
    static BOOL LoadSettings(DWORD& dwMode, DWORD& dwTimeout);
    static BOOL SaveSettings(DWORD dwMode, DWORD dwTimeout);
};
