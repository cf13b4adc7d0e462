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

} // namespace velmora::mod
