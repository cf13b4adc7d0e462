#pragma once
// Names of the files of the data directory, shared by every layer.
#include <QString>
#include <QStringList>

namespace velmora::data {

inline const QString kBuildingIndexFile = QStringLiteral("BuildingsShort.xml");
inline const QString kGroupListFile = QStringLiteral("BuildingGroups.xml");
inline const QString kWorkingAssetsFile = QStringLiteral("Buildings.xml");
inline const QString kOriginalAssetsFile = QStringLiteral("BuildingsOrg.xml");
inline const QString kProductCatalogueFile = QStringLiteral("ProductsShort.xml");
inline const QString kFieldTableFile = QStringLiteral("FarmField.xml");
inline const QString kBuffTableFile = QStringLiteral("BuffsShort.xml");
inline const QString kHelpFile = QStringLiteral("Help.xml");
inline const QString kActivePictureFile = QStringLiteral("Active.png");

// The nine entries of the data archive, in the order of the data directory's table.
inline const QStringList kDataArchiveFiles = {
    kBuildingIndexFile,    kGroupListFile,  kWorkingAssetsFile, kOriginalAssetsFile,
    kProductCatalogueFile, kFieldTableFile, kBuffTableFile,     kHelpFile,
    kActivePictureFile};

} // namespace velmora::data
