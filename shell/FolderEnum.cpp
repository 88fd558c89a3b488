#include "shell/FolderEnum.h"

#include <winternl.h>

#include <memory>

namespace {

bool IsPseudoEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

struct FindCloser {
    void operator()(HANDLE hFind) const { ::FindClose(hFind); }
};

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};

HANDLE OpenFolder(const std::wstring& path) {
    return ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

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
    HANDLE hFolder = OpenFolder(folderPath);
    if (hFolder == INVALID_HANDLE_VALUE) return TRUE;
    std::unique_ptr<void, HandleCloser> closer(hFolder);
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
    closer.reset();
    for (Seen& seen : same) {
        // One whose volume cannot be told is a folder that could not be identified: it matches
        // nothing, as it would not have been remembered.
        if (seen.state == Seen::kNotAsked) {
            HANDLE hSeen = OpenFolder(seen.path);
            std::unique_ptr<void, HandleCloser> seenCloser(hSeen == INVALID_HANDLE_VALUE ? nullptr : hSeen);
            seen.state = seenCloser && VolumeOf(hSeen, seen.volume) ? Seen::kKnown : Seen::kUnknown;
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
