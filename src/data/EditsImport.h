#pragma once
// Carrying an edits file into a data directory: first a preview, field by field, of what the
// import would do; then, with the user's choices, the import itself.
//
// Each field of the file is one row. A field counts only where the building's editor offers it,
// and a building's fields are judged in the editors' order on the building as the import will
// leave it, with the editors' rules (RuleValue): a value they would change is shown as what it
// becomes, or NotApplicable with the rule. Importing the same file again finds every field
// AlreadySo or NotApplicable.
//
//   AlreadySo      the current value here is the edited value;
//   NotApplicable  the building, the field or the good is unknown here, or the edited value is
//                  outside what the editor allows (the reason says which);
//   Conflict       the current value is not the edited one, and either it differs from the
//                  game's value here (the player's own edit, never overwritten unasked) or the
//                  game's value here differs from the game's value in the file (the game changed
//                  the field since the export); the value here stays unless the user chooses
//                  otherwise (OfferedChoices);
//   Apply          everything else (the value here is the game's, unchanged since the export):
//                  the edited value is set.
//
// ApplyImport, in this order: the files are loaded once; per building with something to set,
// its state is loaded as the editors load it and every value set as the editor's control would;
// then the additional products are applied, the production settings (with the additional
// products' flag, as "Annehmen" of the production window after the editor), the build costs;
// then every building of the file that differs from the game here but is not marked changed
// gets IsChanged (an import stopped between the saves of its files is completed by the next);
// finally the changed files are saved all or nothing. Nothing is activated.
#include "data/EditsFile.h"
#include "data/FileWriter.h"

#include <QString>
#include <vector>

namespace velmora::data {

enum class ImportStatus { Apply, AlreadySo, Conflict, NotApplicable };

struct ImportRow {
    QString guid;
    QString name;  // the building's name here, or the file's for an unknown building
    QString key;   // the field's key as the file names it
    QString label; // the field's German label, or the key for an unknown field
    // edited: the value the field will hold, as the editor's rules make it of the file's value
    // ("007" is "7", an amount 0 of a filled slot its smallest amount); the file's text where it
    // can not be set.
    // fileGame is the file's game value as the editor would write it where it is of the field's
    // kind, else as given.
    QString fileGame, hereGame, edited, current; // "" where unknown
    ImportStatus status = ImportStatus::NotApplicable;
    QString reason; // German: why NotApplicable; for the others what the rules made of the value
};

// What happens to a row: Skip leaves the value here as it is, Edited sets the file's value, Game
// the game's value here. Conflicts are skipped unless a value is chosen.
enum class ImportChoice { Skip, Edited, Game };

// The preview of the file against the data directory. Raises DataError only when a file of the
// data directory can not be read.
std::vector<ImportRow> PreviewImport(EditorFiles& files, const EditsFile& edits);

// The choices a row offers, its default first. A conflict offers keeping the value here (Skip),
// the file's value (Edited) and, where the game changed the field since the export, the new game
// value (Game); an Apply row offers Edited; every other row Skip. A choice that would leave the
// value as it is, or do what another choice of the row does, is not offered.
std::vector<ImportChoice> OfferedChoices(const ImportRow& row);

// A choice in German, as the preview's box shows it: Skip on a conflict "meinen Wert behalten"
// ("neuen Spielwert behalten" where the value here is the game's), otherwise "überspringen";
// Edited "Wert aus der Datei übernehmen"; Game "neuen Spielwert übernehmen".
QString ChoiceText(const ImportRow& row, ImportChoice choice);

// The choice a row gets unless the user says otherwise: its first offered one; a conflict takes
// preferConflicts where it offers that choice.
ImportChoice DefaultChoice(const ImportRow& row, ImportChoice preferConflicts = ImportChoice::Skip);

struct ImportOutcome {
    int fields = 0;        // fields set to another value
    QStringList buildings; // "<name> (<GUID>)" of each building changed, in file order
};

// Sets the rows' chosen values (choices run parallel to rows) and saves all or nothing. A chosen
// value the field holds already is neither set nor counted. A choice the row does not offer
// (Skip is always taken), a row that can no longer be set, or a failing save, raises DataError
// and changes nothing.
ImportOutcome ApplyImport(const QString& dataDir, const std::vector<ImportRow>& rows,
                          const std::vector<ImportChoice>& choices,
                          FileWriter& writer = diskWriter());

// One line of the preview in German, values as the editors show them:
//   "Baeckerei (1010402), Ausgabemenge: übernehmen (1 → 2)"
//   "…: bereits so (2)"
//   "…: Konflikt (Spielwert beim Export 1, Spielwert jetzt 2, aktuell 2, bearbeitet 3)"
//   "…: nicht anwendbar: <reason>"
QString RowText(const ImportRow& row, const ProductCatalogue& catalogue);

// True when the rows leave nothing to set (every row "bereits so" or "nicht anwendbar"), as a
// second import of the same file does; NothingToSetText says so in German.
bool NothingToSet(const std::vector<ImportRow>& rows);
QString NothingToSetText();

// The German word of a status: "übernehmen", "bereits so", "Konflikt", "nicht anwendbar".
QString StatusText(ImportStatus status);

// The preview's counts in German, with NothingToSetText where it applies:
//   "1 Feld übernehmen, 2 Konflikte, 0 bereits so, 0 nicht anwendbar."
QString PreviewSummaryText(const std::vector<ImportRow>& rows);

// What an import of the rows did, in German: NothingToSetText where they left nothing to set,
// else "1 Feld in 1 Gebäude übernommen.", "3 Felder in 2 Gebäuden übernommen."
QString OutcomeText(const std::vector<ImportRow>& rows, const ImportOutcome& outcome);

} // namespace velmora::data
