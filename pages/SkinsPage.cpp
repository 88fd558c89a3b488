#include "SkinsPage.h"

#include "resources/resource.h"

CSkinsPage::CSkinsPage() : CClosingPropertyPage(IDD_SKINS_PAGE, IDS_SKINS_TAB) {}
