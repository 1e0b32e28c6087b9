// The wait dialog (template 182) and the about box (template 100).
#pragma once

#include <string_view>

#include "platform/win32/windows_api.h"

namespace zav {

/// Creates the modeless wait dialog with `text` (code page 1252), centred on the screen, and
/// paints it at once: the start-up handles no messages while it analyses. Null when the template
/// cannot be loaded.
HWND OpenWaitDialog(HINSTANCE instance, std::string_view text);

/// Shows the about box modally over `owner` until its OK button (or Enter, or Escape) closes it.
void RunAboutBox(HINSTANCE instance, HWND owner);

} // namespace zav
