// The file names that Windows cannot hold.
#pragma once

#include <string_view>

namespace zav {

/// Whether Windows opens a device for the file name `part` whatever its extension: CON, PRN, AUX,
/// NUL, COM1 to COM9, LPT1 to LPT9, in any case, alone or before a dot ("nul.txt").
bool IsWindowsDeviceName(std::string_view part);

/// Whether `part` (one name, no separators) can name a file on Windows: not empty, not a device
/// name, free of control characters and of < > " | ? * :, and not ending in a dot or a space.
bool WindowsCanHoldName(std::string_view part);

} // namespace zav
