#include "mod/ExportFlags.h"

#include "data/BuildingIndex.h"
#include "data/DataError.h"
#include "data/DataFiles.h"
#include "data/XmlDocument.h"
#include "mod/ModFolder.h"
#include "mod/OrphanedMods.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace velmora::mod {

using namespace velmora::data;

FlagSync SyncExportFlags(const QString& dataDir, const QString& modsDir, FileWriter& writer) {
    FlagSync sync;
    if (modsDir.isEmpty())
        return sync;

    // A missing mods directory in a game folder that is there holds no mod; one that is there
    // but can not be read changes no flag. Each building's folder is then looked up by its name
    // in any letter case, in one listing that keeps only the program's names.
    const QFileInfo mods(modsDir);
    if (mods.exists() || !QFileInfo(mods.absolutePath()).isDir()) {
        if (!mods.isDir() || !mods.isReadable() || !QDir(modsDir).isReadable()) {
            sync.problem = QStringLiteral("Der Mod-Ordner des Spiels %1 kann nicht gelesen werden; "
                                          "ob die Mods der Gebäude noch dort liegen, wurde nicht "
                                          "geprüft.")
                               .arg(quotedPath(modsDir));
            return sync;
        }
    }

    auto loaded = std::make_shared<XmlDocument>(loadDataFile(dataDir, kBuildingIndexFile));
    XmlDocument& index = *loaded;
    const ModsDirectoryListing listing(modsDir);
    for (const pugi::xml_node& element : selectNodes(index.root(), "Building")) {
        const BuildingEntry b = BuildingEntry::fromElement(element);
        // A name that can not name a folder never had a mod written.
        bool loaded = false;
        if (ModFolderNameFault(b.local).isEmpty()) {
            loaded = GameLoadsMod(listing.resolve(ActiveModFolder(modsDir, b.guid, b.local)));
        }
        const bool flagged = b.isExported == QLatin1String("true");
        if (loaded == flagged)
            continue;
        setAttributeAt(element, kBuildingIsExported, loaded ? "true" : "false");
        sync.corrected.push_back({b.guid, b.local, loaded});
    }
    if (!sync.corrected.empty())
        index.save(writer);
    sync.orphaned = FindOrphanedMods(index, listing);
    sync.index = std::move(loaded);
    return sync;
}

QString CorrectionMessage(const std::vector<FlagCorrection>& corrected) {
    QStringList lines{QStringLiteral("Der Mod-Ordner des Spiels wurde außerhalb des Programms "
                                     "geändert. Diese Gebäude wurden berichtigt:")};
    for (const FlagCorrection& c : corrected)
        lines << ModTitle(c.guid, c.local) +
                     (c.exported ? QStringLiteral(": sein Mod-Ordner ist da, das Gebäude gilt "
                                                  "jetzt als exportiert.")
                                 : QStringLiteral(": sein Mod-Ordner fehlt, das Gebäude gilt "
                                                  "jetzt als nicht exportiert."));
    return lines.join(QStringLiteral("\r"));
}

} // namespace velmora::mod
