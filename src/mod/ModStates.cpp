#include "mod/ModStates.h"

#include "mod/ModWriter.h"

#include <optional>

namespace velmora::mod {

ModState StateOfMod(data::EditorFiles& files, const ModsDirectoryListing& mods, const QString& guid,
                    const QString& local, bool exported) {
    if (!exported)
        return ModState::Inactive;
    return ModIsCurrent(files, mods, guid, local) ? ModState::Current : ModState::OutOfDate;
}

QSet<QString> StaleMods(const QString& dataDir, const QString& modsDir,
                        const std::vector<data::BuildingEntry>& buildings) {
    QSet<QString> stale;
    std::optional<data::EditorFiles> files; // loaded once a building is exported
    std::optional<ModsDirectoryListing> mods;
    for (const data::BuildingEntry& b : buildings) {
        if (b.isExported != QStringLiteral("true"))
            continue;
        if (!files) {
            files.emplace(dataDir);
            mods.emplace(modsDir);
        }
        if (StateOfMod(*files, *mods, b.guid, b.local, true) == ModState::OutOfDate)
            stale.insert(b.guid);
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
