// OwnText: one row per text, English, German and French.
#include "settings/own_texts.h"

#include <array>
#include <string_view>

#include "platform/codepage.h"
#include "settings/game_location.h"

namespace zav {
namespace {

struct OwnTextRow {
    std::string_view english, german, french; // UTF-8 in this source, like the string table
};

constexpr std::array<OwnTextRow, static_cast<std::size_t>(OwnTextId::Count)> kOwnTexts = {{
    {"Prepare installation", "Installation vorbereiten", "Préparer l'installation"},
    {"Preview data", "Daten ansehen", "Aperçu des données"},
    {"Install new data", "Neue Daten installieren", "Installer les nouvelles données"},
    {"Delete data", "Daten löschen", "Supprimer les données"},
    {"Cancel", "Abbrechen", "Annuler"},
    {"Quit", "Beenden", "Quitter"},
    {"Available now.", "Jetzt verfügbar.", "Disponible maintenant."},
    {"Not available now.", "Zurzeit nicht verfügbar.", "Indisponible pour le moment."},
    {"Progress", "Fortschritt", "Progression"},
    {"About ZAV Data Patcher...", "Über ZAV Daten-Patcher...", "À propos de ZAV Data Patcher..."},
    {"No new tracks or cars can be proposed: neither '%s' nor '%s' exists.",
     "Es können keine neuen Strecken oder Fahrzeuge angeboten werden: weder '%s' noch '%s' ist "
     "vorhanden.",
     "Aucun nouveau circuit ni aucune nouvelle automobile ne peut être proposé : ni '%s' ni '%s' "
     "n'existe."},
}};

} // namespace

std::string OwnText(OwnTextId id, std::int32_t languageOffset) {
    const OwnTextRow& row = kOwnTexts.at(static_cast<std::size_t>(id));
    const std::string_view text = languageOffset == LANGUAGE_BLOCK_STRIDE       ? row.german
                                  : languageOffset == 2 * LANGUAGE_BLOCK_STRIDE ? row.french
                                                                                : row.english;
    return Utf8ToCp1252(text).value_or(std::string(text));
}

} // namespace zav
