#pragma once
// Paths that lead to a device rather than to a file or folder on a disk.
#include <string_view>

// True for paths in the device namespace (\\.\anything, \\?\ other than a drive or a
// share) and for paths whose last name is a reserved device name (CON, PRN, AUX, NUL,
// COM1 to COM9, LPT1 to LPT9, CONIN$, CONOUT$), with any extension or trailing blanks:
// the system opens the device for "nul.png" in any folder.
bool NamesDevice(std::u16string_view path);
