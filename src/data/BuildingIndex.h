#pragma once
// The building index ("BuildingsShort.xml") and the group list ("BuildingGroups.xml").
// Attributes of a Building entry are read by position; the order is part of the file format.
#include "data/XmlDocument.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace velmora::data {

// Positions of the Building attributes.
enum BuildingAttribute : int {
    kBuildingGuid = 0,
    kBuildingLocal = 1,
    kBuildingIcon = 2,
    kBuildingRegion = 3,
    kBuildingIsChanged = 4,
    kBuildingIsExported = 5,
    kBuildingGroup = 6,
    kBuildingProduction = 7,
    kBuildingAdd = 8,
    kBuildingChain = 9,
};

// One entry of the building index, read by position.
struct BuildingEntry {
    QString guid, local, icon, region, isChanged, isExported, group, production, add, chain;
    static BuildingEntry fromElement(const pugi::xml_node& element);
};

// Group list positions 0 and 1 are the pseudo-groups "changed" and "exported".
constexpr int kChangedPseudoGroup = 0;
constexpr int kExportedPseudoGroup = 1;

// Building entries for a region position (from 0, -1 = none) and a group position and name,
// in file order. The pseudo-groups ignore the region.
std::vector<BuildingEntry> ListBuildings(const QString& dataDir, int regionPosition,
                                         int groupPosition, const QString& groupName);
// The same from an index already loaded.
std::vector<BuildingEntry> ListBuildings(const XmlDocument& index, int regionPosition,
                                         int groupPosition, const QString& groupName);

// The first entry with the GUID, or nothing.
std::optional<BuildingEntry> FindBuilding(const QString& dataDir, const QString& guid);

// Sets the flag at position 4 (IsChanged) or 5 (IsExported) to "true" or "false" and saves.
void SetBuildingFlag(const QString& dataDir, const QString& guid, int position, bool value);

// The names of the group list, in file order (first attribute of each Group).
QStringList ReadGroupNames(const QString& dataDir);
// The same names of a group list already loaded.
QStringList GroupNames(const XmlDocument& doc);

// dataDir + name, with the platform's separator between them.
QString dataFilePath(const QString& dataDir, const QString& fileName);

// Loads a file of the data directory: Unicode text (a file saved in an 8-bit code page is
// refused) whose root element is the one its format names. Raises DataError naming the file.
XmlDocument loadDataFile(const QString& dataDir, const QString& fileName,
                         LoneBlanks blanks = LoneBlanks::Drop);

} // namespace velmora::data
