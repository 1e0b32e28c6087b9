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
    {"Add to list", "Installation vorbereiten", "Préparer l'installation"},
    {"Display", "Daten ansehen", "Aperçu des données"},
    {"Install new", "Neue Daten installieren", "Installer les nouvelles données"},
    {"Trash", "Daten löschen", "Supprimer les données"},
    {"Cancel", "Abbrechen", "Annuler"},
    {"Close", "Beenden", "Quitter"},
    {"Available now.", "Jetzt verfügbar.", "Disponible maintenant."},
    {"Not available now.", "Zurzeit nicht verfügbar.", "Indisponible pour le moment."},
    {"Progress", "Fortschritt", "Progression"},
    {"About ZAV Data Patcher...", "Über ZAV Daten-Patcher...", "À propos de ZAV Data Patcher..."},
    {"No new tracks or cars can be proposed: neither '%s' nor '%s' exists.",
     "Es können keine neuen Strecken oder Fahrzeuge angeboten werden: weder '%s' noch '%s' ist "
     "vorhanden.",
     "Aucun nouveau circuit ni aucune nouvelle automobile ne peut être proposé : ni '%s' ni '%s' "
     "n'existe."},
    {"ZAV Data Patcher is already running on this game. Close the other window first; nothing "
     "was changed.",
     "ZAV Daten-Patcher läuft bereits für dieses Spiel. Schließen Sie zuerst das andere Fenster; "
     "nichts wurde geändert.",
     "ZAV Data Patcher est déjà en cours d'exécution sur ce jeu. Fermez d'abord l'autre fenêtre ; "
     "rien n'a été modifié."},
    {"Looked for the settings file '%s' (its name in any case), key Directory of section [ZAV] or "
     "[ZAV2_0], in the Wine prefix '%s'.",
     "Gesucht wurde die Einstellungsdatei '%s' (ihr Name in beliebiger Schreibweise), Schlüssel "
     "Directory im Abschnitt [ZAV] oder [ZAV2_0], im Wine-Präfix '%s'.",
     "Fichier de paramètres recherché : '%s' (son nom en majuscules ou minuscules), clé Directory "
     "de la section [ZAV] ou [ZAV2_0], dans le préfixe Wine '%s'."},
    {"The game's track list holds %d tracks, and this tool can handle the first 96 only. The "
     "other %d stay in the game as they are but are not shown here, and no track can be added.",
     "Die Streckenliste des Spiels enthält %d Strecken, und dieses Programm kann nur die ersten 96 "
     "verwalten. Die übrigen %d bleiben unverändert im Spiel, werden hier aber nicht angezeigt, "
     "und es kann keine Strecke hinzugefügt werden.",
     "La liste des circuits du jeu en contient %d, et cet outil ne peut gérer que les 96 premiers. "
     "Les %d autres restent dans le jeu tels quels mais ne sont pas affichés ici, et aucun circuit "
     "ne peut être ajouté."},
    {"The game's car lists hold %d further cars, and this tool can handle %d only. The other %d "
     "stay in the game as they are but are not shown here, and no car can be added.",
     "Die Fahrzeuglisten des Spiels enthalten %d weitere Fahrzeuge, und dieses Programm kann nur "
     "%d verwalten. Die übrigen %d bleiben unverändert im Spiel, werden hier aber nicht angezeigt, "
     "und es kann kein Fahrzeug hinzugefügt werden.",
     "Les listes d'automobiles du jeu en contiennent %d en plus de celles de base, et cet outil ne "
     "peut en gérer que %d. Les %d autres restent dans le jeu telles quelles mais ne sont pas "
     "affichées ici, et aucune automobile ne peut être ajoutée."},
    {"%s: its count says %d records, the file holds %d.",
     "%s: laut Zähler %d Einträge, die Datei enthält %d.",
     "%s : son compteur annonce %d enregistrements, le fichier en contient %d."},
    {"%s: a record cannot be written to its working copy.",
     "%s: in die Arbeitskopie kann kein Eintrag geschrieben werden.",
     "%s : aucun enregistrement ne peut être écrit dans sa copie de travail."},
    {"Undo last change...", "Letzte Änderung rückgängig machen...",
     "Annuler la dernière modification..."},
    {"Undo this change of the game?\n\n%s", "Diese Änderung des Spiels rückgängig machen?\n\n%s",
     "Annuler cette modification du jeu ?\n\n%s"},
    {"Change %d was undone.", "Änderung %d wurde rückgängig gemacht.",
     "La modification %d a été annulée."},
    {"There is no change left to undo.",
     "Es gibt keine Änderung mehr, die rückgängig gemacht "
     "werden kann.",
     "Il ne reste aucune modification à annuler."},
    {"This tool handles at most 96 tracks (the base ones included), and the selection does not "
     "fit: these tracks were not added: %s.",
     "Dieses Programm verwaltet höchstens 96 Strecken (die ursprünglichen mitgezählt), und die "
     "Auswahl passt nicht hinein: diese Strecken wurden nicht hinzugefügt: %s.",
     "Cet outil gère au plus 96 circuits (ceux de base compris), et la sélection ne tient pas : "
     "ces circuits n'ont pas été ajoutés : %s."},
    {"This tool handles at most 96 cars (the base ones included), and the selection does not "
     "fit: these cars were not added: %s.",
     "Dieses Programm verwaltet höchstens 96 Fahrzeuge (die ursprünglichen mitgezählt), und die "
     "Auswahl passt nicht hinein: diese Fahrzeuge wurden nicht hinzugefügt: %s.",
     "Cet outil gère au plus 96 automobiles (celles de base comprises), et la sélection ne tient "
     "pas : ces automobiles n'ont pas été ajoutées : %s."},
    {"The list records of these tracks could not be read back from the tool's temporary files, "
     "so they were not added: %s.",
     "Die Listeneinträge dieser Strecken konnten nicht aus den temporären Dateien des Programms "
     "gelesen werden, daher wurden sie nicht hinzugefügt: %s.",
     "Les enregistrements de ces circuits n'ont pas pu être relus dans les fichiers temporaires de "
     "l'outil ; ils n'ont donc pas été ajoutés : %s."},
    {"The list records of these cars could not be read back from the tool's temporary files, so "
     "they were not added: %s.",
     "Die Listeneinträge dieser Fahrzeuge konnten nicht aus den temporären Dateien des Programms "
     "gelesen werden, daher wurden sie nicht hinzugefügt: %s.",
     "Les enregistrements de ces automobiles n'ont pas pu être relus dans les fichiers "
     "temporaires de l'outil ; elles n'ont donc pas été ajoutées : %s."},
    {"The files of track '%s' lie in a folder whose path is longer than 255 characters; it won't "
     "be added.",
     "Die Dateien der Strecke '%s' liegen in einem Ordner, dessen Pfad länger als 255 Zeichen "
     "ist; sie wird nicht hinzugefügt.",
     "Les fichiers du circuit '%s' se trouvent dans un dossier dont le chemin dépasse 255 "
     "caractères ; il ne sera pas ajouté."},
    {"The files of car '%s' lie in a folder whose path is longer than 255 characters; it won't "
     "be added.",
     "Die Dateien des Fahrzeugs '%s' liegen in einem Ordner, dessen Pfad länger als 255 Zeichen "
     "ist; es wird nicht hinzugefügt.",
     "Les fichiers de l'automobile '%s' se trouvent dans un dossier dont le chemin dépasse 255 "
     "caractères ; elle ne sera pas ajoutée."},
    {"The name of track '%s' holds a path separator or a drive colon, or is \".\" or \"..\": its "
     "files could lie outside the folders they belong in, so nothing is read, copied or deleted "
     "for it.",
     "Der Name der Strecke '%s' enthält ein Pfadtrennzeichen oder einen Laufwerksdoppelpunkt oder "
     "lautet \".\" oder \"..\": ihre Dateien könnten außerhalb ihrer Ordner liegen, daher wird "
     "dafür nichts gelesen, kopiert oder gelöscht.",
     "Le nom du circuit '%s' contient un séparateur de chemin ou les deux-points d'un lecteur, ou "
     "vaut \".\" ou \"..\" : ses fichiers pourraient se trouver hors de leurs dossiers, donc rien "
     "n'est lu, copié ni effacé pour lui."},
    {"The name of car '%s' holds a path separator or a drive colon, or is \".\" or \"..\": its "
     "files could lie outside the folders they belong in, so nothing is read, copied or deleted "
     "for it.",
     "Der Name des Fahrzeugs '%s' enthält ein Pfadtrennzeichen oder einen Laufwerksdoppelpunkt "
     "oder lautet \".\" oder \"..\": seine Dateien könnten außerhalb ihrer Ordner liegen, daher "
     "wird dafür nichts gelesen, kopiert oder gelöscht.",
     "Le nom de l'automobile '%s' contient un séparateur de chemin ou les deux-points d'un "
     "lecteur, ou vaut \".\" ou \"..\" : ses fichiers pourraient se trouver hors de leurs "
     "dossiers, donc rien n'est lu, copié ni effacé pour elle."},
    {"These track folders beside the tool are left out: their names hold a path separator, a "
     "drive colon, or are \".\" or \"..\", and could lead files outside the game's folders: %s.",
     "Diese Streckenordner neben dem Programm werden ausgelassen: ihre Namen enthalten ein "
     "Pfadtrennzeichen oder einen Laufwerksdoppelpunkt oder lauten \".\" oder \"..\" und könnten "
     "Dateien aus den Ordnern des Spiels hinausführen: %s.",
     "Ces dossiers de circuits à côté de l'outil sont ignorés : leurs noms contiennent un "
     "séparateur de chemin ou les deux-points d'un lecteur, ou valent \".\" ou \"..\", et "
     "pourraient mener des fichiers hors des dossiers du jeu : %s."},
    {"These car folders beside the tool are left out: their names hold a path separator, a drive "
     "colon, or are \".\" or \"..\", and could lead files outside the game's folders: %s.",
     "Diese Fahrzeugordner neben dem Programm werden ausgelassen: ihre Namen enthalten ein "
     "Pfadtrennzeichen oder einen Laufwerksdoppelpunkt oder lauten \".\" oder \"..\" und könnten "
     "Dateien aus den Ordnern des Spiels hinausführen: %s.",
     "Ces dossiers d'automobiles à côté de l'outil sont ignorés : leurs noms contiennent un "
     "séparateur de chemin ou les deux-points d'un lecteur, ou valent \".\" ou \"..\", et "
     "pourraient mener des fichiers hors des dossiers du jeu : %s."},
    {"These track folders beside the tool are left out: each has the name of a folder found "
     "before it, in another case, and both would install the same files: %s.",
     "Diese Streckenordner neben dem Programm werden ausgelassen: jeder trägt den Namen eines "
     "zuvor gefundenen Ordners in anderer Groß- und Kleinschreibung, und beide würden dieselben "
     "Dateien installieren: %s.",
     "Ces dossiers de circuits à côté de l'outil sont ignorés : chacun porte le nom d'un dossier "
     "trouvé avant lui, à la casse près, et les deux installeraient les mêmes fichiers : %s."},
    {"These car folders beside the tool are left out: each has the name of a folder found before "
     "it, in another case, and both would install the same files: %s.",
     "Diese Fahrzeugordner neben dem Programm werden ausgelassen: jeder trägt den Namen eines "
     "zuvor gefundenen Ordners in anderer Groß- und Kleinschreibung, und beide würden dieselben "
     "Dateien installieren: %s.",
     "Ces dossiers d'automobiles à côté de l'outil sont ignorés : chacun porte le nom d'un "
     "dossier trouvé avant lui, à la casse près, et les deux installeraient les mêmes fichiers : "
     "%s."},
    {"More than 96 new tracks lie beside the tool, and this tool can propose the first 96 only. "
     "Left out: %s.",
     "Neben dem Programm liegen mehr als 96 neue Strecken, und es kann nur die ersten 96 anbieten. "
     "Ausgelassen: %s.",
     "Plus de 96 nouveaux circuits se trouvent à côté de l'outil, qui ne peut proposer que les 96 "
     "premiers. Ignorés : %s."},
    {"More than 96 new cars lie beside the tool, and this tool can propose the first 96 only. "
     "Left out: %s.",
     "Neben dem Programm liegen mehr als 96 neue Fahrzeuge, und es kann nur die ersten 96 "
     "anbieten. Ausgelassen: %s.",
     "Plus de 96 nouvelles automobiles se trouvent à côté de l'outil, qui ne peut proposer que "
     "les 96 premières. Ignorées : %s."},
    {"'%s' was removed from the game's list. Its data files were kept because a base track of "
     "that name uses them.",
     "'%s' wurde aus der Liste des Spiels entfernt. Die Datendateien wurden behalten, weil eine "
     "ursprüngliche Strecke dieses Namens sie verwendet.",
     "'%s' a été retiré de la liste du jeu. Ses fichiers de données ont été conservés, car un "
     "circuit de base du même nom les utilise."},
    {"'%s' was removed from the game's list. Its data files were kept because a base car of that "
     "name uses them.",
     "'%s' wurde aus der Liste des Spiels entfernt. Die Datendateien wurden behalten, weil ein "
     "ursprüngliches Fahrzeug dieses Namens sie verwendet.",
     "'%s' a été retiré de la liste du jeu. Ses fichiers de données ont été conservés, car une "
     "automobile de base du même nom les utilise."},
    {"These track folders beside the tool are left out: they are links to folders outside the "
     "folder of the new data, which are not followed: %s.",
     "Diese Streckenordner neben dem Programm werden ausgelassen: sie sind Verknüpfungen zu "
     "Ordnern außerhalb des Ordners der neuen Daten, denen nicht gefolgt wird: %s.",
     "Ces dossiers de circuits à côté de l'outil sont ignorés : ce sont des liens vers des "
     "dossiers hors du dossier des nouvelles données, qui ne sont pas suivis : %s."},
    {"These car folders beside the tool are left out: they are links to folders outside the "
     "folder of the new data, which are not followed: %s.",
     "Diese Fahrzeugordner neben dem Programm werden ausgelassen: sie sind Verknüpfungen zu "
     "Ordnern außerhalb des Ordners der neuen Daten, denen nicht gefolgt wird: %s.",
     "Ces dossiers d'automobiles à côté de l'outil sont ignorés : ce sont des liens vers des "
     "dossiers hors du dossier des nouvelles données, qui ne sont pas suivis : %s."},
    {"Looked for the settings file '%s', key Directory of section [ZAV] or [ZAV2_0], in the "
     "Windows directory.",
     "Gesucht wurde die Einstellungsdatei '%s', Schlüssel Directory im Abschnitt [ZAV] oder "
     "[ZAV2_0], im Windows-Verzeichnis.",
     "Fichier de paramètres recherché : '%s', clé Directory de la section [ZAV] ou [ZAV2_0], dans "
     "le répertoire Windows."},
    {"No other Wine prefix holds it either. Looked in:\n%s",
     "Auch kein anderes Wine-Präfix enthält sie. Gesucht wurde in:\n%s",
     "Aucun autre préfixe Wine ne le contient non plus. Recherché dans :\n%s"},
    {"ZAV is installed in several Wine prefixes; name the one to work on with --prefix:\n%s",
     "ZAV ist in mehreren Wine-Präfixen installiert; geben Sie das gewünschte mit --prefix an:\n%s",
     "ZAV est installé dans plusieurs préfixes Wine ; indiquez celui à utiliser avec --prefix "
     ":\n%s"},
    {"ZAV was not found in any Wine prefix. Looked in:\n%s",
     "ZAV wurde in keinem Wine-Präfix gefunden. Gesucht wurde in:\n%s",
     "ZAV n'a été trouvé dans aucun préfixe Wine. Recherché dans :\n%s"},
    {"'%s' is a pack (an archive), and on Windows this tool reads folders only. Extract it first "
     "(in Explorer: right-click it, Extract All...), then open the extracted folder.",
     "'%s' ist ein Paket (ein Archiv), und unter Windows liest dieses Programm nur Ordner. "
     "Entpacken "
     "Sie es zuerst (im Explorer: Rechtsklick, Alle extrahieren...) und öffnen Sie dann den "
     "entpackten Ordner.",
     "'%s' est un paquet (une archive), et sous Windows cet outil ne lit que des dossiers. "
     "Extrayez-le d'abord (dans l'Explorateur : clic droit, Extraire tout...), puis ouvrez le "
     "dossier extrait."},
    {"The pack '%s' cannot be read: %s.", "Das Paket '%s' kann nicht gelesen werden: %s.",
     "Le paquet '%s' ne peut pas être lu : %s."},
    {"'%s' is neither a folder nor a pack this tool can open (.zip, .7z, .tar, .tar.gz, .tar.xz, "
     ".tar.bz2): %s.",
     "'%s' ist weder ein Ordner noch ein Paket, das dieses Programm öffnen kann (.zip, .7z, .tar, "
     ".tar.gz, .tar.xz, .tar.bz2): %s.",
     "'%s' n'est ni un dossier ni un paquet que cet outil sait ouvrir (.zip, .7z, .tar, .tar.gz, "
     ".tar.xz, .tar.bz2) : %s."},
    {"The pack '%s' is damaged at '%s': %s. Nothing of it was used.",
     "Das Paket '%s' ist bei '%s' beschädigt: %s. Nichts davon wurde verwendet.",
     "Le paquet '%s' est endommagé à '%s' : %s. Rien n'en a été utilisé."},
    {"The pack '%s' holds the encrypted entry '%s', which this tool cannot open. Nothing of it "
     "was used.",
     "Das Paket '%s' enthält den verschlüsselten Eintrag '%s', den dieses Programm nicht öffnen "
     "kann. Nichts davon wurde verwendet.",
     "Le paquet '%s' contient l'entrée chiffrée '%s', que cet outil ne peut pas ouvrir. Rien n'en "
     "a été utilisé."},
    {"The pack '%s' was refused: its entry '%s' names a place outside the pack (an absolute path, "
     "a drive letter or a '..' part). Nothing of it was used.",
     "Das Paket '%s' wurde abgelehnt: sein Eintrag '%s' nennt einen Ort außerhalb des Pakets "
     "(einen absoluten Pfad, einen Laufwerksbuchstaben oder einen Teil '..'). Nichts davon wurde "
     "verwendet.",
     "Le paquet '%s' a été refusé : son entrée '%s' désigne un endroit hors du paquet (un chemin "
     "absolu, une lettre de lecteur ou une partie '..'). Rien n'en a été utilisé."},
    {"The pack '%s' was refused: the name of its entry '%s' cannot be written in the game's code "
     "page or on Windows (an unknown character, a device name, a trailing dot or space). Nothing "
     "of it was used.",
     "Das Paket '%s' wurde abgelehnt: der Name seines Eintrags '%s' lässt sich in der Codepage "
     "des Spiels oder unter Windows nicht schreiben (ein unbekanntes Zeichen, ein Gerätename, ein "
     "Punkt oder Leerzeichen am Ende). Nichts davon wurde verwendet.",
     "Le paquet '%s' a été refusé : le nom de son entrée '%s' ne peut pas s'écrire dans la page de "
     "code du jeu ou sous Windows (un caractère inconnu, un nom de périphérique, un point ou une "
     "espace final). Rien n'en a été utilisé."},
    {"The pack '%s' was refused: its entry '%s' is a link. Nothing of it was used.",
     "Das Paket '%s' wurde abgelehnt: sein Eintrag '%s' ist eine Verknüpfung. Nichts davon wurde "
     "verwendet.",
     "Le paquet '%s' a été refusé : son entrée '%s' est un lien. Rien n'en a été utilisé."},
    {"The pack '%s' was refused: its entry '%s' is neither a file nor a folder. Nothing of it was "
     "used.",
     "Das Paket '%s' wurde abgelehnt: sein Eintrag '%s' ist weder eine Datei noch ein Ordner. "
     "Nichts davon wurde verwendet.",
     "Le paquet '%s' a été refusé : son entrée '%s' n'est ni un fichier ni un dossier. Rien n'en a "
     "été utilisé."},
    {"The pack '%s' was not opened: at '%s' it would unpack to more than %s. Nothing of it was "
     "used.",
     "Das Paket '%s' wurde nicht geöffnet: bei '%s' würde es entpackt mehr als %s belegen. Nichts "
     "davon wurde verwendet.",
     "Le paquet '%s' n'a pas été ouvert : à '%s', il occuperait une fois décompressé plus de %s. "
     "Rien n'en a été utilisé."},
    {"The pack '%s' was not opened: at '%s' it would fill the file system of the folder for "
     "temporary files (room for %s). Nothing of it was used; set TMPDIR to a folder with more "
     "room.",
     "Das Paket '%s' wurde nicht geöffnet: bei '%s' würde es das Dateisystem des Ordners für "
     "temporäre Dateien füllen (Platz für %s). Nichts davon wurde verwendet; setzen Sie TMPDIR "
     "auf einen Ordner mit mehr Platz.",
     "Le paquet '%s' n'a pas été ouvert : à '%s', il remplirait le système de fichiers du dossier "
     "des fichiers temporaires (place pour %s). Rien n'en a été utilisé ; faites pointer TMPDIR "
     "vers un dossier plus spacieux."},
    {"The pack '%s' cannot be unpacked into the folder for temporary files, at '%s': %s.",
     "Das Paket '%s' kann nicht in den Ordner für temporäre Dateien entpackt werden, bei '%s': "
     "%s.",
     "Le paquet '%s' ne peut pas être décompressé dans le dossier des fichiers temporaires, à "
     "'%s' : %s."},
    {"'%s' holds no new data in a layout this tool knows. Expected, at its top or inside one top "
     "folder: the folders circuits and voitures of a disc, or one track or car folder whose own "
     "circuits.bin or voitures.bin names it. Found: %s.",
     "'%s' enthält keine neuen Daten in einer Anordnung, die dieses Programm kennt. Erwartet, "
     "zuoberst oder in einem einzigen Ordner zuoberst: die Ordner circuits und voitures einer CD, "
     "oder ein Strecken- oder Fahrzeugordner, dessen eigene circuits.bin oder voitures.bin ihn "
     "nennt. Gefunden: %s.",
     "'%s' ne contient pas de nouvelles données dans une disposition que cet outil connaît. "
     "Attendu, au premier niveau ou dans un seul dossier de premier niveau : les dossiers "
     "circuits et voitures d'un disque, ou un dossier de circuit ou d'automobile que son propre "
     "circuits.bin ou voitures.bin nomme. Trouvé : %s."},
    {"nothing", "nichts", "rien"},
    {"'%s' is out of the list, but its file '%s' cannot be deleted: %s.",
     "'%s' ist aus der Liste entfernt, aber die Datei '%s' kann nicht gelöscht werden: %s.",
     "'%s' est retiré de la liste, mais son fichier '%s' ne peut pas être supprimé : %s."},
    {"Choose the folder or pack of the new data with --source, or in the window with \"Open disc "
     "or pack...\" (Ctrl+O) of its context menu, or by dropping it on the window.",
     "Wählen Sie den Ordner oder das Paket der neuen Daten mit --source, oder im Fenster mit "
     "\"CD oder Paket öffnen...\" (Strg+O) seines Kontextmenüs, oder indem Sie es auf das Fenster "
     "ziehen.",
     "Choisissez le dossier ou le paquet des nouvelles données avec --source, ou dans la fenêtre "
     "avec « Ouvrir un disque ou un paquet... » (Ctrl+O) de son menu contextuel, ou en le "
     "déposant sur la fenêtre."},
    {"Several mounted media hold new data:\n%s\nChoose one with \"Open disc or pack...\" "
     "(Ctrl+O) or --source.",
     "Mehrere eingebundene Datenträger enthalten neue Daten:\n%s\nWählen Sie einen mit \"CD "
     "oder Paket öffnen...\" (Strg+O) oder --source.",
     "Plusieurs supports montés contiennent de nouvelles données :\n%s\nChoisissez-en un avec "
     "« Ouvrir un disque ou un paquet... » (Ctrl+O) ou --source."},
    {"Open disc or pack...", "CD oder Paket öffnen...", "Ouvrir un disque ou un paquet..."},
    {"Open a disc, a folder or a pack of new data", "CD, Ordner oder Paket mit neuen Daten öffnen",
     "Ouvrir un disque, un dossier ou un paquet de nouvelles données"},
    {"Entries added to the list are not installed yet. Install them before the new data is "
     "opened? (No cancels them.)",
     "Der Liste hinzugefügte Einträge sind noch nicht installiert. Sollen sie installiert werden, "
     "bevor die neuen Daten geöffnet werden? (Nein verwirft sie.)",
     "Des entrées ajoutées à la liste ne sont pas encore installées. Faut-il les installer avant "
     "d'ouvrir les nouvelles données ? (Non les annule.)"},
    {"ZAV Data Patcher Help", "ZAV Daten-Patcher Hilfe", "Aide de ZAV Data Patcher"},
    {"Display ->: shows the chosen entry's picture.\n"
     "Add to List: puts the chosen proposed entries on the game's list.\n"
     "Install New: copies the entries added to the list into the game.\n"
     "Trash: deletes the chosen entry of the added data.\n"
     "Cancel: forgets the entries added to the list.\n"
     "Close: ends the program.\n\n"
     "Keys: Ctrl+O opens a disc, folder or pack; F1 shows this help; Escape closes. The context "
     "menu also holds Check the game, Undo and About.\n\n"
     "The game: %s\nThe new data: %s",
     "Daten ansehen: zeigt das Bild des gewählten Eintrags.\n"
     "Installation vorbereiten: setzt die gewählten angebotenen Einträge auf die Liste des "
     "Spiels.\n"
     "Neue Daten installieren: kopiert die der Liste hinzugefügten Einträge ins Spiel.\n"
     "Daten löschen: löscht den gewählten Eintrag der hinzugefügten Daten.\n"
     "Abbrechen: verwirft die der Liste hinzugefügten Einträge.\n"
     "Beenden: beendet das Programm.\n\n"
     "Tasten: Strg+O öffnet eine CD, einen Ordner oder ein Paket; F1 zeigt diese Hilfe; Escape "
     "schließt. Das Kontextmenü enthält auch Spiel prüfen, Rückgängig und Über.\n\n"
     "Das Spiel: %s\nDie neuen Daten: %s",
     "Aperçu des données : montre l'image de l'entrée choisie.\n"
     "Préparer l'installation : met les entrées proposées choisies sur la liste du jeu.\n"
     "Installer les nouvelles données : copie dans le jeu les entrées ajoutées à la liste.\n"
     "Supprimer les données : efface l'entrée choisie des données ajoutées.\n"
     "Annuler : oublie les entrées ajoutées à la liste.\n"
     "Quitter : termine le programme.\n\n"
     "Touches : Ctrl+O ouvre un disque, un dossier ou un paquet ; F1 montre cette aide ; Échap "
     "ferme. Le menu contextuel contient aussi Vérifier le jeu, Annuler la dernière modification "
     "et À propos.\n\n"
     "Le jeu : %s\nLes nouvelles données : %s"},
    {"The history of the game's changes cannot be kept in '%s': %s. Nothing was changed. Mend "
     "it, or run without a history (ZAV_HISTORY=off), whose changes cannot be undone.",
     "Der Verlauf der Änderungen am Spiel kann nicht in '%s' geführt werden: %s. Nichts wurde "
     "geändert. Beheben Sie das, oder arbeiten Sie ohne Verlauf (ZAV_HISTORY=off), dessen "
     "Änderungen sich nicht rückgängig machen lassen.",
     "L'historique des modifications du jeu ne peut pas être tenu dans '%s' : %s. Rien n'a été "
     "modifié. Réparez-le, ou travaillez sans historique (ZAV_HISTORY=off), dont les "
     "modifications ne peuvent pas être annulées."},
    {"it is a link, and the history is never kept through a link",
     "er ist eine Verknüpfung, und der Verlauf wird nie über eine Verknüpfung geführt",
     "c'est un lien, et l'historique n'est jamais tenu à travers un lien"},
    {"it is a file, not a folder", "er ist eine Datei, kein Ordner",
     "c'est un fichier, pas un dossier"},
    {"you may not write there", "Sie dürfen dort nicht schreiben",
     "vous n'avez pas le droit d'y écrire"},
    {"it holds the last entry number a history can have",
     "er enthält die letzte Nummer, die ein Eintrag haben kann",
     "il contient le dernier numéro qu'une entrée peut avoir"},
    {"Track '%s' won't be added: its file '%s' would have a path of %d characters, and the "
     "game's paths hold at most 255.",
     "Die Strecke '%s' wird nicht hinzugefügt: ihre Datei '%s' hätte einen Pfad von %d Zeichen, "
     "und die Pfade des Spiels fassen höchstens 255.",
     "Le circuit '%s' ne sera pas ajouté : son fichier '%s' aurait un chemin de %d caractères, et "
     "les chemins du jeu en contiennent au plus 255."},
    {"Car '%s' won't be added: its file '%s' would have a path of %d characters, and the game's "
     "paths hold at most 255.",
     "Das Fahrzeug '%s' wird nicht hinzugefügt: seine Datei '%s' hätte einen Pfad von %d Zeichen, "
     "und die Pfade des Spiels fassen höchstens 255.",
     "L'automobile '%s' ne sera pas ajoutée : son fichier '%s' aurait un chemin de %d caractères, "
     "et les chemins du jeu en contiennent au plus 255."},
    {"The game's folder '%s' is too long: the paths of the game's lists in it would pass 255 "
     "characters, the most the game's paths hold. Move the game to a folder with a shorter path.",
     "Der Ordner des Spiels '%s' ist zu lang: die Pfade der Listen des Spiels darin würden 255 "
     "Zeichen überschreiten, mehr als die Pfade des Spiels fassen. Verschieben Sie das Spiel in "
     "einen Ordner mit kürzerem Pfad.",
     "Le dossier du jeu '%s' est trop long : les chemins des listes du jeu qu'il contient "
     "dépasseraient 255 caractères, le plus que les chemins du jeu contiennent. Déplacez le jeu "
     "dans un dossier au chemin plus court."},
    {"The name of track '%s' cannot be used for files on Windows (a device name such as CON, NUL, "
     "COM1 or LPT1, with or without an extension; one of the characters ? * | < > \" :; or a dot "
     "or space at its end), so it won't be added.",
     "Der Name der Strecke '%s' kann unter Windows nicht für Dateien verwendet werden (ein "
     "Gerätename wie CON, NUL, COM1 oder LPT1, mit oder ohne Erweiterung; eines der Zeichen ? * | "
     "< > \" :; oder ein Punkt oder Leerzeichen am Ende), daher wird sie nicht hinzugefügt.",
     "Le nom du circuit '%s' ne peut pas servir de nom de fichier sous Windows (un nom de "
     "périphérique comme CON, NUL, COM1 ou LPT1, avec ou sans extension ; l'un des caractères ? * "
     "| < > \" : ; ou un point ou une espace final), il ne sera donc pas ajouté."},
    {"The name of car '%s' cannot be used for files on Windows (a device name such as CON, NUL, "
     "COM1 or LPT1, with or without an extension; one of the characters ? * | < > \" :; or a dot "
     "or space at its end), so it won't be added.",
     "Der Name des Fahrzeugs '%s' kann unter Windows nicht für Dateien verwendet werden (ein "
     "Gerätename wie CON, NUL, COM1 oder LPT1, mit oder ohne Erweiterung; eines der Zeichen ? * | "
     "< > \" :; oder ein Punkt oder Leerzeichen am Ende), daher wird es nicht hinzugefügt.",
     "Le nom de l'automobile '%s' ne peut pas servir de nom de fichier sous Windows (un nom de "
     "périphérique comme CON, NUL, COM1 ou LPT1, avec ou sans extension ; l'un des caractères ? * "
     "| < > \" : ; ou un point ou une espace final), elle ne sera donc pas ajoutée."},
    {"%s: it is %d bytes long, too short to hold its count of records.",
     "%s: die Datei ist %d Bytes lang, zu kurz für ihren Zähler der Einträge.",
     "%s : le fichier fait %d octets, trop peu pour contenir son compteur d'enregistrements."},
    {"'%s': the game cannot hold this track name, which has characters outside its code page "
     "(Western European, 1252).",
     "'%s': das Spiel kann diesen Streckennamen nicht aufnehmen, er enthält Zeichen außerhalb "
     "seiner Codepage (westeuropäisch, 1252).",
     "'%s' : le jeu ne peut pas contenir ce nom de circuit, qui a des caractères hors de sa page "
     "de code (Europe occidentale, 1252)."},
    {"'%s': the game cannot hold this car name, which has characters outside its code page "
     "(Western European, 1252).",
     "'%s': das Spiel kann diesen Fahrzeugnamen nicht aufnehmen, er enthält Zeichen außerhalb "
     "seiner Codepage (westeuropäisch, 1252).",
     "'%s' : le jeu ne peut pas contenir ce nom d'automobile, qui a des caractères hors de sa "
     "page de code (Europe occidentale, 1252)."},
    {"Check the game...", "Spiel prüfen...", "Vérifier le jeu..."},
    {"Check the game", "Spiel prüfen", "Vérification du jeu"},
    {"No problems found.", "Keine Probleme gefunden.", "Aucun problème trouvé."},
    {"The track '%s' of '%s' lacks data files, and the game fails when it is chosen: %s.",
     "Der Strecke '%s' aus '%s' fehlen Datendateien, und das Spiel scheitert, wenn sie gewählt "
     "wird: %s.",
     "Il manque des fichiers de données au circuit '%s' de '%s', et le jeu échoue quand on le "
     "choisit : %s."},
    {"The car '%s' of '%s' lacks data files, and the game fails when it is chosen: %s.",
     "Dem Fahrzeug '%s' aus '%s' fehlen Datendateien, und das Spiel scheitert, wenn es gewählt "
     "wird: %s.",
     "Il manque des fichiers de données à l'automobile '%s' de '%s', et le jeu échoue quand on la "
     "choisit : %s."},
    {"The files of a track '%s' are in the game, but no record of '%s' names it: %s. Install it "
     "again from a disc, or remove these files by hand.",
     "Die Dateien einer Strecke '%s' liegen im Spiel, aber kein Eintrag von '%s' nennt sie: %s. "
     "Installieren Sie sie erneut von einer CD, oder entfernen Sie diese Dateien von Hand.",
     "Les fichiers d'un circuit '%s' sont dans le jeu, mais aucun enregistrement de '%s' ne le "
     "nomme : %s. Installez-le à nouveau depuis un disque, ou supprimez ces fichiers à la main."},
    {"The files of a car '%s' are in the game, but no record of '%s' names it: %s. Install it "
     "again from a disc, or remove these files by hand.",
     "Die Dateien eines Fahrzeugs '%s' liegen im Spiel, aber kein Eintrag von '%s' nennt es: %s. "
     "Installieren Sie es erneut von einer CD, oder entfernen Sie diese Dateien von Hand.",
     "Les fichiers d'une automobile '%s' sont dans le jeu, mais aucun enregistrement de '%s' ne "
     "la nomme : %s. Installez-la à nouveau depuis un disque, ou supprimez ces fichiers à la "
     "main."},
    {"'%s' is named twice in '%s': record %d repeats record %d.",
     "'%s' steht zweimal in '%s': Eintrag %d wiederholt Eintrag %d.",
     "'%s' figure deux fois dans '%s' : l'enregistrement %d répète l'enregistrement %d."},
    {"The car '%s' of '%s' bears the name of one of the game's base cars.",
     "Das Fahrzeug '%s' aus '%s' trägt den Namen eines der ursprünglichen Fahrzeuge des Spiels.",
     "L'automobile '%s' de '%s' porte le nom d'une des automobiles de base du jeu."},
    {"The car '%s' of '%s' is also in '%s', the game's own list.",
     "Das Fahrzeug '%s' aus '%s' steht auch in '%s', der eigenen Liste des Spiels.",
     "L'automobile '%s' de '%s' figure aussi dans '%s', la liste du jeu lui-même."},
    {"%s: record %d cannot be read, or names nothing a file name can be made of.",
     "%s: Eintrag %d kann nicht gelesen werden oder nennt nichts, woraus sich ein Dateiname "
     "bilden lässt.",
     "%s : l'enregistrement %d ne peut pas être lu, ou ne nomme rien dont on puisse faire un nom "
     "de fichier."},
    {"%s: a temporary file that a run of this tool left behind.",
     "%s: eine temporäre Datei, die ein Lauf dieses Programms zurückgelassen hat.",
     "%s : un fichier temporaire qu'une exécution de cet outil a laissé."},
    {"Change %d of the history cannot be undone: the saved copies of these files are missing: %s.",
     "Änderung %d des Verlaufs kann nicht rückgängig gemacht werden: die gesicherten Kopien "
     "dieser Dateien fehlen: %s.",
     "La modification %d de l'historique ne peut pas être annulée : les copies sauvegardées de "
     "ces fichiers manquent : %s."},
    {"Remove record %d ('%s') from '%s'? No data file is deleted, and undo can put it back.",
     "Eintrag %d ('%s') aus '%s' entfernen? Keine Datendatei wird gelöscht, und Rückgängig kann "
     "ihn zurückbringen.",
     "Retirer l'enregistrement %d ('%s') de '%s' ? Aucun fichier de données n'est supprimé, et "
     "l'annulation peut le remettre."},
    {"Delete the temporary file '%s'?", "Die temporäre Datei '%s' löschen?",
     "Supprimer le fichier temporaire '%s' ?"},
    {"'%s' could not be mended: %s.", "'%s' konnte nicht repariert werden: %s.",
     "'%s' n'a pas pu être réparé : %s."},
    {"%d of these problems can be mended. Repair them now? Every change to a list can be undone.",
     "%d dieser Probleme können behoben werden. Jetzt reparieren? Jede Änderung an einer Liste "
     "kann rückgängig gemacht werden.",
     "%d de ces problèmes peuvent être réparés. Les réparer maintenant ? Chaque modification "
     "d'une liste peut être annulée."},
    {"Problems found: %d, mended: %d, left: %d.", "Gefundene Probleme: %d, behoben: %d, übrig: %d.",
     "Problèmes trouvés : %d, réparés : %d, restants : %d."},
    {"Other folder...", "Anderer Ordner...", "Autre dossier..."},
    {"Choose the game", "Spiel auswählen", "Choisir le jeu"},
    {"ZAV was found in several Wine prefixes. Choose the one to work on:",
     "ZAV wurde in mehreren Wine-Präfixen gefunden. Wählen Sie, mit welchem gearbeitet wird:",
     "ZAV a été trouvé dans plusieurs préfixes Wine. Choisissez celui sur lequel travailler :"},
    {"Where", "Fundort", "Emplacement"},
    {"Wine prefix", "Wine-Präfix", "Préfixe Wine"},
    {"Game folder", "Spielordner", "Dossier du jeu"},
    {"Language", "Sprache", "Langue"},
    {"ZAV was not found: choose its Wine prefix or the game's folder",
     "ZAV wurde nicht gefunden: Wählen Sie sein Wine-Präfix oder den Ordner des Spiels",
     "ZAV n'a pas été trouvé : choisissez son préfixe Wine ou le dossier du jeu"},
    {"'%s' holds no ZAV: neither it nor a folder above it is a Wine prefix whose settings file "
     "names the game's folder. Choose the prefix, a folder inside it, or the game's folder.",
     "'%s' enthält kein ZAV: weder er noch ein Ordner darüber ist ein Wine-Präfix, dessen "
     "Einstellungsdatei den Ordner des Spiels nennt. Wählen Sie das Präfix, einen Ordner darin "
     "oder den Ordner des Spiels.",
     "'%s' ne contient pas ZAV : ni ce dossier ni un dossier au-dessus n'est un préfixe Wine dont "
     "le fichier de réglages nomme le dossier du jeu. Choisissez le préfixe, un dossier qu'il "
     "contient ou le dossier du jeu."},
    {"%s is a link, and the history is never read through links; nothing was changed.",
     "%s ist eine Verknüpfung, und der Verlauf wird nie über Verknüpfungen gelesen; nichts wurde "
     "geändert.",
     "%s est un lien, et l'historique n'est jamais lu à travers des liens ; rien n'a été modifié."},
    {"Change %d cannot be undone: its history %s is damaged (%s); nothing was changed.",
     "Änderung %d kann nicht rückgängig gemacht werden: ihr Verlauf %s ist beschädigt (%s); nichts "
     "wurde geändert.",
     "La modification %d ne peut pas être annulée : son historique %s est endommagé (%s) ; rien "
     "n'a été modifié."},
    {"Change %d is too old to undo: its saved files were removed to keep the history small.",
     "Änderung %d ist zu alt, um rückgängig gemacht zu werden: ihre gesicherten Dateien wurden "
     "entfernt, um den Verlauf klein zu halten.",
     "La modification %d est trop ancienne pour être annulée : ses fichiers sauvegardés ont été "
     "supprimés pour garder l'historique petit."},
    {"The saved copy %s of '%s' (line %d of change %d) is a link, and saved copies are never read "
     "through links; nothing was changed.",
     "Die gesicherte Kopie %s von '%s' (Zeile %d von Änderung %d) ist eine Verknüpfung, und "
     "gesicherte Kopien werden nie über Verknüpfungen gelesen; nichts wurde geändert.",
     "La copie sauvegardée %s de '%s' (ligne %d de la modification %d) est un lien, et les copies "
     "sauvegardées ne sont jamais lues à travers des liens ; rien n'a été modifié."},
    {"The saved copy of '%s' is missing from %s; nothing was changed.",
     "Die gesicherte Kopie von '%s' fehlt in %s; nichts wurde geändert.",
     "La copie sauvegardée de '%s' manque dans %s ; rien n'a été modifié."},
    {"The saved copy %s of '%s' (line %d of change %d) is not as it was saved; nothing was "
     "changed.",
     "Die gesicherte Kopie %s von '%s' (Zeile %d von Änderung %d) ist nicht mehr so, wie sie "
     "gesichert wurde; nichts wurde geändert.",
     "La copie sauvegardée %s de '%s' (ligne %d de la modification %d) n'est plus telle qu'elle a "
     "été sauvegardée ; rien n'a été modifié."},
    {"'%s' has changed since change %d was made; nothing was undone.",
     "'%s' wurde seit Änderung %d verändert; nichts wurde rückgängig gemacht.",
     "'%s' a changé depuis la modification %d ; rien n'a été annulé."},
    {"Change %d cannot be undone: its files need %s bytes free in %s, which has %s; nothing was "
     "changed.",
     "Änderung %d kann nicht rückgängig gemacht werden: ihre Dateien brauchen %s Bytes freien "
     "Platz in %s, wo nur %s frei sind; nichts wurde geändert.",
     "La modification %d ne peut pas être annulée : ses fichiers ont besoin de %s octets libres "
     "dans %s, qui en a %s ; rien n'a été modifié."},
    {"The history in %s cannot be written; nothing was undone.",
     "Der Verlauf in %s kann nicht geschrieben werden; nichts wurde rückgängig gemacht.",
     "L'historique dans %s ne peut pas être écrit ; rien n'a été annulé."},
    {"'%s' could not be put back; run undo again to finish the job.",
     "'%s' konnte nicht zurückgebracht werden; führen Sie Rückgängig erneut aus, um die Arbeit "
     "abzuschließen.",
     "'%s' n'a pas pu être remis en place ; lancez à nouveau l'annulation pour terminer."},
    {"The game is back, but the history in %s cannot be marked; run undo again to finish the job.",
     "Das Spiel ist wiederhergestellt, aber der Verlauf in %s kann nicht markiert werden; führen "
     "Sie Rückgängig erneut aus, um die Arbeit abzuschließen.",
     "Le jeu est rétabli, mais l'historique dans %s ne peut pas être marqué ; lancez à nouveau "
     "l'annulation pour terminer."},
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
