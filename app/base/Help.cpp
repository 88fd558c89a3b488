#include "app/base/Help.h"

#include "framework/Wnd.h"
#include "shell/Process.h"

void ShowHelp(const wchar_t* pszCommandLine) {
    ShellCreateProcess(L"PegHelp.exe", pszCommandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                       nullptr);
}

RECT GetControlRect(HWND hParent, int nID) {
    RECT rc{0, 0, 0, 0};
    if (hParent == nullptr || nID <= 0) return rc;
    HWND hControl = ::GetDlgItem(hParent, nID);
    return hControl != nullptr ? WindowRectInParent(hControl) : rc;
}
