// The "Screen Saver" tab of the options sheet.
#pragma once

#include "app/OptionPage.h"

class CScreenSaverPage : public COptionPage {
public:
    CScreenSaverPage();
    ~CScreenSaverPage() override = default;

protected:
    void OnExceptions();

    DECLARE_MESSAGE_MAP()
};
