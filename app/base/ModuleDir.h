// The program's own folder.
#pragma once

#include <string>

// The folder of the program's file with its trailing backslash; set once at start-up.
extern std::wstring g_strModuleDir;

// The path cut after its last backslash; a path without one is kept whole.
std::wstring ModuleDirFromPath(const std::wstring& modulePath);
