// Qt's own texts (standard buttons, dialogs) in the game's language.
#pragma once

#include <cstdint>
#include <memory>

class QTranslator;

namespace zav {

/// Loads and installs Qt's translation of its own texts for the string table's language block
/// `languageOffset` (German or French) from Qt's translations folder. Null for English, or when
/// the translation is not installed: Qt's texts then stay English. Uninstalled when destroyed.
std::unique_ptr<QTranslator> InstallQtTranslations(std::int32_t languageOffset);

} // namespace zav
