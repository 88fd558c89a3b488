#include "app/base/OptionChrome.h"

#include "app/base/Help.h"

namespace {
// Every bar's button points at this one text: it must outlive the bars.
const wchar_t kCancelText[] = L"Cancel";

// Appends the text button "Cancel" (command IDCANCEL) to a bar.
void SetUpCommandBarCancel(CCommandBar& bar) {
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = IDCANCEL;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = TBSTYLE_AUTOSIZE;
    button.dwData = 0;
    button.iString = reinterpret_cast<INT_PTR>(kCancelText);
    bar.InsertButton(bar.GetButtonCount(), button);
    bar.SetButtonSize(SIZE{23, 22});
    // Its height is final from here on: windows lay themselves out above it.
    bar.AutoSize();
}
}  // namespace

COptionChrome::COptionChrome(const std::wstring& title, const wchar_t* pszHelp, CScreenFit::Host host)
    : m_adapter(L"_"), m_pszHelp(pszHelp), m_screenFit(host) {
    m_adapter.m_bSetFonts = TRUE;
    m_adapter.m_bSipPref = TRUE;
    m_adapter.m_bEnableMainWindow = TRUE;
    m_adapter.m_bSwallowTaps = TRUE;
    m_adapter.SetTitle(nullptr, title);
}

BOOL COptionChrome::CreateCommandBar(CDialog* pHost) {
    if (!m_commandBar.CreateBar(pHost, WS_CHILD | WS_VISIBLE | kCommandBarAlignStyle, kCommandBarId) ||
        !m_commandBar.AddAdornments(0)) {
        pHost->EndDialog(IDCANCEL);
        return FALSE;
    }
    m_commandBar.SetBarStyle(m_commandBar.GetBarStyle() | kCommandBarStyleBits);
    SetUpCommandBarCancel(m_commandBar);
    m_commandBar.SetForegroundWindow();
    return TRUE;
}

BOOL COptionChrome::ShowHelp() const {
    ::ShowHelp(m_pszHelp);
    return TRUE;
}
