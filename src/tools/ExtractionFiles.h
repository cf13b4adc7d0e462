#pragma once
// Names of the files the pipeline steps read and write.
#include <QString>

namespace velmora::tools::files {

// In ORG.
inline const QString kGameAssets = QStringLiteral("Assets.xml");
inline const QString kGameTexts = QStringLiteral("texts_german.xml");
inline const QString kEmptyList = QStringLiteral("empty.xml");
inline const QString kGameProducts = QStringLiteral("Products.xml");
inline const QString kGameChains = QStringLiteral("ProductionChain.xml");
// In TMP.
inline const QString kTemplateList = QStringLiteral("Building_Templates.xml");
inline const QString kTemplateBuildings = QStringLiteral("Template_Buildings.xml");
inline const QString kTemplateGuids = QStringLiteral("Template_Buildings.txt");
inline const QString kDerivedBuildings = QStringLiteral("BaseAsset_Buildings.xml");
inline const QString kUncleanedBuildings = QStringLiteral("Buildings_Standard_UnCleaned.xml");
inline const QString kCleanedBuildings = QStringLiteral("Buildings_Standard_Cleaned.xml");
inline const QString kRemovedBuildings = QStringLiteral("NotInUse_Buildings.xml");
inline const QString kCostBuildings = QStringLiteral("Buildings_Standard_Cleaned_And_Cost.xml");
inline const QString kCostAllBuildings =
    QStringLiteral("Buildings_Standard_Cleaned_And_Cost_all.xml");
inline const QString kBuildingIcons = QStringLiteral("BuildingIcons_List.txt");
inline const QString kChainReport = QStringLiteral("ChainGUIDs.txt");
inline const QString kProductLines = QStringLiteral("ProductsShort.xml");
inline const QString kMultiRegionProducts = QStringLiteral("MultiRegionProducts.txt");
inline const QString kProductIcons = QStringLiteral("ProductIcons_List.txt");

} // namespace velmora::tools::files
