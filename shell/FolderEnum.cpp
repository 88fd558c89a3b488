#include "shell/FolderEnum.h"

#include <winternl.h>

#include <algorithm>
#include <memory>

namespace {

// Enough for a few hundred entries a call.
constexpr DWORD kListingBuffer = 64 * 1024;

bool IsPseudoEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

struct FindCloser {
    void operator()(HANDLE hFind) const { ::FindClose(hFind); }
};

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using HandleOwner = std::unique_ptr<void, HandleCloser>;

// A folder opened for listing; null when it cannot be opened.
HandleOwner OpenFolder(const std::wstring& path) {
    HANDLE hFolder = ::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return HandleOwner(hFolder == INVALID_HANDLE_VALUE ? nullptr : hFolder);
}

FILETIME ToFileTime(const LARGE_INTEGER& time) {
    return FILETIME{time.LowPart, static_cast<DWORD>(time.HighPart)};
}

// An entry as FindFirstFileW and FindNextFileW give it.
void ToFindData(const FILE_ID_BOTH_DIR_INFO& entry, WIN32_FIND_DATAW& data) {
    data = WIN32_FIND_DATAW{};
    data.dwFileAttributes = entry.FileAttributes;
    data.ftCreationTime = ToFileTime(entry.CreationTime);
    data.ftLastAccessTime = ToFileTime(entry.LastAccessTime);
    data.ftLastWriteTime = ToFileTime(entry.LastWriteTime);
    data.nFileSizeHigh = static_cast<DWORD>(entry.EndOfFile.HighPart);
    data.nFileSizeLow = entry.EndOfFile.LowPart;
    if (entry.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) data.dwReserved0 = entry.EaSize;  // the reparse tag
    const size_t nName = std::min<size_t>(entry.FileNameLength / sizeof(WCHAR), MAX_PATH - 1);
    std::copy_n(entry.FileName, nName, data.cFileName);
    const size_t nShort = std::min<size_t>(static_cast<size_t>(entry.ShortNameLength) / sizeof(WCHAR), 13);
    std::copy_n(entry.ShortName, nShort, data.cAlternateFileName);
}

// Every entry of an open folder, from the first, in the order the file system returns them.
void ListFolder(HANDLE hFolder, const FolderEntryVisitor& visit) {
    // Whole entries, aligned as the system writes them.
    std::vector<unsigned long long> buffer(kListingBuffer / sizeof(unsigned long long));
    WIN32_FIND_DATAW data;
    FILE_INFO_BY_HANDLE_CLASS infoClass = FileIdBothDirectoryRestartInfo;
    while (::GetFileInformationByHandleEx(hFolder, infoClass, buffer.data(), kListingBuffer)) {
        infoClass = FileIdBothDirectoryInfo;
        const auto* pByte = reinterpret_cast<const unsigned char*>(buffer.data());
        for (;;) {
            const auto& entry = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(pByte);
            ToFindData(entry, data);
            if (!IsPseudoEntry(data.cFileName)) visit(data);
            if (entry.NextEntryOffset == 0) break;
            pByte += entry.NextEntryOffset;
        }
    }
}

}  // namespace

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

BOOL ForEachFolderEntry(const std::wstring& pattern, const FolderEntryVisitor& visit) {
    WIN32_FIND_DATAW data{};
    HANDLE hFind = ::FindFirstFileW(pattern.c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return FALSE;
    std::unique_ptr<void, FindCloser> closer(hFind);
    do {
        if (!IsPseudoEntry(data.cFileName)) visit(data);
    } while (::FindNextFileW(hFind, &data));
    return TRUE;
}

BOOL CFolderVisits::ListOnFirstVisit(const std::wstring& folderPath, const FolderEntryVisitor& visit) {
    const std::wstring path = folderPath.empty() ? L"\\" : folderPath;
    HandleOwner folder = OpenFolder(path);
    if (!folder || !FirstVisit(folder.get(), path)) return FALSE;
    ListFolder(folder.get(), visit);
    return TRUE;
}

// TRUE the first time the folder is seen, and for a folder that cannot be identified.
BOOL CFolderVisits::FirstVisit(HANDLE hFolder, const std::wstring& folderPath) {
    // The same number as GetFileInformationByHandle's file index, without the volume.
    IO_STATUS_BLOCK io{};
    FILE_INTERNAL_INFORMATION internal{};
    if (!NT_SUCCESS(::NtQueryInformationFile(hFolder, &io, &internal, sizeof(internal), FileInternalInformation)))
        return TRUE;
    std::vector<Seen>& same = m_seen[static_cast<unsigned long long>(internal.IndexNumber.QuadPart)];
    if (same.empty()) {
        same.push_back({folderPath, Seen::kNotAsked, 0});
        return TRUE;
    }
    DWORD volume = 0;
    if (!VolumeOf(hFolder, volume)) return TRUE;
    for (Seen& seen : same) {
        // One whose volume cannot be told is a folder that could not be identified: it matches
        // nothing, as it would not have been remembered.
        if (seen.state == Seen::kNotAsked) {
            HandleOwner earlier = OpenFolder(seen.path);
            seen.state = earlier && VolumeOf(earlier.get(), seen.volume) ? Seen::kKnown : Seen::kUnknown;
        }
        if (seen.state == Seen::kKnown && seen.volume == volume) return FALSE;
    }
    same.push_back({folderPath, Seen::kKnown, volume});
    return TRUE;
}

BOOL CFolderVisits::VolumeOf(HANDLE hFolder, DWORD& volume) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(hFolder, &info)) return FALSE;
    volume = info.dwVolumeSerialNumber;
    return TRUE;
}
