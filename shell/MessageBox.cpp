#include "shell/MessageBox.h"

HWND MessageTextOf(HWND hBox) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hBox, cls, 16);
    if (::lstrcmpW(cls, L"#32770") != 0) return nullptr;
    HWND hText = ::GetDlgItem(hBox, 0xFFFF);
    return hText != nullptr ? hText : ::GetDlgItem(hBox, 100);
}
