#include "app/Help.h"

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

void PrepareStandaloneDialog(HWND hDlg) {
    // The handheld's preparation adds style bit 0x00010000 and calls AYGSHELL ordinal 69 with the
    // value 2. On the desktop that bit is WS_MAXIMIZEBOX and the shell call does not exist, and
    // the dialog's own OK and Cancel buttons already do the work, so there is nothing to do.
    (void)hDlg;
}
