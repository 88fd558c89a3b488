#include "pages/ScreenSaverPage.h"

#include "app/Help.h"
#include "dialogs/ExceptionsDialog.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CScreenSaverPage, COptionPage)
    ON_BN_CLICKED(IDC_SS_EXCEPTIONS, OnExceptions)
END_MESSAGE_MAP()

CScreenSaverPage::CScreenSaverPage() : COptionPage(IDD_SCREENSAVER_PAGE, IDS_SCREENSAVER_TAB, kHelpScreenSaver) {}

// The dialog keeps its own list; what it answers changes nothing here.
void CScreenSaverPage::OnExceptions() {
    CExceptionsDialog dialog;
    dialog.DoModal();
}
