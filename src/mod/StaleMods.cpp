#include "mod/StaleMods.h"

#include <QStringList>

namespace velmora::mod {

std::vector<const OverviewBuilding*> StaleOverviewBuildings(const EditsOverview& overview) {
    std::vector<const OverviewBuilding*> stale;
    for (const OverviewBuilding& b : overview.buildings)
        if (b.mod == ModState::OutOfDate)
            stale.push_back(&b);
    return stale;
}

QString StaleModsText(const EditsOverview& overview) {
    const std::vector<const OverviewBuilding*> stale = StaleOverviewBuildings(overview);
    if (stale.empty())
        return QStringLiteral("Kein aktiver Mod ist veraltet.");
    QStringList names;
    for (const OverviewBuilding* b : stale)
        names << QStringLiteral("%1 (%2)").arg(b->edit.name, b->edit.guid);
    const QString list = names.join(QStringLiteral(", "));
    if (stale.size() == 1)
        return QStringLiteral("1 aktiver Mod ist nun veraltet: %1. Aktivieren Sie das Gebäude "
                              "erneut, damit das Spiel die neuen Werte lädt.")
            .arg(list);
    return QStringLiteral("%1 aktive Mods sind nun veraltet: %2. Aktivieren Sie diese Gebäude "
                          "erneut (\u201EAlle aktivieren\u201C), damit das Spiel die neuen Werte "
                          "lädt.")
        .arg(stale.size())
        .arg(list);
}

} // namespace velmora::mod
