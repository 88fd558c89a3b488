// Folder enumeration as the handheld's file system gives it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <unordered_set>

// Calls visit for each entry that matches the pattern (for example "\Folder\*"), in the
// order the file system returns them. The desktop's "." and ".." entries are skipped: the
// handheld's enumeration has none. The enumeration is always closed, whatever visit does.
// FALSE when nothing could be enumerated at all.
BOOL ForEachFolderEntry(const std::wstring& pattern, const std::function<void(const WIN32_FIND_DATAW&)>& visit);

// The desktop's file system can lead back into a folder through a link (a host symlink on
// Wine); the handheld's has no links. Remembers the folders seen by their identity (volume and
// file index), whatever path reached them.
class CFolderVisits {
public:
    // TRUE the first time the folder is seen, and for a folder that cannot be identified.
    BOOL FirstVisit(const std::wstring& folderPath);

private:
    struct Identity {
        DWORD volume, indexHigh, indexLow;
        bool operator==(const Identity&) const = default;
    };
    struct IdentityHash {
        size_t operator()(const Identity& id) const {
            return std::hash<unsigned long long>()((static_cast<unsigned long long>(id.indexHigh) << 32) | id.indexLow) ^
                   id.volume;
        }
    };
    std::unordered_set<Identity, IdentityHash> m_seen;
};
