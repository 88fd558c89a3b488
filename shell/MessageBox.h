// The message box's parts as the platform makes them.
#pragma once

#include <windows.h>

// A message box's text control (id 0xFFFF on Windows, 100 on Wine); null for another window.
HWND MessageTextOf(HWND hBox);
