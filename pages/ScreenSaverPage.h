// The "Screen Saver" tab of the options sheet.
#pragma once

#include "app/OptionPage.h"

class CScreenSaverPage : public CClosingPropertyPage {
public:
    CScreenSaverPage();
};
