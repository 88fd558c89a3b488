// Folder enumeration as the handheld's file system gives it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

using FolderEntryVisitor = std::function<void(const WIN32_FIND_DATAW&)>;

// File names and paths as the file system tells them apart: without regard to case.
bool EqualNoCase(std::wstring_view a, std::wstring_view b);

// Calls visit for each entry that matches the pattern (for example "\Folder\*"), in the
// order the file system returns them. The desktop's "." and ".." entries are skipped: the
// handheld's enumeration has none. The enumeration is always closed, whatever visit does.
// FALSE when nothing could be enumerated at all.
BOOL ForEachFolderEntry(const std::wstring& pattern, const FolderEntryVisitor& visit);

// Whether a walk of the file system goes into a folder entry. The handheld's file system has
// no links. A desktop one can lead back into an ancestor (a host symlink on Wine), and Wine
// lists such a link as a folder with FILE_ATTRIBUTE_REPARSE_POINT: it is not entered.
inline bool LeadsIntoFolder(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}
