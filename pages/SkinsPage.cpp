#include "pages/SkinsPage.h"

#include "app/Help.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CSkinsPage, COptionPage)
END_MESSAGE_MAP()

CSkinsPage::CSkinsPage() : COptionPage(IDD_SKINS_PAGE, IDS_SKINS_TAB, kHelpSkins) {}
