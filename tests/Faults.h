// The program's platform calls, intercepted in the test program: each can be made to fail at its
// n-th occurrence, as the platform fails it, and the objects the calls make are counted against
// those released. The test program links the program's code, so its import table is patched;
// the registry is reached through the store's own table of entry points, pages (which comctl32
// makes) are refused with a CBT hook, and C++ allocations through the replaced operator new.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace faults {

// From now on (the calls patched in the first time): calls counted from 0 while the program runs
// (RunProgram names its phase), and the n-th call of the site (1 on) fails; none with n 0.
void Arm(const std::string& site = "", int n = 0);
void Disarm();
// The calls of each site since Arm.
std::map<std::string, int> Counts();
// What the armed failure's call was about, empty unless it failed: the phase of the run
// (g_pszPhase), then a value name, a path, a window class and its parent's text, a list entry's text.
std::string FailedContext();
// Objects the program's calls made while armed, over every run, and have not released, by kind
// ("font", "key", "find", ...).
std::map<std::string, int> Live();

}  // namespace faults
