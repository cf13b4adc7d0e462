#pragma once
// The browsing rules of the main window's building list, kept free of widgets: the rows for a
// region and group in list order, the row to select after a refresh, the mod buttons a
// building allows, the count text, and the selection values that the editors and the mod
// writer read.
#include "data/BuildingIndex.h"

#include <QString>
#include <vector>

namespace velmora::data {

// What the main window has selected. The values are not cleared when a refresh finds no
// building: they keep naming the last selected one while the buttons acting on it are disabled.
struct SelectionValues {
    QString building;            // GUID of the selected building
    QString buildingName;        // its Local
    QString buildingIcon;        // its ICON (a picture name)
    QString buildingRegionImage; // its Region, also the name of the region's picture
    int listIndex = 0;           // row of the selection in the building list
    int buildingCount = 0;       // rows of the building list after the last fill
};

// Order of two building names: ASCII letters compare without case, every other character
// (umlauts included) by its code, and a name that starts another comes first.
int CompareBuildingNames(const QString& a, const QString& b);

// The matches of ListBuildings in list order (stable: equal names keep their file order).
std::vector<BuildingEntry> BrowseBuildings(const QString& dataDir, int regionPosition,
                                           int groupPosition, const QString& groupName);
// The same from an index already loaded.
std::vector<BuildingEntry> BrowseBuildings(const XmlDocument& index, int regionPosition,
                                           int groupPosition, const QString& groupName);

// The row to select after a fill: the remembered row while it exists, otherwise row 0; the
// pseudo-group of changed buildings always starts at row 0.
int RowToSelect(int groupPosition, int listIndex, int rowCount);

// Which mod buttons the selected building allows: "Aktivieren" unless its IsChanged is "false",
// "Deaktivieren" unless its IsExported is "false".
struct ModButtons {
    bool activate = false;
    bool deactivate = false;
};
ModButtons ModButtonsFor(const BuildingEntry& building);

// Caption of the count label after a fill: "15 Gebäude gefunden".
QString CountText(int buildingCount);

} // namespace velmora::data
