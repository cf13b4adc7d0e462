#pragma once
// The program's folders in the game's mods directory: their names, what the game loads, and the
// one way they are removed.
//
// A building's folders, all directly in the mods directory (title: "(" + GUID + ") " + Local):
//   active      "[Cindral] " + title            the mod the game loads
//   hyphenated  "-[Cindral] " + title           the same mod switched off by the player
//   new         hyphenated + ".cindral-neu"     the new mod while an activation writes it
//   set aside   hyphenated + ".cindral-alt"     the old mod while the new one takes its place
//   removal     "-cindral-weg " + any of these  a folder on its way out
// Every name the program creates or renames to starts with a hyphen, so the game never loads a
// half-made or half-removed copy. The game loads a mod from a folder, or from a link to one,
// under a name without the hyphen.
//
// The game runs on Windows, where letter case does not tell two names apart: "[cindral] (1) x"
// is the same folder as "[Cindral] (1) X" there. The program recognises its names and prefixes
// in any letter case and works on the entry that is there under any letter case.
//
// Removal never follows a link: a link (on Windows also a junction) under one of the program's
// names is removed as a link where it stands, never renamed, its target untouched, and links
// inside a real folder are removed as links. Whatever is renamed is a real folder and still one
// under its new name. A leftover of a stopped run (new, set aside, removal names) is deleted only
// when it is a real folder; anything else there is left alone and named in a German note.
#include "data/FileWriter.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace velmora::mod {

// "(" + GUID + ") " + the building's Local name: the mod's title and the end of its folder name.
QString ModTitle(const QString& guid, const QString& local);

// The German message why a Local name can not name a mod folder, or "" when it can.
QString ModFolderNameFault(const QString& name);

// The paths of a building's folders, without any check (for reading and for tests).
QString ActiveModFolder(const QString& modsDir, const QString& guid, const QString& local);
QString HyphenatedModFolder(const QString& modsDir, const QString& guid, const QString& local);
QString NewModFolder(const QString& modsDir, const QString& guid, const QString& local);
QString SetAsideModFolder(const QString& modsDir, const QString& guid, const QString& local);
// The name a folder of the mods directory gets on its way out, beside it.
QString RemovalName(const QString& path);

// True when name starts with one of the program's prefixes in any letter case: the active and
// hyphenated folders and the removal names. Such a folder is never another mod.
bool IsProgramFolderName(const QString& name);

// The entries of the mods directory under the program's names (IsProgramFolderName; links and
// files included), listed once.
class ModsDirectoryListing {
public:
    // A mods directory that is empty, missing or can not be read lists nothing.
    explicit ModsDirectoryListing(const QString& modsDir);

    const QString& dir() const { return dir_; }
    const QStringList& names() const { return names_; } // sorted
    // The entry that path (directly in the mods directory) names in any letter case: path itself
    // when its entry is there, else the first by name of those that differ from it only in
    // letter case, else path as it is.
    QString resolve(const QString& path) const;

private:
    QString dir_;
    QStringList names_;
    QHash<QString, QStringList> byFolded_; // case-folded name -> the names that fold to it
};

// A building's folders once its GUID, its name and the mods directory are checked: every
// operation that writes or removes a building's mod folders takes the paths from here.
class BuildingModFolders {
public:
    // Raises data::DataError with a German message when the GUID is not decimal, the name
    // could leave the mods directory or is no valid Windows file name, or modsDir is empty.
    // Each path is the entry there under any letter case (the mods directory is listed).
    BuildingModFolders(const QString& modsDir, const QString& guid, const QString& local);
    // The same on a listing already made (many buildings at once).
    BuildingModFolders(const ModsDirectoryListing& listing, const QString& guid,
                       const QString& local);

    const QString& modsDir() const { return modsDir_; }
    const QString& active() const { return active_; }
    const QString& hyphenated() const { return hyphenated_; }
    const QString& fresh() const { return fresh_; }
    const QString& setAside() const { return setAside_; }
    // The leftovers a stopped run may have left: new, set aside, and the removal names of all
    // four (also the older removal name ".cindral-weg " + name of earlier versions).
    QStringList leftovers() const;

private:
    ModsDirectoryListing listing_;
    QString modsDir_, active_, hyphenated_, fresh_, setAside_;
};

