#include "data/BuildingBrowser.h"
#include "data/DataFiles.h"

#include <algorithm>

namespace velmora::data {

namespace {
char16_t asciiUpper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
}
} // namespace

int CompareBuildingNames(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = asciiUpper(a.at(i).unicode());
        const char16_t cb = asciiUpper(b.at(i).unicode());
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::vector<BuildingEntry> BrowseBuildings(const QString& dataDir, int regionPosition,
                                           int groupPosition, const QString& groupName) {
    return BrowseBuildings(loadDataFile(dataDir, kBuildingIndexFile), regionPosition, groupPosition,
                           groupName);
}

std::vector<BuildingEntry> BrowseBuildings(const XmlDocument& index, int regionPosition,
                                           int groupPosition, const QString& groupName) {
    std::vector<BuildingEntry> rows =
        ListBuildings(index, regionPosition, groupPosition, groupName);
    std::stable_sort(rows.begin(), rows.end(), [](const BuildingEntry& x, const BuildingEntry& y) {
        return CompareBuildingNames(x.local, y.local) < 0;
    });
    return rows;
}

int RowToSelect(int groupPosition, int listIndex, int rowCount) {
    if (groupPosition == kChangedPseudoGroup)
        return 0;
    if (listIndex < 0 || listIndex >= rowCount)
        return 0;
    return listIndex;
}

ModButtons ModButtonsFor(const BuildingEntry& building) {
    return {building.isChanged != QStringLiteral("false"),
            building.isExported != QStringLiteral("false")};
}

QString CountText(int buildingCount) {
    return QString::number(buildingCount) + QStringLiteral(" Gebäude gefunden");
}

} // namespace velmora::data
