#include "tests/ToolkitHost.h"

#include "tests/Harness.h"
#include "tests/ToolkitTestIds.h"
#include "toolkit/ControlHook.h"

BEGIN_MESSAGE_MAP(CTapRecordingButton, CButton)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CToolkitHost, CDialog)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
END_MESSAGE_MAP()

CToolkitHost::CToolkitHost(const wchar_t* pszTitle, CWnd* pParent)
    : CDialog(IDD_TOOLKIT_HOST, pParent), m_adapter(L"_") {
    m_adapter.m_bSetFonts = TRUE;
    m_adapter.m_bSipPref = TRUE;
    m_adapter.m_bEnableMainWindow = TRUE;
    m_adapter.m_bSwallowTaps = TRUE;
    m_adapter.SetTitle(this, pszTitle);
}

void CToolkitHost::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_TOOLKIT_BROWSE, m_browse);
    DDX_Control(pDX, IDC_TOOLKIT_CHECK, m_check);
}

BOOL CToolkitHost::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_bHookControls) {
        HookControl(&m_browse);
        HookControl(&m_check);
    }
    return TRUE;
}

BOOL CToolkitHost::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return m_adapter.HostWndMsg<CDialog>(this, message, wParam, lParam, pResult);
}

LRESULT CToolkitHost::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        ++m_nDefaultPaints;
        if (m_adapter.m_ps.hdc != nullptr) ++m_nDefaultPaintsInPaint;
    } else if (message == WM_SETFONT) {
        m_hSetFont = reinterpret_cast<HFONT>(wParam);
    }
    return CDialog::DefWindowProc(message, wParam, lParam);
}

void CToolkitHost::RunWith(const std::function<void()>& body) {
    OnNextIdle([this, body] {
        body();
        EndDialog(IDCANCEL);
    });
    DoModal();
}

void CToolkitHost::SizeClientAndPaint(int cx, int cy) {
    RECT rcWindow, rcClient;
    ::GetWindowRect(m_hWnd, &rcWindow);
    ::GetClientRect(m_hWnd, &rcClient);
    int cxFrame = (rcWindow.right - rcWindow.left) - rcClient.right;
    int cyFrame = (rcWindow.bottom - rcWindow.top) - rcClient.bottom;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, cx + cxFrame, cy + cyFrame, SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

POINT CToolkitHost::BackgroundPoint() const {
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return POINT{rc.right - 12, rc.bottom - 6};
}

CClientPixels::CClientPixels(HWND hWnd) {
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    m_cx = rc.right;
    m_cy = rc.bottom;
    if (m_cx <= 0 || m_cy <= 0) return;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = m_cx;
    bmi.bmiHeader.biHeight = -m_cy;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HDC hdcWindow = ::GetDC(hWnd);
    HDC hdcMem = ::CreateCompatibleDC(hdcWindow);
    HBITMAP hBitmap = ::CreateDIBSection(hdcMem, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap != nullptr) {
        HGDIOBJ hOld = ::SelectObject(hdcMem, hBitmap);
        ::BitBlt(hdcMem, 0, 0, m_cx, m_cy, hdcWindow, 0, 0, SRCCOPY);
        ::GdiFlush();
        const DWORD* p = static_cast<const DWORD*>(pBits);
        m_bits.assign(p, p + static_cast<size_t>(m_cx) * static_cast<size_t>(m_cy));
        ::SelectObject(hdcMem, hOld);
        ::DeleteObject(hBitmap);
    }
    ::DeleteDC(hdcMem);
    ::ReleaseDC(hWnd, hdcWindow);
}

COLORREF CClientPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_cx || y >= m_cy || m_bits.empty()) return CLR_INVALID;
    DWORD v = m_bits[static_cast<size_t>(y) * static_cast<size_t>(m_cx) + static_cast<size_t>(x)];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

std::vector<int> CClientPixels::RowsOf(int x, COLORREF color, int cy) const {
    std::vector<int> rows;
    for (int y = 0; y < cy && y < m_cy; ++y)
        if (At(x, y) == color) rows.push_back(y);
    return rows;
}

std::vector<int> CClientPixels::RowsWith(COLORREF color, int cy) const {
    std::vector<int> rows;
    for (int y = 0; y < cy && y < m_cy; ++y)
        for (int x = 0; x < m_cx; ++x)
            if (At(x, y) == color) {
                rows.push_back(y);
                break;
            }
    return rows;
}

std::vector<int> CClientPixels::ColumnsWith(COLORREF color, int cy) const {
    std::vector<int> columns;
    for (int x = 0; x < m_cx; ++x)
        for (int y = 0; y < cy && y < m_cy; ++y)
            if (At(x, y) == color) {
                columns.push_back(x);
                break;
            }
    return columns;
}

FontFacts FontOf(HWND hWnd) {
    FontFacts facts{reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)), 0, 0};
    LOGFONTW lf{};
    if (facts.hFont != nullptr && ::GetObjectW(facts.hFont, sizeof(lf), &lf) == sizeof(lf)) {
        facts.nWeight = lf.lfWeight;
        facts.nHeight = lf.lfHeight;
    }
    return facts;
}
