#include "pages/ScreenSaverPage.h"

#include "app/Help.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CScreenSaverPage, COptionPage)
END_MESSAGE_MAP()

CScreenSaverPage::CScreenSaverPage() : COptionPage(IDD_SCREENSAVER_PAGE, IDS_SCREENSAVER_TAB, kHelpScreenSaver) {}
