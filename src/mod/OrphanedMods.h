#pragma once
// Mods of this program whose building is gone: a folder the game loads under the program's
// naming ("[Cindral] (" + GUID + ") " + name, in any letter case) that is the mod folder of no
// building of the building index, as after new game data without that building. Such a folder
// is the program's own: it is named at the start, listed in the overview as "verwaist", and
// removed by "Alle deaktivieren" and by a removal from the overview like a deactivated mod (in
// one step, links removed as links, with the hyphenated folder and what stopped runs left).
#include "data/FileWriter.h"
#include "data/XmlDocument.h"
#include "mod/ModFolder.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace velmora::mod {

struct OrphanedMod {
    QString guid;
    QString local;  // the name in the folder's name
    QString folder; // the path of the folder (or link) the game loads
};

// The orphaned mods of the listing, by folder name.
std::vector<OrphanedMod> FindOrphanedMods(const data::XmlDocument& index,
                                          const ModsDirectoryListing& listing);
// The same with the building index of the data directory. Raises data::DataError when it can
// not be loaded.
std::vector<OrphanedMod> FindOrphanedMods(const QString& dataDir, const QString& modsDir);

// Removes an orphaned mod folder, the hyphenated one and the leftovers of stopped runs. Raises
// data::DataError, having changed nothing, when the game is no longer at gameExecutable ("": not
// checked) or the folder can not be removed; returns German notes naming what was left beside
// it.
QStringList RemoveOrphanedMod(const QString& modsDir, const OrphanedMod& mod,
                              const QString& gameExecutable = {},
                              data::FileWriter& writer = data::diskWriter());

// The German note on orphaned mods at the start, one line per mod.
QString OrphanedModsMessage(const std::vector<OrphanedMod>& mods);

} // namespace velmora::mod
