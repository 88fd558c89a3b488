// Folder enumeration as the handheld's file system gives it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Calls visit for each entry that matches the pattern (for example "\Folder\*"), in the
// order the file system returns them. The desktop's "." and ".." entries are skipped: the
// handheld's enumeration has none. The enumeration is always closed, whatever visit does.
// FALSE when nothing could be enumerated at all.
BOOL ForEachFolderEntry(const std::wstring& pattern, const std::function<void(const WIN32_FIND_DATAW&)>& visit);
