#pragma once
// The overview of every edit ("Änderungen"): each edited building with its changed fields and
// the state of its mod, and the same list as a report for a spreadsheet.
//
// Order: the data files are loaded once; the edited buildings are listed in index order with
// their fields (data::ListEdits); for each exported building the active mod is compared with
// what an activation would write now (ModIsCurrent); the program's mods whose building is gone
// follow, without fields, in the state "verwaist" (OrphanedMods.h).
#include "data/BuildingEdits.h"
#include "data/FileWriter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace velmora::mod {

enum class ModState { Inactive, Current, OutOfDate, Orphaned };

struct OverviewBuilding {
    data::BuildingEdit edit;
    ModState mod = ModState::Inactive;
};

struct EditsOverview {
    std::vector<OverviewBuilding> buildings; // the edited ones, then the orphaned mods
    int fieldCount() const;
    int editedCount() const; // the buildings that are not orphaned mods
};

// Raises data::DataError when a data file can not be read.
EditsOverview LoadEditsOverview(data::EditorFiles& files, const QString& modsDir);

// "Mod entfernen" on a building of the overview: an orphaned mod is removed as such
// (RemoveOrphanedMod), an active one as "Deaktivieren" removes it (RemoveMod, which clears the
// flag). Raises data::DataError, having changed nothing, when the building has no active mod, the
// game is no longer at gameExecutable or the mod can not be removed; returns German notes naming
// what was left beside it.
QStringList RemoveModOf(const OverviewBuilding& building, const QString& dataDir,
                        const QString& modsDir, const QString& gameExecutable,
                        data::FileWriter& writer = data::diskWriter());

// "nicht aktiv", "aktiv, aktuell", "aktiv, veraltet", "verwaist".
QString ModStateText(ModState state);

// The report: UTF-8 with byte-order mark, fields separated by ";", one line per field under the
// German headings "Gebäude;GUID;Feld;Spielwert;aktueller Wert;Mod"; a building without a changed
// field has one line with empty field columns.
QByteArray EditsReportCsv(const EditsOverview& overview, const data::ProductCatalogue& catalogue);

} // namespace velmora::mod
