#pragma once
// The other mods of the game's mods directory and the buildings they change too.
//
// Every folder of the mods directory that the game loads and this program did not write (not
// "[Cindral] …", not hidden by a leading hyphen or dot) is read: the ModOp elements of its
// data/config/export/main/asset/assets.xml give the asset GUIDs it changes (a GUID attribute,
// also a comma-separated list, and every Values/Standard/GUID its Path compares with), its
// modinfo.json its name (German, else English, else the folder's name). Only regular files are
// read, never waiting on a pipe or a device, and only up to the limits below. A mod whose
// assets.xml or modinfo.json can not be read (not a regular file, too large, damaged XML, a
// folder that may not be entered) is skipped and named in a German note; a missing or damaged
// modinfo.json only costs the name. Names are shown without control and direction characters
// (PlainModName). Nothing is written.
//
// The scan only reads files, so it may run on any thread.
#include <QString>
#include <QStringList>
#include <atomic>
#include <utility>
#include <vector>

namespace velmora::mod {

// The most of a mod's files that is read: a mod's assets.xml holds its asset changes (the
// program's own mods take a few KiB, the largest mods a few MiB); modinfo.json only a
// description.
inline constexpr qint64 kModAssetsSizeLimit = qint64(64) << 20;
inline constexpr qint64 kModInfoSizeLimit = qint64(1) << 20;

struct ForeignMods {
    QStringList names; // of the mods read, by index
    // (asset GUID, index into names) of every asset a mod changes, sorted, each pair once.
    std::vector<std::pair<quint64, quint32>> changes;
    QStringList skipped;  // German notes, one per mod that could not be read
    int modCount = 0;     // foreign mods whose assets.xml was read
    bool stopped = false; // the scan was told to stop before it had read every mod
};

// Reads every other mod of modsDir. When stop is given and becomes true, the scan ends before
// the next mod folder and returns what it has.
ForeignMods ScanForeignMods(const QString& modsDir, const std::atomic<bool>* stop = nullptr);

// A mod's name (or a folder's) as the program shows it: control characters (line breaks, NUL)
// and the characters that change the direction or the layout of text are left out, so that a
// name stays on its line and reads as written.
QString PlainModName(const QString& name);

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
