// Starting another program as the handheld does.
#pragma once

#include <windows.h>

// CreateProcessW with the handheld's rules, so callers can write the call as they would there:
// - the command line holds only the arguments and may be read-only;
// - a program name without a folder is also looked for in the system folders;
// - the startup and process information may be NULL. Without process information the new
//   process's handles are closed here; with it, they are the caller's to close.
BOOL ShellCreateProcess(LPCWSTR pszImageName, LPCWSTR pszCmdLine, LPSECURITY_ATTRIBUTES psaProcess,
                        LPSECURITY_ATTRIBUTES psaThread, BOOL fInheritHandles, DWORD fdwCreate,
                        LPVOID pvEnvironment, LPCWSTR pszCurDir, LPSTARTUPINFOW psiStartInfo,
                        LPPROCESS_INFORMATION pProcInfo);
