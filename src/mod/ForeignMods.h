#pragma once
// The other mods of the game's mods directory and the buildings they change too.
//
// Every folder of the mods directory that the game loads and this program did not write (not
// "[Cindral] …", not hidden by a leading hyphen or dot) is read: the ModOp elements of its
// data/config/export/main/asset/assets.xml give the asset GUIDs it changes (a GUID attribute,
// also a comma-separated list, and every Values/Standard/GUID its Path compares with), its
// modinfo.json its name (German, else English, else the folder's name). A mod whose assets.xml
// can not be read is skipped and named in a German note; a missing or damaged modinfo.json only
// costs the name. Nothing is written.
//
// The scan only reads files, so it may run on any thread.
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace velmora::mod {

struct ForeignMods {
    QStringList names; // of the mods read, by index
    // (asset GUID, index into names) of every asset a mod changes, sorted, each pair once.
    std::vector<std::pair<quint64, quint32>> changes;
    QStringList skipped; // German notes, one per mod that could not be read
    int modCount = 0;    // foreign mods whose assets.xml was read
};

ForeignMods ScanForeignMods(const QString& modsDir);

// The names of the other mods that change the building or the buff asset added for it, sorted,
// each once.
QStringList ConflictingMods(const ForeignMods& mods, const QString& buildingGuid,
                            const QString& buffGuid);

// The German line of the detail pane: "Wird auch geändert von: A, B", or "" for none.
QString ConflictText(const QStringList& names);

// The German question "Aktivieren" asks before it writes the mod of a building in conflict.
QString ConflictQuestion(const QStringList& names);

// The German note on the mods that were skipped, or "" when none was.
QString SkippedModsNote(const ForeignMods& mods);

} // namespace velmora::mod
