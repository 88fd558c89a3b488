// The "Game" tab of the options sheet.
#pragma once

#include "app/OptionPage.h"

class CGamePage : public CClosingPropertyPage {
public:
    CGamePage();
};
