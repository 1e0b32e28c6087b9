// Message boxes with the styles, captions and answers of the tool's platform.
#pragma once

#include <QMessageBox>
#include <cstdint>
#include <string_view>

class QWidget;

namespace zav {

/// The icon a message box style calls for (stop, question, exclamation, information, or none).
QMessageBox::Icon MessageBoxIcon(std::uint32_t style);

/// Shows a modal box owned by `owner` with code page 1252 `text` and `caption`: an OK button, or
/// Yes and No with Yes as the default for MB_YESNO. Returns IDOK, IDYES or IDNO.
int ShowMessageBox(QWidget* owner, std::string_view text, std::string_view caption,
                   std::uint32_t style);

/// A code page 1252 text as a QString.
QString FromCp1252(std::string_view text);

} // namespace zav
