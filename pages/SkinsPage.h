// The "Skins" tab of the options sheet.
#pragma once

#include "app/OptionPage.h"

class CSkinsPage : public CClosingPropertyPage {
public:
    CSkinsPage();
};
