// The options sheet: "Game", "Screen Saver" and "Skins".
#pragma once

#include "app/base/TranscriberFriendlyPropertySheet.h"
#include "pages/GamePage.h"
#include "pages/ScreenSaverPage.h"
#include "pages/SkinsPage.h"

class COptionsSheet : public CTranscriberFriendlyPropertySheet {
public:
    COptionsSheet(const wchar_t* pszCaption, CWnd* pParentWnd, UINT iSelectPage);

    // Constructed in this order; the tabs come in another (see the constructor).
    CScreenSaverPage m_screenSaverPage;
    CGamePage m_gamePage;
    CSkinsPage m_skinsPage;

protected:
    void OnClose();
    DECLARE_MESSAGE_MAP()
};
