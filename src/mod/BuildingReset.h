#pragma once
// Returning one building to the game's values.
//
// Order: every record and entry is looked up first, and every mod folder that exists is checked
// to be removable (mods directory and folder writable); then the working record is replaced by the
// original one ("Buildings.xml"), the buff entry is emptied ("BuffsShort.xml") and both flags
// are cleared ("BuildingsShort.xml"), the three files saved all or nothing; then the active and
// the hyphenated mod folder are deleted, each renamed aside first so that it is never left half
// deleted, and what a stopped activation left beside them. A building missing from one of the
// files, a file that can not be written or a mod folder that can not be removed leaves all of
// them untouched.
#include "data/FileWriter.h"

#include <QString>
#include <QStringList>

namespace velmora::mod {

// Resets the building with the GUID; displayName is its Local as the building list shows it
// (it names the mod folders). Raises data::DataError when a file can not be loaded or lacks
// the building. Returns the mod folders that exist but could not be deleted completely.
QStringList ResetBuilding(const QString& dataDir, const QString& modsDir, const QString& guid,
                          const QString& displayName,
                          data::FileWriter& writer = data::diskWriter());

} // namespace velmora::mod
