#include "mod/BuildingReset.h"

#include "data/AdditionalProducts.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/EditorLookups.h"
#include "data/XmlDocument.h"
#include "mod/ModFolder.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace velmora::mod {

using namespace velmora::data;

namespace {

[[noreturn]] void missing(const QString& what, const QString& fileName) {
    throw DataError(QStringLiteral("%1 steht nicht in %2.").arg(what, quotedPath(fileName)));
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
                          const QString& displayName, const QString& gameExecutable,
                          FileWriter& writer) {
    data::requireGuid(guid);
    // The folders get the same checks as an activation, before anything is read: a damaged name
    // reaches no folder, and a game that has moved has its mods elsewhere.
    std::optional<BuildingModFolders> folders;
    if (!modsDir.isEmpty()) // no mods directory, so no mod folder either
        folders.emplace(modsDir, guid, displayName);
    RequireGameInPlace(gameExecutable);
    const QString building = QStringLiteral("Das Gebäude %1").arg(guid);

    // Look everything up first.
    const XmlDocument original = loadDataFile(dataDir, kOriginalAssetsFile);
    XmlDocument working = loadDataFile(dataDir, kWorkingAssetsFile);
    const pugi::xml_node originalRecord = assetRecord(original, guid, kOriginalAssetsFile);
    const pugi::xml_node workingRecord = assetRecord(working, guid, kWorkingAssetsFile);

    XmlDocument index = loadDataFile(dataDir, kBuildingIndexFile);
    const pugi::xml_node entry = entryByGuid(index, "Building", guid, building, kBuildingIndexFile);
    const QString buffGuid = fromUtf8(attributeTextAt(entry, kBuildingAdd));
    data::requireGuid(buffGuid);

    XmlDocument buffs = loadDataFile(dataDir, kBuffTableFile);
    const pugi::xml_node buff = entryByGuid(
        buffs, "Buff", buffGuid, QStringLiteral("Der Eintrag %1").arg(buffGuid), kBuffTableFile);
    if (!attributeAt(buff, kBuffChainPosition))
        throw DataError(QStringLiteral("Der Eintrag %1 in %2 ist unvollständig.")
                            .arg(buffGuid, quotedPath(kBuffTableFile)));

    if (folders)
        for (const QString& folder : {folders->active(), folders->hyphenated()})
            RequireRemovable(folder);

    // The mod leaves its name first, so that a failure below never leaves it loaded with the
    // flag cleared; it is put back when the data files can not be saved.
    const MovedAside moved = folders ? MoveAside(modsDir, folders->active(), writer) : MovedAside{};

    // Then change the three documents and save them all or nothing: the record, the buff entry
    // and the flags are reset together or not at all.
    try {
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
    } catch (const DataError& e) {
        const QString back = folders ? PutBack(moved, folders->active(), writer) : QString();
        if (back.isEmpty())
            throw;
        throw DataError(e.message() + QLatin1Char('\r') + back);
    }

    if (!folders)
        return FinishRemoval(moved, writer);
    return FinishRemoval(moved, *folders, writer);
}

} // namespace velmora::mod
