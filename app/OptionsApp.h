// The application object: runs the options sheet once and ends.
#pragma once

#include "framework/Framework.h"

class COptionsApp : public CWinApp {
public:
    COptionsApp() = default;
    ~COptionsApp() override = default;

    BOOL InitInstance() override;

protected:
    DECLARE_MESSAGE_MAP()
};
