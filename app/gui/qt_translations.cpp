// Qt's translations for the string table's languages.
#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "settings/game_location.h"

namespace zav {
namespace {

// Removes the translation from the application before it is deleted.
struct InstalledTranslator final : QTranslator {
    ~InstalledTranslator() override { QCoreApplication::removeTranslator(this); }
};

} // namespace

std::unique_ptr<QTranslator> InstallQtTranslations(std::int32_t languageOffset) {
    const char* language = languageOffset == LANGUAGE_BLOCK_STRIDE       ? "de"
                           : languageOffset == 2 * LANGUAGE_BLOCK_STRIDE ? "fr"
                                                                         : nullptr;
    if (language == nullptr) {
        return nullptr;
    }
    auto translator = std::make_unique<InstalledTranslator>();
    // qtbase_<language> holds the standard buttons' and dialogs' texts ("&Oui", "&Nein", ...).
    if (!translator->load(QStringLiteral("qtbase_%1").arg(QLatin1String(language)),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    return translator;
}

} // namespace zav
