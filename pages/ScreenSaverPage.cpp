#include "ScreenSaverPage.h"

#include "resources/resource.h"

CScreenSaverPage::CScreenSaverPage() : CClosingPropertyPage(IDD_SCREENSAVER_PAGE, IDS_SCREENSAVER_TAB) {}