// True when the game loads a mod from path: a real folder, or a link to a folder.
bool GameLoadsMod(const QString& path);

// What MoveAside did.
struct MovedAside {
    QString path;        // where the folder now lies; "" when nothing was moved
    QString note;        // a German note naming a file left alone under the folder's name, or ""
    QString removedLink; // the link removed where it stood, or ""
};

// Takes the folder (or link) at path from its name in one step, so that a run stopped while
// deleting leaves nothing under a name the game loads: a real folder is renamed aside under its
// removal name, a link is removed where it stands (never renamed: some systems would move what
// it points to). A file or anything else but a folder or link is no mod: it is left alone and
// named in the note. Raises data::DataError with a German message naming the entry when path
// does not lie directly in modsDir under one of the program's names, when the removal name is
// taken by something the program did not make, or when the rename or removal fails.
MovedAside MoveAside(const QString& modsDir, const QString& path,
                     data::FileWriter& writer = data::diskWriter());

// Puts back what MoveAside moved under path after a later step failed; returns the German
// sentence saying whether the mod is still active (a removed link can not be put back).
QString PutBack(const MovedAside& moved, const QString& path,
                data::FileWriter& writer = data::diskWriter());

// Renames a real folder of the mods directory in one step. Afterwards the new name must hold a
// real folder and the old name nothing; otherwise (a link was there, or the system moved what a
// link points to) the rename is undone and data::DataError raised with a German message naming
// the entry. A link or file at from is never renamed.
void RenameFolder(const QString& from, const QString& to,
                  data::FileWriter& writer = data::diskWriter());

// Removes the link at path as itself; raises data::DataError with a German message naming it
// when it stays (where the system would reach its target instead, it stays untouched).
void RemoveLink(const QString& path, data::FileWriter& writer = data::diskWriter());

// Deletes what MoveAside moved, or a leftover: a link as a link, a folder with everything in
// it, never following a link. Returns "" when nothing is left, else a German note naming it.
QString DeleteFolder(const QString& path, data::FileWriter& writer = data::diskWriter());

// A leftover of a stopped run: deleted when it is a real folder; "" when nothing is left there,
// else a German note naming what is left alone (a link, a file) or what could not be deleted.
QString RemoveLeftover(const QString& modsDir, const QString& path,
                       data::FileWriter& writer = data::diskWriter());

// The second step: deletes what MoveAside moved; returns its note and the note of what could
// not be deleted.
QStringList FinishRemoval(const MovedAside& moved, data::FileWriter& writer = data::diskWriter());

// The second step of removing a building's mod: FinishRemoval, then RemoveOtherFolders; every
// note once.
QStringList FinishRemoval(const MovedAside& moved, const BuildingModFolders& f,
                          data::FileWriter& writer = data::diskWriter());

// Both steps for a folder the game may load: MoveAside, then DeleteFolder. Raises DataError
// when the folder is still under its name; returns the German notes of what was left beside it.
QStringList RemoveModFolder(const QString& modsDir, const QString& path,
                            data::FileWriter& writer = data::diskWriter());

// After the active folder: the hyphenated folder (removed like a mod folder) and every leftover
// of a stopped run. Never raises; returns the German notes of what is left.
QStringList RemoveOtherFolders(const BuildingModFolders& f,
                               data::FileWriter& writer = data::diskWriter());

// Raises data::DataError naming the folder when it exists but could not even be renamed: the
// mods directory or the folder itself can not be written (read-only, locked). Called before an
// operation changes anything, so that it then changes nothing.
void RequireRemovable(const QString& path);

// Raises data::DataError with a German message when the game's executable is no longer where
// the start found it: the game was moved or removed, and its mods directory is no longer the
// one the game loads from. Every operation that writes or removes a mod folder checks it before
// anything is read or changed; "" (no game known) checks nothing.
void RequireGameInPlace(const QString& gameExecutable);

} // namespace velmora::mod
