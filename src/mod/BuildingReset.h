#pragma once
// Returning one building to the game's values.
//
// Order: the mod folders' names are checked as an activation checks them, and so is the game
// still being where the start found it (nothing is read otherwise); every record and entry
// is looked up, and the mod folder and the hyphenated one are checked to be removable (mods
// directory and folder writable); then the mod folder leaves its name in one step (MoveAside);
// then the working record is replaced by the original one ("Buildings.xml"), the buff entry is
// emptied ("BuffsShort.xml") and both flags are cleared ("BuildingsShort.xml"), the three files
// saved all or nothing (a failure moves the mod folder back first); then the moved folder, the
// hyphenated one and what stopped runs left are deleted. A damaged name, a building missing from
// one of the files, a file that can not be written or a mod folder that can not be moved leaves
// all of them untouched, and IsExported always tells whether the game loads the mod.
#include "data/FileWriter.h"

#include <QString>
#include <QStringList>

namespace velmora::mod {

// Resets the building with the GUID; displayName is its Local as the building list shows it
// (it names the mod folders). Raises data::DataError when a file can not be loaded or lacks
// the building, when the name could not name a mod folder, or when the game is no longer at
// gameExecutable ("": not checked). Returns German notes naming what was left in the mods
// directory (folders not deleted completely, entries left alone).
QStringList ResetBuilding(const QString& dataDir, const QString& modsDir, const QString& guid,
                          const QString& displayName, const QString& gameExecutable = {},
                          data::FileWriter& writer = data::diskWriter());

} // namespace velmora::mod
