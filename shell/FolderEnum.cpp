#include "shell/FolderEnum.h"

#include <memory>

namespace {

bool IsPseudoEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

struct FindCloser {
    void operator()(HANDLE hFind) const { ::FindClose(hFind); }
};

}  // namespace

BOOL ForEachFolderEntry(const std::wstring& pattern, const std::function<void(const WIN32_FIND_DATAW&)>& visit) {
    WIN32_FIND_DATAW data{};
    HANDLE hFind = ::FindFirstFileW(pattern.c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return FALSE;
    std::unique_ptr<void, FindCloser> closer(hFind);
    do {
        if (!IsPseudoEntry(data.cFileName)) visit(data);
    } while (::FindNextFileW(hFind, &data));
    return TRUE;
}

BOOL CFolderVisits::FirstVisit(const std::wstring& folderPath) {
    HANDLE hFolder = ::CreateFileW(folderPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFolder == INVALID_HANDLE_VALUE) return TRUE;
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL bKnown = ::GetFileInformationByHandle(hFolder, &info);
    ::CloseHandle(hFolder);
    if (!bKnown) return TRUE;
    return m_seen.insert({info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow}).second;
}
