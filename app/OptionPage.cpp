#include "app/OptionPage.h"

#include "app/TranscriberFriendlyPropertySheet.h"
#include "resources/resource.h"
#include "toolkit/StringResource.h"

// ------------------------------------------------------------------------------------------
// CCaptionedPropertyPage, CClosingPropertyPage

CCaptionedPropertyPage::CCaptionedPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CPropertyPage(nIDTemplate) {
    if (nIDCaption != 0) SetCaption(LoadStringResource(nIDCaption));
}

BEGIN_MESSAGE_MAP(CClosingPropertyPage, CPropertyPage)
END_MESSAGE_MAP()

void CClosingPropertyPage::TellSheetPageClosed() {
    CWnd* pParent = GetParent();
    if (pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CTranscriberFriendlyPropertySheet)))
        static_cast<CTranscriberFriendlyPropertySheet*>(pParent)->m_bPageClosed = TRUE;
}

void CClosingPropertyPage::OnOK() {
    TellSheetPageClosed();
    CCaptionedPropertyPage::OnOK();
}

void CClosingPropertyPage::OnCancel() {
    TellSheetPageClosed();
    CCaptionedPropertyPage::OnCancel();
}

// ------------------------------------------------------------------------------------------
// The command bar's "Cancel"

namespace {
// Every bar's button points at this one text: it must outlive the bars.
const wchar_t kCancelText[] = L"Cancel";
constexpr DWORD kBarStyleBits = 0x22;
}  // namespace

void SetUpCommandBarCancel(CCommandBar& bar) {
    int count = bar.GetButtonCount();
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = IDCANCEL;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = TBSTYLE_AUTOSIZE;
    button.dwData = 0;
    button.iString = reinterpret_cast<INT_PTR>(kCancelText);
    bar.InsertButton(count, button);
    bar.SetButtonSize(SIZE{23, 22});
}

BOOL CreateCancelCommandBar(CPageCommandBar& bar, CWnd* pHost) {
    if (!bar.CreateBar(pHost, WS_CHILD | WS_VISIBLE | kCommandBarAlignStyle, kCommandBarId)) return FALSE;
    if (!bar.AddAdornments(0)) return FALSE;
    bar.SetBarStyle(bar.GetBarStyle() | kBarStyleBits);
    SetUpCommandBarCancel(bar);
    return TRUE;
}

// ------------------------------------------------------------------------------------------
// COptionPage

BEGIN_MESSAGE_MAP(COptionPage, CClosingPropertyPage)
    ON_WM_MOVE()
END_MESSAGE_MAP()

COptionPage::COptionPage(UINT nIDTemplate, UINT nIDCaption)
    : CClosingPropertyPage(nIDTemplate, nIDCaption), m_adapter(L"_") {
    m_adapter.m_bSetFonts = TRUE;
    m_adapter.m_bSipPref = TRUE;
    m_adapter.m_bEnableMainWindow = TRUE;
    m_adapter.m_bSwallowTaps = TRUE;
    m_adapter.SetTitle(this, LoadStringResource(IDS_OPTIONS_TITLE));
}

BOOL COptionPage::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return m_adapter.HostWndMsg<CClosingPropertyPage>(this, message, wParam, lParam, pResult);
}

BOOL COptionPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // Two notifications of the handheld's controls that a page must never act on.
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (pHdr->code == static_cast<UINT>(NM_FIRST - 16) || pHdr->code == static_cast<UINT>(NM_FIRST - 50)) {
        *pResult = 1;
        return TRUE;
    }
    return CClosingPropertyPage::OnNotify(wParam, lParam, pResult);
}

void COptionPage::DoDataExchange(CDataExchange*) {}

BOOL COptionPage::OnInitDialog() {
    CClosingPropertyPage::OnInitDialog();
    if (!CreateCancelCommandBar(m_commandBar, this)) {
        EndDialog(IDCANCEL);
        return FALSE;
    }
    return TRUE;
}

// Only the page in front shows its bar.
BOOL COptionPage::OnSetActive() {
    m_commandBar.ShowWindow(SW_SHOW);
    m_commandBar.SetForegroundWindow();
    return CClosingPropertyPage::OnSetActive();
}

BOOL COptionPage::OnKillActive() {
    m_commandBar.ShowWindow(SW_HIDE);
    return CClosingPropertyPage::OnKillActive();
}

// A page pushed above the sheet's client top is pulled back down, keeping its bottom edge.
void COptionPage::OnMove(int, int y) {
    Default();
    if (y >= 0) return;
    RECT rc = WindowRectInParent(m_hWnd);
    rc.top += -y;
    MoveWindow(rc, TRUE);
}
