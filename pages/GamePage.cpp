#include "GamePage.h"

#include "resources/resource.h"

CGamePage::CGamePage() : CClosingPropertyPage(IDD_GAME_PAGE, IDS_GAME_TAB) {}
