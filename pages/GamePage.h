// The "Game" tab: phone edition support, kept in propNameGameMode.
#pragma once

#include "app/base/OptionPage.h"

class CGamePage : public COptionPage {
public:
    CGamePage();
    ~CGamePage() override = default;

protected:
    CButton m_phoneEditionBox;
    int m_bPhoneEdition = 0;  // the box's check state
    DWORD m_dwStoredMode = 0;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
};
