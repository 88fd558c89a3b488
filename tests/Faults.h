// The program's platform calls, intercepted in the test program: each can fail at its n-th occurrence as the platform
// fails it, and the objects they make are counted against those released. Patched: the import table (the program's code
// is linked in), the store's own table of entry points, pages with a CBT hook (comctl32 makes them), and operator new.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>

namespace faults {

// From now on (patched the first time): calls counted while the program runs (RunProgram names its phase), the site's
// n-th (1 on; none with n 0) failed.
void Arm(const std::string& site = "", int n = 0);
void Disarm();
// The calls of each site since Arm; of one site (allocating nothing).
std::map<std::string, int> Counts();
int Count(std::string_view site);
// The failed call's phase (g_pszPhase) and what it was about (a value name, a path, a window class, a list entry), or
// "".
std::string FailedContext();
// Objects the calls made while armed, over every run, not released yet, by kind ("font", "key", "find", ...).
std::map<std::string, int> Live();

}  // namespace faults
