#pragma once
// Names of a building's mod folder in the game's mods directory.
#include <QString>

namespace velmora::mod {

// "(" + GUID + ") " + the building's Local name: the mod's title and the end of its folder name.
QString ModTitle(const QString& guid, const QString& local);
// The folder of the active mod: mods directory + "[Cindral] " + title.
QString ActiveModFolder(const QString& modsDir, const QString& guid, const QString& local);
// The same mod under the name with a leading hyphen: mods directory + "-[Cindral] " + title.
QString HyphenatedModFolder(const QString& modsDir, const QString& guid, const QString& local);
// Beside the mod folder while an activation runs: the new mod as it is written, and the old mod
// while the new one takes its place. Both names start with the hyphen, so the game never loads
// them; an activation that was stopped may leave them, the next one deletes them.
QString NewModFolder(const QString& modsDir, const QString& guid, const QString& local);
QString SetAsideModFolder(const QString& modsDir, const QString& guid, const QString& local);

// Deletes a folder of the mods directory: it is first renamed aside in one step (".cindral-weg "
// + its name) and only then deleted, so that a run killed while deleting leaves no half mod
// folder under a name the game loads; what a killed run left aside is deleted first. True when
// neither the folder nor its set-aside copy is left.
bool RemoveModFolder(const QString& path);

// Raises data::DataError naming the folder when it exists but RemoveModFolder could not even
// start on it: the mods directory or the folder itself can not be written (read-only, locked).
// Called before an operation changes anything, so that it then changes nothing.
void RequireRemovable(const QString& path);

} // namespace velmora::mod
