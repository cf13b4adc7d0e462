#pragma once
// Writing a building's mod ("Aktivieren") and removing it ("Deaktivieren").
//
// Both keep one rule: IsExported is "true" exactly when the game loads the building's mod (a
// folder, or a link to one, under its active name), at the end of every run, failed or not. A
// run killed between two steps may break it until the next start repairs the flags from the
// folders (SyncExportFlags).
//
// WriteMod, in this order:
// 1. The building's Local name is checked as part of a folder name (BuildingModFolders); a name
//    that could leave the mods directory or is no valid Windows file name is refused, and so is
//    a game that is no longer where the start found it, before anything is read.
// 2. Everything is looked up first: the record in "Buildings.xml", the entry in
//    "BuildingsShort.xml", its buff entry in "BuffsShort.xml", the product catalogue and the
//    field table, the building's icon, "Star" and "buff" among the pictures.
// 3. Every file is made in memory: assets.xml (header, ModOps, the prepared record, the buff
//    block when the entry's Set is "1", re-formatted), the marked icon, "Buff.png" (the stored
//    picture as it is when the picture store has it at 128 x 128, else encoded) and
//    modinfo.json with the German description and the marked icon as its picture.
// 4. A file under the mod folder's name stops the activation; real folders left under the new
//    and set-aside names by a stopped run are deleted, anything else there stops it too.
// 5. The files are written into the new folder (its name starts with a hyphen, so the game does
//    not load it), "Active.png" into the data directory; assets.xml and modinfo.json are read
//    back and compared with the bytes written (modinfo.json was read as JSON in memory before).
//    A failure deletes the new folder and leaves the old mod as it was.
// 6. The new folder is swapped in: the old mod folder (or link) is moved to the set-aside name,
//    the new one takes its name; a failure puts the old one back.
// 7. IsExported is set to "true" in "BuildingsShort.xml" (saved atomically) unless it is so
//    already; when the save fails the swap is undone before the error is raised.
// 8. The old mod, the hyphenated mod folder and the leftovers of stopped runs are deleted; what
//    can not be deleted is only named in the result.
// The working asset list, the buff table and IsChanged are never written.
//
// RemoveMod: the name and the game are checked as above and the building looked up in
// "BuildingsShort.xml"; the mod folder and the hyphenated one are checked to be removable
// (RequireRemovable), so a read-only mods directory changes nothing. Then the mod folder leaves its
// name in one step (MoveAside: a failure raises DataError with the flag unchanged, the mod still
// active); IsExported is set to "false" (saved atomically; a failure moves the mod back first);
// then the moved folder, the hyphenated one and the leftovers are deleted, and what is left only
// named.
#include "data/EditorFiles.h"
#include "data/FileWriter.h"
#include "data/XmlDocument.h"
#include "mod/ModFolder.h"
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
    QString gameExecutable = {}; // checked to be still there before anything is written ("": never)
};

struct WrittenMod {
    QString folder;          // the mod folder
    QImage markedIcon;       // the building's icon with the star, as written
    QStringList leftFolders; // German notes naming what was left: folders not deleted, entries
                             // under the program's names left alone
};

// Step 1 alone: raises data::DataError when the building's name can not name a mod folder or the
// game is no longer where the start found it.
void RequireWritable(const ModRequest& request);

// The data files an activation reads and never writes: the working asset list, the product
// catalogue, the buff table and the field table. Loaded once, they serve several activations
// ("Alle aktivieren"); the building index is read by each activation itself, since it writes it.
struct ModInputs {
    // Raises data::DataError naming the file that can not be loaded.
    static ModInputs load(const QString& dataDir);
    data::XmlDocument working, products, buffs, fields;
};

// Writes the mod of the building. A failure raises data::DataError with a German message;
// whatever was written of the new mod is then deleted and the old mod stays as it was.
WrittenMod WriteMod(const ModRequest& request, const NamedPictures& pictures,
                    data::FileWriter& writer = data::diskWriter());
// The same with the read-only data files already loaded (from request.dataDir).
WrittenMod WriteMod(const ModRequest& request, const NamedPictures& pictures,
                    const ModInputs& inputs, data::FileWriter& writer = data::diskWriter());

// Whether the building's active mod holds the assets.xml an activation would write from the
// files now, its header (version, time, user) aside: false when the edits changed since the
// activation, or the mod is missing or can not be read.
// The active mod is found in the listing under any letter case.
bool ModIsCurrent(data::EditorFiles& files, const ModsDirectoryListing& mods, const QString& guid,
                  const QString& local);

// Removes the mod of the building and clears its IsExported flag. Raises data::DataError when
// the mod is still active, and before anything is read when the game is no longer at
// gameExecutable ("": not checked); returns German notes naming what was left beside it.
QStringList RemoveMod(const QString& dataDir, const QString& modsDir, const QString& guid,
                      const QString& name, const QString& gameExecutable = {},
                      data::FileWriter& writer = data::diskWriter());

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
// The file assets.xml as the activation writes it: AssetsText re-formatted.
QByteArray AssetsXml(const AssetsSources& sources);

// The four lines of the header, centred.
QStringList HeaderLines(const QString& version, const QString& guid, const QString& name,
                        const QDateTime& createdAt, const QString& userName);

} // namespace velmora::mod
