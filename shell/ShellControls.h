// The shell's extra control classes.
#pragma once

#include <windows.h>

// The class of the hidden child that asks the shell to raise the input panel while an edit
// control of its dialog has the focus and to lower it afterwards.
inline constexpr wchar_t kSipPrefClass[] = L"SIPPREF";

// Registers the shell's extra control classes ("SIPPREF") for the program's module. TRUE when
// they are registered afterwards, whether by this call or an earlier one.
BOOL SHInitExtraControls();

// Readies a dialog that carries its own OK and Cancel buttons to stand on its own. The handheld
// adds style bit 0x00010000 (its "no Done button") and tells the shell; on the desktop that
// bit is WS_MAXIMIZEBOX and the shell call does not exist, and the dialog's own buttons already
// do the work, so there is nothing to do.
void PrepareStandaloneDialog(HWND hDlg);

// A handheld dialog's controls stand on the window colour, as the dialog's own background does;
// a desktop dialog gives them the button face. The answer to a dialog's WM_CTLCOLORSTATIC and
// WM_CTLCOLORBTN on the handheld: the control's background colour set, its brush.
HBRUSH WindowColourBehindControl(HDC hdc);
