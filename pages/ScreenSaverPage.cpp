#include "pages/ScreenSaverPage.h"

#include "app/Help.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CScreenSaverPage, COptionPage)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

CScreenSaverPage::CScreenSaverPage() : COptionPage(IDD_SCREENSAVER_PAGE, IDS_SCREENSAVER_TAB) {}

BOOL CScreenSaverPage::OnHelpInfo(HELPINFO*) {
    ShowHelp(kHelpScreenSaver);
    return TRUE;
}
