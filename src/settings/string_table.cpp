// The string table: English (102-149), German (150-197) and French (198-245) blocks.
#include "settings/string_table.h"

#include <algorithm>
#include <array>

namespace zav {
namespace {

struct TableEntry {
    int id;
    std::string_view text; // UTF-8 in this source; the core reads it as code page 1252
};

// Ids 107, 109, 110, 111 and 113 and their counterparts are texts the tool never loads; the
// German block holds only its first texts and "." from id 162 on. The French text of id 117
// closes the name with a double quote: it is stored that way.
constexpr std::array<TableEntry, 129> kStringTable = {{
    {102, "Tracks"},
    {103, "Cars"},
    {104, "Present Set Data"},
    {105, "New Proposed Data"},
    {106, "Added Data"},
    {108, "New data installed successfully."},
    {112, "ZAV Data Patcher"},
    {114, "Please be patient while available tracks and cars are being analyzed..."},
    {115, "Free space available on your drive"},
    {116, "Space required for new data"},
    {117, "Track '%s' is already installed and won't be added."},
    {118, "Car '%s' is already installed and won't be added."},
    {119, "Car '%s' is in base list. Please make a Reset in ZAV 'Load New Car' menu\n\t\tand then "
          "delete it."},
    {120, "New data files not found"},
    {121, "Unreferenced error"},
    {122, "Uninstall Quorvex product"},
    {123, "ZAV not detected"},
    {124, "Failed to create temporary file '%s'"},
    {125, "File '%s' not found"},
    {126, "Unable to update '%s' file"},
    {127, "Unable to install '%s' file"},
    {128, "Fatal Error"},
    {129, "Preparing Add Files"},
    {130, "Installing files"},
    {131, "Deleting files"},
    {132, "The '%s' track will be deleted permanently.\n\nDo you want to continue?"},
    {133, "The '%s' car will be deleted permanently.\n\nDo you want to continue?"},
    {134, "'%s' was successfully deleted from your hard disk."},
    {135, "<Inst.>"},
    {136, "<Temp.>"},
    {137, "Information"},
    {138, "Warning"},
    {139, "."},
    {140, "."},
    {141, "."},
    {142, "."},
    {143, "."},
    {144, "."},
    {145, "."},
    {146, "."},
    {147, "."},
    {148, "."},
    {149, "."},
    {150, "Strecken"},
    {151, "Fahrzeuge"},
    {152, "Ursprüngliche Daten"},
    {153, "Verfügbare Daten"},
    {154, "Hinzugefügte Daten"},
    {156, "Installieren"},
    {160, "ZAV Daten-Patcher"},
    {162, "."},
    {163, "."},
    {164, "."},
    {165, "."},
    {166, "."},
    {167, "."},
    {168, "."},
    {169, "."},
    {170, "."},
    {171, "."},
    {172, "."},
    {173, "."},
    {174, "."},
    {175, "."},
    {176, "."},
    {177, "."},
    {178, "."},
    {179, "."},
    {180, "."},
    {181, "."},
    {182, "."},
    {183, "."},
    {184, "."},
    {185, "."},
    {186, "."},
    {187, "."},
    {188, "."},
    {189, "."},
    {190, "."},
    {191, "."},
    {192, "."},
    {193, "."},
    {194, "."},
    {195, "."},
    {196, "."},
    {197, "."},
    {198, "Circuits"},
    {199, "Automobiles"},
    {200, "Fichiers installés"},
    {201, "Nouveaux fichiers"},
    {202, "Fichiers ajoutés"},
    {204, "Les nouvelles données sont maintenant installées."},
    {208, "ZAV Data Patcher"},
    {210, "Soyez patient pendant que les nouveaux circuits et automobiles sont analysés..."},
    {211, "Espace disque disponible"},
    {212, "Espace disque nécéssaire à l'installation"},
    {213, "Le circuit '%s\" est déjà installé et ne sera pas ajouté."},
    {214, "L'automobile '%s' est déjà installée et ne sera pas ajoutée."},
    {215, "La voiture '%s' est parmi les voitures de base. Vous devez la retirer des voitures de "
          "base à partir du menu 'Charger Nouvelle Voiture' en appuyant sur 'Rétablir'."},
    {216, "Nouveaux fichiers introuvables"},
    {217, "Erreur non définie"},
    {218, "Désinstaller le produit Quorvex"},
    {219, "ZAV non détecté"},
    {220, "Impossible de créer le fichier temporaire '%s'"},
    {221, "Fichier '%s' introuvable"},
    {222, "Erreur lors de la mise-à-jour du fichier '%s'"},
    {223, "Impossible d'installer le fichier '%s'"},
    {224, "Erreur fatale"},
    {225, "Préparation des fichiers à ajouter"},
    {226, "Installation des fichiers en cours"},
    {227, "Effacement des fichiers"},
    {228, "Le circuit '%s' va être supprimé de votre disque dur.\n\nVoulez-vous continuer?"},
    {229, "La voiture '%s' va être supprimée de votre disque dur.\n\nVoulez-vous continuer?"},
    {230, "'%s' a été supprimé de votre disque dur."},
    {231, "<Inst.>"},
    {232, "<Temp.>"},
    {233, "Information"},
    {234, "Avertissement"},
    {235, "."},
    {236, "."},
    {237, "."},
    {238, "."},
    {239, "."},
    {240, "."},
    {241, "."},
    {242, "."},
    {243, "."},
    {244, "."},
    {245, "."},
}};

} // namespace

std::optional<std::string_view> StringTableText(int id) {
    const auto* entry = std::find_if(kStringTable.begin(), kStringTable.end(),
                                     [id](const TableEntry& e) { return e.id == id; });
    if (entry == kStringTable.end()) {
        return std::nullopt;
    }
    return entry->text;
}

} // namespace zav
