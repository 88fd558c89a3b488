#include "framework/WinApp.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp(const wchar_t* pszAppName) : m_strRequestedName(pszAppName ? pszAppName : L""), m_pOuter(g_pApp) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = m_pOuter;
}

void CWinApp::InitApplication(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    m_strAppName = m_strRequestedName;
    if (m_strAppName.empty()) {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(hInstance, path, MAX_PATH);
        std::wstring name = path;
        size_t slash = name.find_last_of(L"\\/");
        if (slash != std::wstring::npos) name.erase(0, slash + 1);
        size_t dot = name.find_last_of(L'.');
        if (dot != std::wstring::npos) name.erase(dot);
        m_strAppName = name;
    }
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() { return 0; }

int CWinApp::DoMessageBox(HWND hOwner, const std::wstring& text, UINT nType) {
    return ::MessageBoxW(hOwner, text.c_str(), m_strAppName.c_str(), nType);
}

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp != nullptr && g_pApp->m_hInstance != nullptr ? g_pApp->m_hInstance : ::GetModuleHandleW(nullptr);
}

HWND AfxGetMainWnd() {
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->m_pMainWnd != nullptr ? pApp->m_pMainWnd->m_hWnd : nullptr;
}

int AfxMessageBox(const std::wstring& text, UINT nType) {
    CWinApp* pApp = AfxGetApp();
    HWND hOwner = AfxGetModalWnd();
    if (hOwner == nullptr) hOwner = AfxGetMainWnd();
    return pApp != nullptr ? pApp->DoMessageBox(hOwner, text, nType) : ::MessageBoxW(hOwner, text.c_str(), L"", nType);
}

int AfxWinMain(HINSTANCE hInstance) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) return -1;
    try {
        pApp->InitApplication(hInstance);
        if (!pApp->InitInstance()) {
            if (pApp->m_pMainWnd != nullptr) pApp->m_pMainWnd->DestroyWindow();
            return pApp->ExitInstance();
        }
        return pApp->Run();
    } catch (...) {
        return -1;
    }
}

void AfxEndAfterException() { ::PostQuitMessage(0); }
