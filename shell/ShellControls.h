// The shell's extra control classes.
#pragma once

#include <windows.h>

// The class of the hidden child that asks the shell to raise the input panel while an edit
// control of its dialog has the focus and to lower it afterwards.
inline constexpr wchar_t kSipPrefClass[] = L"SIPPREF";

// Registers the shell's extra control classes ("SIPPREF") for the program's module. TRUE when
// they are registered afterwards, whether by this call or an earlier one.
BOOL SHInitExtraControls();
