#include "kill/KillOperations.h"

#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/XmlDocument.h"
#include "mod/BuildingReset.h"
#include "mod/ModFolder.h"

#include <QDir>
#include <QFile>

namespace velmora::killtest {

namespace {

using namespace velmora::data;

// The building every operation works on: the first of the shipped index.
BuildingEntry firstBuilding(const Workspace& w) {
    const XmlDocument index = XmlDocument::load(dataFilePath(w.data, kBuildingIndexFile));
    return BuildingEntry::fromElement(index.root().child("Building"));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw DataError(QStringLiteral("Die Datei %1 kann nicht angelegt werden.").arg(path));
}

// A mod folder as the mod writer leaves it: a few files, some of them nested, enough of them
// that deleting the folder takes a while.
void writeModFolder(const QString& folder) {
    writeFile(folder + QStringLiteral("/modinfo.json"), "{\"Version\": \"1\"}");
    writeFile(folder + QStringLiteral("/data/config/export/main/asset/assets.xml"),
              QByteArray("<ModOps>\r\n") + QByteArray(4000, 'x') + "</ModOps>\r\n");
    for (int i = 0; i < 40; ++i)
        writeFile(folder + QStringLiteral("/data/ui/icons/icon_%1.png").arg(i),
                  QByteArray(2000 + i, static_cast<char>(i)));
}

// A changed and exported building: its working record and buff entry edited, both flags set
// and both mod folders present.
void prepareChangedBuilding(const Workspace& w) {
    const BuildingEntry building = firstBuilding(w);
    XmlDocument working = XmlDocument::load(dataFilePath(w.data, kWorkingAssetsFile));
    const pugi::xml_node record = selectNode(
        working.root(), "//Asset[Values/Standard/GUID=" + xpathLiteral(building.guid) + "]");
    record.child("Values").append_child("CindralEdit").text().set("geändert");
    XmlDocument buffs = XmlDocument::load(dataFilePath(w.data, kBuffTableFile));
    const pugi::xml_node buff =
        selectNode(buffs.root(), "Buff[@GUID=" + xpathLiteral(building.add) + "]");
    setAttributeAt(buff, 1, "1010195");
    setAttributeAt(buff, 2, "3");
    XmlDocument index = XmlDocument::load(dataFilePath(w.data, kBuildingIndexFile));
    const pugi::xml_node entry =
        selectNode(index.root(), "Building[@GUID=" + xpathLiteral(building.guid) + "]");
    setAttributeAt(entry, kBuildingIsChanged, "true");
    setAttributeAt(entry, kBuildingIsExported, "true");
    saveAllOrNothing({&working, &buffs, &index});
    writeModFolder(mod::ActiveModFolder(w.mods, building.guid, building.local));
    writeModFolder(mod::HyphenatedModFolder(w.mods, building.guid, building.local));
}

} // namespace

const std::map<QString, Operation>& operationTable() {
    static const std::map<QString, Operation> table = {
        {QStringLiteral("Reset"),
         {prepareChangedBuilding,
          [](const Workspace& w, FileWriter& writer) {
              const BuildingEntry building = firstBuilding(w);
              const QStringList undeleted =
                  mod::ResetBuilding(w.data, w.mods, building.guid, building.local, writer);
              if (!undeleted.isEmpty())
                  throw DataError(QStringLiteral("Diese Mod-Ordner konnten nicht gelöscht "
                                                 "werden: %1")
                                      .arg(undeleted.join(QStringLiteral(", "))));
          }}},
    };
    return table;
}

} // namespace velmora::killtest
