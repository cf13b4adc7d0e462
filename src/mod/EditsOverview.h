#pragma once
// The overview of every edit ("Änderungen"): each edited building with its changed fields and
// the state of its mod, every other building with an active mod, and the same list as a report
// for a spreadsheet.
//
// Order: the data files are loaded once; the edited buildings are listed in index order with
// their fields (data::ListEdits); the exported buildings that are not edited follow in index
// order, without fields (after new game data their mod may still hold the old values); for each
// exported building the active mod is compared with what an activation would write now
// (ModStates.h); the program's mods whose building is gone follow, without fields, in the state
// "verwaist" (OrphanedMods.h).
#include "data/BuildingEdits.h"
#include "data/FileWriter.h"
#include "mod/ModStates.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace velmora::mod {

struct OverviewBuilding {
    data::BuildingEdit edit;
    ModState mod = ModState::Inactive;
    bool edited = true; // marked changed; false for a building listed only for its active mod
};

struct EditsOverview {
    // The edited ones, then the other buildings with an active mod, then the orphaned mods.
    std::vector<OverviewBuilding> buildings;
    int fieldCount() const;
    int editedCount() const; // the buildings marked changed
    int countOf(ModState state) const;
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

// The report: UTF-8 with byte-order mark, fields separated by ";", one line per field under the
// German headings "Gebäude;GUID;Feld;Spielwert;aktueller Wert;Mod"; a building without a changed
// field has one line with empty field columns.
QByteArray EditsReportCsv(const EditsOverview& overview, const data::ProductCatalogue& catalogue);

} // namespace velmora::mod
