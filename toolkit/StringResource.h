// Texts of the program's string table, by number.
#pragma once

#include <windows.h>

#include <string>

// The text of string-table entry id (at most 1,023 characters), or the empty string.
std::wstring LoadStringResource(UINT nID);
