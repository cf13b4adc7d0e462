#pragma once
// The export flags follow the mods directory: IsExported is "true" exactly when the game loads
// the building's mod, a folder (or a link to one) under its active name. A player may delete a
// mod folder by hand or put one back, and a run killed between two steps may leave a flag
// behind; the flags are brought back in line at the start and whenever the building list is
// refilled.
//
// Order: the mods directory is checked to be readable (one that can not be read changes nothing);
// the building index is loaded and every entry compared with its active folder, looked up by
// its name in any letter case; the index is saved once, atomically, and only when a flag
// differs. The mods of this program whose building is gone are found on the same listing.
#include "data/FileWriter.h"
#include "data/XmlDocument.h"
#include "mod/OrphanedMods.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace velmora::mod {

struct FlagCorrection {
    QString guid, local;
    bool exported = false; // the flag as it is now: the mod folder was found ("true") or not
};

struct FlagSync {
    std::vector<FlagCorrection> corrected;
    QString problem; // a German message when the mods directory could not be read, else ""
    std::vector<OrphanedMod> orphaned; // the program's mods whose building is gone
    // The building index as it now is on the disk, for the caller to read on; null when the
    // mods directory was not looked at.
    std::shared_ptr<const data::XmlDocument> index;
};

// Brings every IsExported flag of the building index in the data directory in line with the
// mods directory. Raises data::DataError when the index can not be loaded or saved.
FlagSync SyncExportFlags(const QString& dataDir, const QString& modsDir,
                         data::FileWriter& writer = data::diskWriter());

// The German message the main window shows for corrected flags, one line per building.
QString CorrectionMessage(const std::vector<FlagCorrection>& corrected);

} // namespace velmora::mod
