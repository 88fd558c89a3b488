// Folder enumeration as the handheld's file system gives it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

using FolderEntryVisitor = std::function<void(const WIN32_FIND_DATAW&)>;

// File names and paths as the file system tells them apart: without regard to case.
bool EqualNoCase(const std::wstring& a, const std::wstring& b);

// Calls visit for each entry that matches the pattern (for example "\Folder\*"), in the
// order the file system returns them. The desktop's "." and ".." entries are skipped: the
// handheld's enumeration has none. The enumeration is always closed, whatever visit does.
// FALSE when nothing could be enumerated at all.
BOOL ForEachFolderEntry(const std::wstring& pattern, const FolderEntryVisitor& visit);

// The desktop's file system can lead back into a folder through a link (a host symlink on
// Wine); the handheld's has no links. Lists each folder once, telling folders apart by their
// identity (volume and file index), whatever path reached them.
//
// The folder is opened once, to be identified and listed. Wine asks its mount manager, in
// another process, for a folder's volume: close to a millisecond each, most of a whole scan's
// time. A file index not seen before is a new folder whatever its volume, so the volume is asked
// only when a folder seen before has the same index; the earlier one's is then asked through the
// path that reached it.
class CFolderVisits {
public:
    // The first time the folder is seen, calls visit for each of its entries, as
    // ForEachFolderEntry does for "folder\*" (the same entries in the same order, without "."
    // and ".."), and closes the folder whatever visit does. A folder seen before is not listed
    // again; one that cannot be identified is listed each time. An empty path is the root, "\".
    // FALSE when nothing was listed.
    BOOL ListOnFirstVisit(const std::wstring& folderPath, const FolderEntryVisitor& visit);

private:
    struct Seen {
        std::wstring path;
        enum { kNotAsked, kKnown, kUnknown } state;  // of the volume
        DWORD volume;
    };
    // By file index; nearly always one folder each.
    std::unordered_map<unsigned long long, std::vector<Seen>> m_seen;

    BOOL FirstVisit(HANDLE hFolder, const std::wstring& folderPath);
    static BOOL VolumeOf(HANDLE hFolder, DWORD& volume);
};
