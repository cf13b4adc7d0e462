#pragma once
// The state of a building's mod as the player sees it: not active, active and current (its
// assets.xml is what "Aktivieren" would write now, header aside: ModIsCurrent), active and out of
// date (stale after an edit, an import or new game data), or orphaned (its building is no longer
// in the data: OrphanedMods.h). The overview, "Alle aktivieren" and the main window's mark all
// take it from here.
#include "data/BuildingIndex.h"
#include "data/EditorFiles.h"
#include "mod/ModFolder.h"

#include <QSet>
#include <QString>
#include <vector>

namespace velmora::mod {

enum class ModState { Inactive, Current, OutOfDate, Orphaned };

// The state of a building of the data: exported is its IsExported flag, which follows the mods
// directory (SyncExportFlags).
ModState StateOfMod(data::EditorFiles& files, const ModsDirectoryListing& mods, const QString& guid,
                    const QString& local, bool exported);

// The GUIDs of the buildings among these whose active mod is out of date (an exported building
// whose mod can not be read counts so too). The data files and the mods directory are read only
// when one of them is exported.
QSet<QString> StaleMods(const QString& dataDir, const QString& modsDir,
                        const std::vector<data::BuildingEntry>& buildings);

// "nicht aktiv", "aktiv, aktuell", "aktiv, veraltet", "verwaist".
QString ModStateText(ModState state);

} // namespace velmora::mod
