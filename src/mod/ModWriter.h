#pragma once
// Writing a building's mod ("Aktivieren") and removing it ("Deaktivieren").
//
// WriteMod, in this order:
// 1. The building's Local name is checked as part of a folder name; a name that could leave the
//    mods directory or is no valid Windows file name is refused before anything is read.
// 2. Everything is looked up first: the record in "Buildings.xml", the entry in
//    "BuildingsShort.xml", its buff entry in "BuffsShort.xml", the product catalogue and the
//    field table, the building's icon, "Star" and "buff" among the pictures.
// 3. Every file is made in memory: assets.xml (header, ModOps, the prepared record, the buff
//    block when the entry's Set is "1", re-formatted), the marked icon, "Buff.png" and
//    modinfo.json with the German description and the marked icon as its picture.
// 4. A folder left behind by an earlier run that was stopped is deleted; the files are written
//    into a new folder beside the mod folder (its name starts with a hyphen, like the folders
//    the game's mod loader does not load), "Active.png" into the data directory.
// 5. assets.xml and modinfo.json are read back and parsed; a file that does not parse stops the
//    activation and the new folder is deleted.
// 6. The new folder is swapped in: the old mod folder is moved aside, the new one takes its
//    name, and the old one is deleted, so a failure before this point leaves the old mod as it
//    was.
// 7. IsExported is set to "true" in "BuildingsShort.xml" (saved atomically).
// 8. The hyphenated mod folder is deleted.
// The working asset list, the buff table and IsChanged are never written.
//
// RemoveMod: the name is checked as above and the building looked up in "BuildingsShort.xml";
// every mod folder that exists is checked to be removable (RequireRemovable), so a read-only
// mods directory changes nothing; IsExported is set to "false" (saved atomically); then the mod
// folder, the hyphenated mod folder and what an activation stopped half-way left are deleted, each
// renamed aside first (RemoveModFolder). A folder that can not be deleted completely raises
// DataError; the flag is then already cleared, so a building is never marked exported without its
// mod folder.
#include "data/FileWriter.h"
#include "mod/NamedPictures.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>
#include <pugixml.hpp>

namespace velmora::mod {

// What an activation needs to know besides the data files.
struct ModRequest {
    QString dataDir;
    QString modsDir;
    QString guid;     // the selected building
    QString name;     // its Local name as the building list shows it
    QString version;  // the program's version text
    QString userName; // the login name of the current user
    QDateTime createdAt = QDateTime::currentDateTime();
};

struct WrittenMod {
    QString folder;          // the mod folder
    QImage markedIcon;       // the building's icon with the star, as written
    QStringList leftFolders; // the hyphenated or old folder when it could not be deleted
};

// The German message why a Local name can not name a mod folder, or "" when it can.
QString ModFolderNameFault(const QString& name);

// Writes the mod of the building. A failure raises data::DataError with a German message;
// whatever was written of the new mod is then deleted and the old mod stays as it was.
WrittenMod WriteMod(const ModRequest& request, const NamedPictures& pictures,
                    data::FileWriter& writer = data::diskWriter());

// Removes the mod of the building and clears its IsExported flag. Raises data::DataError.
void RemoveMod(const QString& dataDir, const QString& modsDir, const QString& guid,
               const QString& name, data::FileWriter& writer = data::diskWriter());

// The prepared asset record: a copy of record with the icon path of the mod, without Region,
// Local, Template and BaseAssetGUID of Values/Standard and without Values/Standard/Output; a
// building derived from a base asset ends with BaseAssetGUID instead of its Template and is no
// main factory. Returns the icon name that the old icon path gave ("icon_fish").
QString PrepareAssetRecord(pugi::xml_node record, const QString& guid);

// The text of assets.xml before the re-format: header comment, ModOps, record, buff block.
struct AssetsSources {
    QString guid, name, version, userName;
    QDateTime createdAt;
    pugi::xml_node preparedRecord;
    pugi::xml_node products; // root of the product catalogue
    pugi::xml_node buff;     // the building's buff entry
};
QByteArray AssetsText(const AssetsSources& sources);

// The four lines of the header, centred.
QStringList HeaderLines(const QString& version, const QString& guid, const QString& name,
                        const QDateTime& createdAt, const QString& userName);

} // namespace velmora::mod
