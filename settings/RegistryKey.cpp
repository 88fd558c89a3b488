#include "settings/RegistryKey.h"

#include <vector>

#include "shell/RegistryAccess.h"

CRegistryEntryPoints& GetRegistryEntryPoints() {
    // Made on first use, so a key built during static initialisation still finds it filled.
    static CRegistryEntryPoints entryPoints{::RegCreateKeyExW, ::RegOpenKeyExW, ::RegQueryValueExW,
                                            ::RegSetValueExW,  ::RegEnumValueW, ::RegDeleteValueW,
                                            ::RegFlushKey,     ::RegCloseKey};
    return entryPoints;
}

CRegistryKey::CRegistryKey(HKEY hRoot, const wchar_t* pszPath, BOOL bCreate, BOOL bFlushOnClose)
    : m_bFlushOnClose(bFlushOnClose) {
    const CRegistryEntryPoints& reg = GetRegistryEntryPoints();
    HKEY hKey = nullptr;
    LSTATUS status;
    if (bCreate) {
        DWORD dwDisposition = 0;
        status = reg.m_pfnCreateKeyEx(hRoot, pszPath, 0, nullptr, 0, kRegistryKeyAccess, nullptr, &hKey,
                                      &dwDisposition);
    } else {
        status = reg.m_pfnOpenKeyEx(hRoot, pszPath, 0, kRegistryKeyAccess, &hKey);
    }
    if (status == ERROR_SUCCESS) m_hKey = hKey;
}

CRegistryKey::~CRegistryKey() {
    if (!m_hKey) return;
    const CRegistryEntryPoints& reg = GetRegistryEntryPoints();
    // Only writes make a flush worth its cost; default write-backs and deletions can wait.
    if (m_bFlushOnClose && m_bModified) reg.m_pfnFlushKey(m_hKey);
    reg.m_pfnCloseKey(m_hKey);
}

std::wstring CRegistryKey::ReadString(const wchar_t* pszName) {
    if (!pszName || !m_hKey) return {};
    const CRegistryEntryPoints& reg = GetRegistryEntryPoints();
    DWORD dwType = REG_SZ;
    DWORD cbData = 0;
    if (reg.m_pfnQueryValueEx(m_hKey, pszName, nullptr, &dwType, nullptr, &cbData) != ERROR_SUCCESS) return {};
    // The size is in bytes, so this holds the text and a null even when none was stored with it.
    std::vector<wchar_t> buffer(static_cast<size_t>(cbData) + 1, L'\0');
    if (reg.m_pfnQueryValueEx(m_hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(buffer.data()),
                              &cbData) != ERROR_SUCCESS)
        return {};
    return std::wstring(buffer.data());
}

BOOL CRegistryKey::WriteString(const wchar_t* pszName, const wchar_t* pszValue) {
    if (!pszName || !pszValue || !m_hKey) return FALSE;
    m_bModified = TRUE;
    size_t cbValue = (wcslen(pszValue) + 1) * sizeof(wchar_t);
    if (cbValue > MAXDWORD) return FALSE;
    return GetRegistryEntryPoints().m_pfnSetValueEx(m_hKey, pszName, 0, REG_SZ,
                                                    reinterpret_cast<const BYTE*>(pszValue),
                                                    static_cast<DWORD>(cbValue)) == ERROR_SUCCESS;
}

DWORD CRegistryKey::ReadDword(const wchar_t* pszName, DWORD dwDefault) {
    if (!m_hKey) return dwDefault;
    const CRegistryEntryPoints& reg = GetRegistryEntryPoints();
    // Whatever type is stored, four bytes or fewer are taken as the number; a shorter value
    // leaves the upper bytes zero. Anything longer does not fit and counts as absent.
    DWORD dwValue = 0;
    DWORD dwType = REG_DWORD;
    DWORD cbData = sizeof(dwValue);
    if (reg.m_pfnQueryValueEx(m_hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue), &cbData) ==
        ERROR_SUCCESS)
        return dwValue;
    // Written back so the other programs reading the key see the value in force. Not a change
    // of the caller's, so it does not make the key worth a flush.
    if (dwDefault != REGKEY_NO_DEFAULT)
        reg.m_pfnSetValueEx(m_hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwDefault),
                            sizeof(dwDefault));
    return dwDefault;
}

BOOL CRegistryKey::WriteDword(const wchar_t* pszName, DWORD dwValue) {
    if (!pszName || !m_hKey) return FALSE;
    m_bModified = TRUE;
    return GetRegistryEntryPoints().m_pfnSetValueEx(m_hKey, pszName, 0, REG_DWORD,
                                                    reinterpret_cast<const BYTE*>(&dwValue),
                                                    sizeof(dwValue)) == ERROR_SUCCESS;
}

BOOL CRegistryKey::EnumFirstValue(std::wstring& strName) {
    m_dwEnumIndex = 0;
    return FetchValueName(strName);
}

BOOL CRegistryKey::EnumNextValue(std::wstring& strName) {
    ++m_dwEnumIndex;
    return FetchValueName(strName);
}

BOOL CRegistryKey::FetchValueName(std::wstring& strName) {
    strName.clear();
    if (!m_hKey) return FALSE;
    wchar_t name[kMaxValueName] = {};
    DWORD cchName = kMaxValueName;
    // Names only: a longer name does not fit and ends the enumeration.
    if (GetRegistryEntryPoints().m_pfnEnumValue(m_hKey, m_dwEnumIndex, name, &cchName, nullptr, nullptr, nullptr,
                                                nullptr) != ERROR_SUCCESS)
        return FALSE;
    strName.assign(name, wcsnlen(name, kMaxValueName - 1));
    return TRUE;
}

BOOL CRegistryKey::DeleteValue(const wchar_t* pszName) {
    // The values behind the deleted one move down by one; stepping back keeps the next
    // EnumNextValue on the value that took its place. From the first value this wraps round
    // to the largest index, and the next step brings it back to 0.
    --m_dwEnumIndex;
    if (!m_hKey) return FALSE;
    return GetRegistryEntryPoints().m_pfnDeleteValue(m_hKey, pszName) == ERROR_SUCCESS;
}
