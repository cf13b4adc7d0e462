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
// Which game and program version the data files were made for (data/DataVersion.h).
inline const QString kDataVersionFile = QStringLiteral("DataVersion.xml");

// The root element of an XML file of the data directory, by the file's name (letter case
// ignored); nullptr for a name that is none of them.
inline const char* dataFileRoot(const QString& fileName) {
    static const struct {
        const QString& file;
        const char* root;
    } roots[] = {{kBuildingIndexFile, "Buildings"},   {kGroupListFile, "Groups"},
                 {kWorkingAssetsFile, "AssetList"},   {kOriginalAssetsFile, "AssetList"},
                 {kProductCatalogueFile, "Products"}, {kFieldTableFile, "Fields"},
                 {kBuffTableFile, "Buffs"},           {kHelpFile, "TextExport"},
                 {kDataVersionFile, "DataVersion"}};
    for (const auto& r : roots)
        if (r.file.compare(fileName, Qt::CaseInsensitive) == 0)
            return r.root;
    return nullptr;
}

// The four regions as the product catalogue names them, in the order of the region lists; the
// region number of the building index is the position + 1.
inline const QStringList kRegionNames = {QStringLiteral("Alte Welt"), QStringLiteral("Neue Welt"),
                                         QStringLiteral("Arktis"),
                                         QStringLiteral("Land der L\u00F6wen")};

// The ten entries of the data archive, in the order of the data directory's table, the version
// file last.
inline const QStringList kDataArchiveFiles = {
    kBuildingIndexFile,    kGroupListFile,  kWorkingAssetsFile, kOriginalAssetsFile,
    kProductCatalogueFile, kFieldTableFile, kBuffTableFile,     kHelpFile,
    kActivePictureFile,    kDataVersionFile};

// The files of the data archive that hold no player data: they always come from the running
// program's archive.
inline const QStringList kProgramOwnedFiles = {kHelpFile, kGroupListFile, kActivePictureFile};

} // namespace velmora::data
