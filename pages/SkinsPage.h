// The "Skins" tab of the options sheet.
#pragma once

#include "app/OptionPage.h"

class CSkinsPage : public COptionPage {
public:
    CSkinsPage();
    ~CSkinsPage() override = default;

protected:
    DECLARE_MESSAGE_MAP()
};
