#include "shell/FolderEnum.h"

#include <memory>

namespace {

bool IsPseudoEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

struct CFindCloser {
    void operator()(HANDLE hFind) const { ::FindClose(hFind); }
};

}  // namespace

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

BOOL ForEachFolderEntry(const std::wstring& pattern, const FolderEntryVisitor& visit) {
    WIN32_FIND_DATAW data{};
    HANDLE hFind = ::FindFirstFileW(pattern.c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return FALSE;
    std::unique_ptr<void, CFindCloser> closer(hFind);
    do {
        if (!IsPseudoEntry(data.cFileName)) visit(data);
    } while (::FindNextFileW(hFind, &data));
    return TRUE;
}
