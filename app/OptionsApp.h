// The application object: runs the options sheet once and ends.
#pragma once

#include "framework/Framework.h"

class COptionsApp : public CWinApp {
public:
    COptionsApp() = default;
    ~COptionsApp() override = default;

    BOOL InitInstance() override;
    // The handheld's boxes, which never come out wider than its screen.
    int DoMessageBox(HWND hOwner, const std::wstring& text, UINT nType) override;

protected:
    DECLARE_MESSAGE_MAP()
};
