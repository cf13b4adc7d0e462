#include "mod/OrphanedMods.h"

#include "data/BuildingIndex.h"
#include "data/DataError.h"
#include "data/DataFiles.h"
#include "data/EditorLookups.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <optional>

namespace velmora::mod {

namespace {

const QString kActiveStart = QStringLiteral("[Cindral] (");

// The GUID and name of a folder named "[Cindral] (GUID) name" in any letter case, or nothing.
std::optional<OrphanedMod> underProgramNaming(const ModsDirectoryListing& listing,
                                              const QString& name) {
    if (!name.startsWith(kActiveStart, Qt::CaseInsensitive))
        return std::nullopt;
    const qsizetype close = name.indexOf(QStringLiteral(") "), kActiveStart.size());
    if (close < 0)
        return std::nullopt;
    OrphanedMod mod{name.mid(kActiveStart.size(), close - kActiveStart.size()), name.mid(close + 2),
                    QDir(listing.dir()).filePath(name)};
    if (!data::isWholeNumber(mod.guid) || !ModFolderNameFault(mod.local).isEmpty() ||
        !GameLoadsMod(mod.folder))
        return std::nullopt;
    return mod;
}

} // namespace

std::vector<OrphanedMod> FindOrphanedMods(const data::XmlDocument& index,
                                          const ModsDirectoryListing& listing) {
    // The folder of each building, as every operation on it finds it.
    QSet<QString> buildingFolders;
    for (const pugi::xml_node& element : data::selectNodes(index.root(), "Building")) {
        const data::BuildingEntry b = data::BuildingEntry::fromElement(element);
        if (ModFolderNameFault(b.local).isEmpty())
            buildingFolders << listing.resolve(ActiveModFolder(listing.dir(), b.guid, b.local));
    }
    std::vector<OrphanedMod> orphans;
    for (const QString& name : listing.names())
        if (std::optional<OrphanedMod> mod = underProgramNaming(listing, name))
            if (!buildingFolders.contains(mod->folder))
                orphans.push_back(*mod);
    return orphans;
}

std::vector<OrphanedMod> FindOrphanedMods(const QString& dataDir, const QString& modsDir) {
    if (modsDir.isEmpty())
        return {};
    return FindOrphanedMods(data::loadDataFile(dataDir, data::kBuildingIndexFile),
                            ModsDirectoryListing(modsDir));
}

QStringList RemoveOrphanedMod(const QString& modsDir, const OrphanedMod& mod,
                              const QString& gameExecutable, data::FileWriter& writer) {
    const BuildingModFolders f(modsDir, mod.guid, mod.local);
    RequireGameInPlace(gameExecutable);
    for (const QString& folder : {f.active(), f.hyphenated()})
        RequireRemovable(folder);
    QStringList notes = RemoveModFolder(modsDir, f.active(), writer);
    notes << RemoveOtherFolders(f, writer);
    notes.removeDuplicates();
    return notes;
}

QString OrphanedModsMessage(const std::vector<OrphanedMod>& mods) {
    QStringList lines{
        QStringLiteral("Im Mod-Ordner des Spiels liegen Mods dieses Programms, "
                       "deren Gebäude es in den Daten nicht mehr gibt. Das Spiel "
                       "lädt sie weiterhin. \u201EAlle deaktivieren\u201C entfernt sie, "
                       "einzeln auch \u201EMod entfernen\u201C im Fenster "
                       "\u201E\u00C4nderungen\u201C:")};
    for (const OrphanedMod& m : mods)
        lines << QDir::toNativeSeparators(QFileInfo(m.folder).fileName());
    return lines.join(QStringLiteral("\r"));
}

} // namespace velmora::mod
