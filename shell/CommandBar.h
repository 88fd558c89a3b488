// The handheld's command bar. On the desktop it is a toolbar along the bottom of its host.
#pragma once

#include "framework/Framework.h"

// The handheld's bar alignment bits; they mean nothing to a desktop toolbar.
constexpr DWORD kCommandBarAlignStyle = 0x2800;
// The platform's standard tool-bar id.
constexpr UINT kCommandBarId = 0xE800;
// Bar-style bits every page and dialog adds to its bar: the handheld's, kept in the bar's
// style word, which a desktop toolbar does not read.
constexpr DWORD kCommandBarStyleBits = 0x22;

class CCommandBar : public CToolBarCtrl {
public:
    // dwStyle: window style bits and the handheld's alignment bits.
    BOOL CreateBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // The handheld adds its standard buttons (close, help); the desktop bar has none to add.
    BOOL AddAdornments(DWORD dwFlags);
    // The handheld's bar style word; kept so that callers read and write it as there.
    DWORD GetBarStyle() const { return m_dwBarStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwBarStyle = dwStyle; }
    // The handheld's bar is a window of its own, brought in front of everything; the desktop's
    // sits among its host's controls and comes in front of them, and a control it overlaps no
    // longer paints over it.
    BOOL SetForegroundWindow();

private:
    DWORD m_dwBarStyle = 0;
};
