#include "mod/ModStates.h"

#include "data/BuildingIndex.h"
#include "mod/ModWriter.h"

#include <optional>

namespace velmora::mod {

ModState StateOfMod(data::EditorFiles& files, const ModsDirectoryListing& mods, const QString& guid,
                    const QString& local, bool exported) {
    if (!exported)
        return ModState::Inactive;
    return ModIsCurrent(files, mods, guid, local) ? ModState::Current : ModState::OutOfDate;
}

QSet<QString> StaleMods(const QString& dataDir, const QString& modsDir) {
    QSet<QString> stale;
    data::EditorFiles files(dataDir);
    std::optional<ModsDirectoryListing> mods; // listed once a building is exported
    for (const pugi::xml_node& e : files.index().root().children("Building")) {
        const data::BuildingEntry entry = data::BuildingEntry::fromElement(e);
        if (entry.isExported != QStringLiteral("true"))
            continue;
        if (!mods)
            mods.emplace(modsDir);
        if (StateOfMod(files, *mods, entry.guid, entry.local, true) == ModState::OutOfDate)
            stale.insert(entry.guid);
    }
    return stale;
}

QString ModStateText(ModState state) {
    switch (state) {
    case ModState::Current:
        return QStringLiteral("aktiv, aktuell");
    case ModState::OutOfDate:
        return QStringLiteral("aktiv, veraltet");
    case ModState::Orphaned:
        return QStringLiteral("verwaist");
    case ModState::Inactive:
        break;
    }
    return QStringLiteral("nicht aktiv");
}

} // namespace velmora::mod
