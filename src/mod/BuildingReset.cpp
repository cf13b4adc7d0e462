#include "mod/BuildingReset.h"

#include "data/AdditionalProducts.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/XmlDocument.h"
#include "mod/ModFolder.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::mod {

using namespace velmora::data;

namespace {

[[noreturn]] void missing(const QString& what, const QString& fileName) {
    throw DataError(QStringLiteral("%1 steht nicht in %2.").arg(what, quotedPath(fileName)));
}

// GUIDs are decimal texts; anything else would break the queries built from them.
void requireGuid(const QString& guid) {
    bool digitsOnly = !guid.isEmpty();
    for (const QChar c : guid)
        digitsOnly = digitsOnly && c.isDigit() && c.unicode() < 128;
    if (!digitsOnly)
        throw DataError(QStringLiteral("\u201E%1\u201C ist keine gültige GUID.").arg(guid));
}

pugi::xml_node assetRecord(const XmlDocument& doc, const QString& guid, const QString& fileName) {
    const pugi::xml_node asset =
        selectNode(doc.root(), "//Asset[Values/Standard/GUID=" + xpathLiteral(guid) + "]");
    if (!asset)
        missing(QStringLiteral("Das Gebäude %1").arg(guid), fileName);
    return asset;
}

pugi::xml_node entryByGuid(const XmlDocument& doc, const char* element, const QString& guid,
                           const QString& what, const QString& fileName) {
    const pugi::xml_node e =
        selectNode(doc.root(), std::string(element) + "[@GUID=" + xpathLiteral(guid) + "]");
    if (!e)
        missing(what, fileName);
    return e;
}

} // namespace

QStringList ResetBuilding(const QString& dataDir, const QString& modsDir, const QString& guid,
                          const QString& displayName, FileWriter& writer) {
    requireGuid(guid);
    const QString building = QStringLiteral("Das Gebäude %1").arg(guid);

    // Look everything up first.
    const XmlDocument original = loadDataFile(dataDir, kOriginalAssetsFile);
    XmlDocument working = loadDataFile(dataDir, kWorkingAssetsFile);
    const pugi::xml_node originalRecord = assetRecord(original, guid, kOriginalAssetsFile);
    const pugi::xml_node workingRecord = assetRecord(working, guid, kWorkingAssetsFile);

    XmlDocument index = loadDataFile(dataDir, kBuildingIndexFile);
    const pugi::xml_node entry = entryByGuid(index, "Building", guid, building, kBuildingIndexFile);
    const QString buffGuid = fromUtf8(attributeTextAt(entry, kBuildingAdd));
    requireGuid(buffGuid);

    XmlDocument buffs = loadDataFile(dataDir, kBuffTableFile);
    const pugi::xml_node buff = entryByGuid(
        buffs, "Buff", buffGuid, QStringLiteral("Der Eintrag %1").arg(buffGuid), kBuffTableFile);
    if (!attributeAt(buff, kBuffChainPosition))
        throw DataError(QStringLiteral("Der Eintrag %1 in %2 ist unvollständig.")
                            .arg(buffGuid, quotedPath(kBuffTableFile)));

    const QStringList folders = modsDir.isEmpty() // no mods directory, so no mod folder either
                                    ? QStringList()
                                    : QStringList{ActiveModFolder(modsDir, guid, displayName),
                                                  HyphenatedModFolder(modsDir, guid, displayName),
                                                  NewModFolder(modsDir, guid, displayName),
                                                  SetAsideModFolder(modsDir, guid, displayName)};
    for (const QString& folder : folders)
        RequireRemovable(folder);

    // Then change the three documents and save them all or nothing: the record, the buff entry
    // and the flags are reset together or not at all.
    replaceChild(workingRecord.parent(), workingRecord, originalRecord);

    for (int k = 0; k < kAddSlots; ++k) {
        setAttributeAt(buff, buffProductPosition(k), "0");
        setAttributeAt(buff, buffAmountPosition(k), "1");
        setAttributeAt(buff, buffCyclePosition(k), "1");
    }
    setAttributeAt(buff, kBuffSetPosition, "0");
    setAttributeAt(buff, kBuffChainPosition, "0");

    setAttributeAt(entry, kBuildingIsChanged, "false");
    setAttributeAt(entry, kBuildingIsExported, "false");
    saveAllOrNothing({&working, &buffs, &index}, writer);

    QStringList undeleted;
    for (const QString& folder : folders)
        if (!RemoveModFolder(folder))
            undeleted << folder;
    return undeleted;
}

} // namespace velmora::mod
