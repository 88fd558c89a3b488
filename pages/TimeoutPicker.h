// The screen saver's timeout as the user edits it: the platform's time picker showing a
// duration as a time of day, "HH:mm:ss" with spin arrows, from 00:00:00 to 23:59:59.
#pragma once

#include "framework/Framework.h"

class CTimeoutPicker : public CWnd {
public:
    // Records today's date: every time shown carries it.
    CTimeoutPicker();
    ~CTimeoutPicker() override = default;

    // Makes the control in the parent over rc (the parent's client pixels), 20 pixels high at
    // the screen's scale whatever rc's height. pszFormat: the display format, or null for the
    // control's own; bVersion: ask the control for its handheld behaviour. FALSE without a
    // parent or when no window was made.
    BOOL Create(CWnd* pParentWnd, const RECT& rc, const wchar_t* pszFormat, BOOL bVersion);
    // Shows the time-of-day fields of st, each limited to its range on its own (hour 25 shows
    // as 23, minute 75 as 59: nothing is carried); the date stays the recorded one.
    void SetTime(const SYSTEMTIME& st);
    // The control's time; the answer is the control's (GDT_VALID when it held one).
    LRESULT GetTime(SYSTEMTIME* pst) const;

protected:
    SYSTEMTIME m_stBaseDate{};

    // The input panel comes up while the picker has the focus.
    void OnSetFocus(HWND hOldFocus);
    void OnKillFocus(HWND hNewFocus);
    DECLARE_MESSAGE_MAP()
};
