#include "pages/TimeoutPicker.h"

#include <algorithm>

#include "resources/resource.h"
#include "shell/InputPanel.h"
#include "toolkit/AnchoredLayout.h"

namespace {
// WS_CHILD | WS_VISIBLE | WS_BORDER | DTS_TIMEFORMAT: a time with spin arrows, no calendar.
constexpr DWORD kPickerStyle = 0x50800009;
static_assert(kPickerStyle == (WS_CHILD | WS_VISIBLE | WS_BORDER | DTS_TIMEFORMAT));
// The common controls' version the picker is asked to behave as (CCM_SETVERSION).
constexpr WPARAM kPickerVersion = 0x20C;
constexpr int kPickerHeight = 20;
}  // namespace

BEGIN_MESSAGE_MAP(CTimeoutPicker, CWnd)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CTimeoutPicker::CTimeoutPicker() { ::GetLocalTime(&m_stBaseDate); }

BOOL CTimeoutPicker::Create(CWnd* pParentWnd, const RECT& rc, const wchar_t* pszFormat, BOOL bVersion) {
    if (pParentWnd == nullptr) return FALSE;
    RECT rcPicker = rc;
    rcPicker.bottom = rcPicker.top + kPickerHeight * GetScreenScale();
    if (!CreateEx(0, DATETIMEPICK_CLASSW, L"", kPickerStyle, rcPicker, pParentWnd, IDC_SS_TIMEOUT_PICKER))
        return FALSE;
    if (pszFormat != nullptr) SendMessage(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(pszFormat));
    if (bVersion) SendMessage(CCM_SETVERSION, kPickerVersion, 0);
    return TRUE;
}

void CTimeoutPicker::SetTime(const SYSTEMTIME& st) {
    SYSTEMTIME shown = m_stBaseDate;
    shown.wHour = std::min<WORD>(st.wHour, 23);
    shown.wMinute = std::min<WORD>(st.wMinute, 59);
    shown.wSecond = std::min<WORD>(st.wSecond, 59);
    shown.wMilliseconds = std::min<WORD>(st.wMilliseconds, 999);
    SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&shown));
}

LRESULT CTimeoutPicker::GetTime(SYSTEMTIME* pst) const {
    return SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(pst));
}

void CTimeoutPicker::OnSetFocus(HWND) {
    Default();
    SHSipPreference(m_hWnd, SIP_UP);
}

void CTimeoutPicker::OnKillFocus(HWND) {
    Default();
    SHSipPreference(m_hWnd, SIP_DOWN);
}
