#include "data/BuildingIndex.h"

#include "data/DataFiles.h"

#include <QDir>

namespace velmora::data {

QString dataFilePath(const QString& dataDir, const QString& fileName) {
    return QDir(dataDir).filePath(fileName);
}

XmlDocument loadDataFile(const QString& dataDir, const QString& fileName, LoneBlanks blanks) {
    XmlDocument doc = XmlDocument::load(dataFilePath(dataDir, fileName), blanks, Encoding::Unicode);
    if (const char* root = dataFileRoot(fileName))
        requireRoot(doc, root);
    return doc;
}

BuildingEntry BuildingEntry::fromElement(const pugi::xml_node& e) {
    const auto at = [&](int pos) { return fromUtf8(attributeTextAt(e, pos)); };
    return {at(kBuildingGuid),   at(kBuildingLocal),      at(kBuildingIcon),
            at(kBuildingRegion), at(kBuildingIsChanged),  at(kBuildingIsExported),
            at(kBuildingGroup),  at(kBuildingProduction), at(kBuildingAdd),
            at(kBuildingChain)};
}

std::vector<BuildingEntry> ListBuildings(const QString& dataDir, int regionPosition,
                                         int groupPosition, const QString& groupName) {
    return ListBuildings(loadDataFile(dataDir, kBuildingIndexFile), regionPosition, groupPosition,
                         groupName);
}

std::vector<BuildingEntry> ListBuildings(const XmlDocument& doc, int regionPosition,
                                         int groupPosition, const QString& groupName) {
    std::string query;
    if (groupPosition == kChangedPseudoGroup)
        query = "Building[@IsChanged='true']";
    else if (groupPosition == kExportedPseudoGroup)
        query = "Building[@IsExported='true']";
    else
        query = "Building[@Group=" + xpathLiteral(groupName) +
                " and @Region=" + xpathLiteral(std::to_string(regionPosition + 1)) + "]";
    std::vector<BuildingEntry> result;
    for (const pugi::xml_node& e : selectNodes(doc.root(), query))
        result.push_back(BuildingEntry::fromElement(e));
    return result;
}

namespace {
pugi::xml_node findEntry(const XmlDocument& doc, const QString& guid) {
    return childWithAttribute(doc.root(), "Building", "GUID", utf8(guid));
}
} // namespace

std::optional<BuildingEntry> FindBuilding(const QString& dataDir, const QString& guid) {
    const XmlDocument doc = loadDataFile(dataDir, kBuildingIndexFile);
    const pugi::xml_node e = findEntry(doc, guid);
    if (!e)
        return std::nullopt;
    return BuildingEntry::fromElement(e);
}

void SetBuildingFlag(const QString& dataDir, const QString& guid, int position, bool value) {
    XmlDocument doc = loadDataFile(dataDir, kBuildingIndexFile);
    const pugi::xml_node e = findEntry(doc, guid);
    if (!e)
        throw DataError(QStringLiteral("Das Gebäude %1 steht nicht in %2.")
                            .arg(guid, quotedPath(kBuildingIndexFile)));
    setAttributeAt(e, position, value ? "true" : "false");
    doc.save();
}

QStringList ReadGroupNames(const QString& dataDir) {
    return GroupNames(loadDataFile(dataDir, kGroupListFile));
}

QStringList GroupNames(const XmlDocument& doc) {
    QStringList names;
    for (const pugi::xml_node& g : doc.root().children("Group"))
        names << fromUtf8(attributeTextAt(g, 0));
    return names;
}

} // namespace velmora::data
