#pragma once
// Asset elements in the shapes of the game's asset file: production buildings (template and
// derived), products, field modules and other assets, and production chain records.
#include "generators/standin/StandinTables.h"

#include <QHash>
#include <pugixml.hpp>

namespace velmora::generators::standin {

// Full path of an icon cell: a name becomes the game's 3D-icon path, a path stays.
QString iconPath(const QString& icon);
// Internal asset name of a building: the "name" extra, else derived from icon and GUID.
QString internalBuildingName(const BuildingRow& building);

void appendBuildingAsset(pugi::xml_node parent, const BuildingRow& building);
// categoryGuids maps category texts to the GUID of their text entry.
void appendProductAsset(pugi::xml_node parent, const ProductRow& product,
                        const QHash<QString, QString>& categoryGuids);
void appendOtherAsset(pugi::xml_node parent, const OtherRow& other);
void appendChainAsset(pugi::xml_node parent, const ChainRow& chain);
// A bulky asset of no interest to the data tools, for the large variant; derived from
// baseGuid when that is not empty.
void appendFillerAsset(pugi::xml_node parent, int index, const QString& guid,
                       const QString& baseGuid);
// One entry of the German text file.
void appendText(pugi::xml_node parent, const QString& guid, const QString& text);

} // namespace velmora::generators::standin
