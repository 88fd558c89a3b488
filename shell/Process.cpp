#include "shell/Process.h"

#include <string>
#include <vector>

namespace {

// The handheld finds a program named without a folder in \Windows; the desktop's CreateProcessW
// looks only in the current folder. SearchPathW also covers the system folders.
std::wstring FindImage(LPCWSTR pszImageName) {
    wchar_t found[MAX_PATH] = {};
    DWORD length = ::SearchPathW(nullptr, pszImageName, nullptr, MAX_PATH, found, nullptr);
    if (length > 0 && length < MAX_PATH) return found;
    return pszImageName;
}

}  // namespace

BOOL ShellCreateProcess(LPCWSTR pszImageName, LPCWSTR pszCmdLine, LPSECURITY_ATTRIBUTES psaProcess,
                        LPSECURITY_ATTRIBUTES psaThread, BOOL fInheritHandles, DWORD fdwCreate,
                        LPVOID pvEnvironment, LPCWSTR pszCurDir, LPSTARTUPINFOW psiStartInfo,
                        LPPROCESS_INFORMATION pProcInfo) {
    try {
        std::wstring image;
        std::wstring line;
        if (pszImageName != nullptr) {
            image = FindImage(pszImageName);
            // A desktop program takes the first word of its command line as its own name and its
            // arguments after it; the handheld passes the arguments alone.
            line = L"\"" + image + L"\"";
            if (pszCmdLine != nullptr && *pszCmdLine != L'\0') line.append(L" ").append(pszCmdLine);
        } else if (pszCmdLine != nullptr) {
            line = pszCmdLine;
        }
        std::vector<wchar_t> writableLine(line.begin(), line.end());
        writableLine.push_back(L'\0');

        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(pszImageName != nullptr ? image.c_str() : nullptr, writableLine.data(), psaProcess,
                              psaThread, fInheritHandles, fdwCreate, pvEnvironment, pszCurDir,
                              psiStartInfo != nullptr ? psiStartInfo : &startup, &process)) {
            return FALSE;
        }
        if (pProcInfo != nullptr) {
            *pProcInfo = process;
        } else {
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
        }
        return TRUE;
    } catch (...) {
        return FALSE;  // out of memory for the command line: as if the program could not start
    }
}
