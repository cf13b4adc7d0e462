#pragma once
// Returning one building to the game's values.
//
// Order: the working record is replaced by the original one ("Buildings.xml" saved), the buff
// entry is emptied ("BuffsShort.xml" saved), both flags are cleared ("BuildingsShort.xml" saved),
// then the active and the hyphenated mod folder are deleted. Every record and entry is looked
// up before the first file is saved, so a building missing from one of the files leaves all of
// them untouched.
#include <QString>
#include <QStringList>

namespace velmora::mod {

// Resets the building with the GUID; displayName is its Local as the building list shows it
// (it names the mod folders). Raises data::DataError when a file can not be loaded or lacks
// the building. Returns the mod folders that exist but could not be deleted completely.
QStringList ResetBuilding(const QString& dataDir, const QString& modsDir, const QString& guid,
                          const QString& displayName);

} // namespace velmora::mod
