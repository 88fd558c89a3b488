// One registry key, held open for the length of one load or save.
#pragma once

#include <windows.h>

#include <string>

// Passed as the default of ReadDword: there is none. An absent value then reads as this very
// number and nothing is written back, so callers compare with it and pick their own fallback.
inline constexpr DWORD REGKEY_NO_DEFAULT = 0xDEF0;

// The registry functions the key class calls, and only those. The key class always goes
// through this table; it starts out holding the system's functions. Tests wrap an entry (the
// flush, say) to watch the calls and still pass them on to the real registry.
struct CRegistryEntryPoints {
    decltype(&::RegCreateKeyExW) m_pfnCreateKeyEx;
    decltype(&::RegOpenKeyExW) m_pfnOpenKeyEx;
    decltype(&::RegQueryValueExW) m_pfnQueryValueEx;
    decltype(&::RegSetValueExW) m_pfnSetValueEx;
    decltype(&::RegEnumValueW) m_pfnEnumValue;
    decltype(&::RegDeleteValueW) m_pfnDeleteValue;
    decltype(&::RegFlushKey) m_pfnFlushKey;
    decltype(&::RegCloseKey) m_pfnCloseKey;
};
CRegistryEntryPoints& GetRegistryEntryPoints();

// Reads never fail loudly: an absent or unreadable value gives the default. Writes report
// success, but nothing is lost when a caller ignores it.
class CRegistryKey {
public:
    // Opens the key, or with bCreate creates it when missing. When opening fails the object
    // holds no key: reads give their defaults and writes fail.
    CRegistryKey(HKEY hRoot, const wchar_t* pszPath, BOOL bCreate, BOOL bFlushOnClose);
    // Flushes the key when it was written to and the flush was asked for, then closes it.
    virtual ~CRegistryKey();

    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // The stored text up to its first null; the empty string when there is none.
    std::wstring ReadString(const wchar_t* pszName);
    // Stores a REG_SZ with its terminating null.
    BOOL WriteString(const wchar_t* pszName, const wchar_t* pszValue);
    // The stored four bytes; when they cannot be read, dwDefault, which is also written back
    // unless it is REGKEY_NO_DEFAULT.
    DWORD ReadDword(const wchar_t* pszName, DWORD dwDefault);
    BOOL WriteDword(const wchar_t* pszName, DWORD dwValue);

    // Value names by index, from the first; FALSE at the end or at a name longer than the
    // name buffer.
    BOOL EnumFirstValue(std::wstring& strName);
    BOOL EnumNextValue(std::wstring& strName);
    // Deletes a value; an enumeration in progress then goes on with the value that moved
    // into the deleted one's place, so deleting while enumerating visits every value once.
    BOOL DeleteValue(const wchar_t* pszName);

    // The longest value name enumeration can return, its terminating null included.
    static constexpr DWORD kMaxValueName = 260;

protected:
    HKEY m_hKey = nullptr;
    DWORD m_dwEnumIndex = 0;
    BOOL m_bFlushOnClose = FALSE;
    BOOL m_bModified = FALSE;

private:
    BOOL FetchValueName(std::wstring& strName);
};
