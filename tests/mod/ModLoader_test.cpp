// Every building's mod applied to the stand-in game's asset file as the game's mod loader
// applies it: a "replace" ModOp replaces the asset its Path selects by the ModOp's content, an
// "addNextSibling" ModOp inserts its content after the asset with its GUID.
#include "data/BuildingIndex.h"
#include "data/XmlDocument.h"
#include "mod/ModTestSupport.h"
#include "mod/ModWriter.h"

#include <QDirIterator>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <map>

using namespace velmora;
using namespace velmora::test;

namespace {

pugi::xml_node gameAsset(const data::XmlDocument& game, const std::string& guid) {
    return data::selectNode(game.root(), "//Asset[Values/Standard/GUID='" + guid + "']");
}

// A file below the mod folder named by a path of the mod; the loader's file system ignores the
// case of letters.
bool modHasFile(const QString& folder, QString path) {
    if (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        if (QDir(folder).relativeFilePath(files.next()).compare(path, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Applies the ModOps of one mod; fails the test for a ModOp that selects no asset or more.
void applyMod(data::XmlDocument& game, const data::XmlDocument& mod) {
    for (const pugi::xml_node& op : data::selectNodes(mod.root(), "ModOp")) {
        const std::string type = op.attribute("Type").value();
        const pugi::xml_node content = op.child("Asset");
        ASSERT_TRUE(content);
        if (type == "replace") {
            const std::vector<pugi::xml_node> targets =
                data::selectNodes(game.root(), op.attribute("Path").value());
            ASSERT_EQ(targets.size(), 1u) << op.attribute("Path").value();
            data::replaceChild(targets[0].parent(), targets[0], content);
        } else {
            ASSERT_EQ(type, "addNextSibling");
            const pugi::xml_node anchor = gameAsset(game, op.attribute("GUID").value());
            ASSERT_TRUE(anchor) << op.attribute("GUID").value();
            anchor.parent().insert_copy_after(content, anchor);
        }
    }
}

TEST(ModLoader, EveryBuildingsModAppliesToTheGame) {
    ShippedData d;
    data::XmlDocument game =
        data::XmlDocument::load(sourcePath(QStringLiteral("sample-game/ORG/Assets.xml")));
    const size_t assetsBefore = data::selectNodes(game.root(), "//Asset").size();
    const data::XmlDocument index =
        data::XmlDocument::load(d.file(QStringLiteral("BuildingsShort.xml")));

    // Every other building gets additional products and its fertility, so both kinds of mod
    // are applied.
    std::vector<data::BuildingEntry> buildings;
    for (const pugi::xml_node& e : data::selectNodes(index.root(), "Building"))
        buildings.push_back(data::BuildingEntry::fromElement(e));
    for (size_t i = 0; i < buildings.size(); i += 2)
        d.setBuff(buildings[i].guid, {{"Set", QStringLiteral("1")},
                                      {"P0", QStringLiteral("1010196")},
                                      {"P8", QStringLiteral("1010200")},
                                      {"Chain", QStringLiteral("1010571")}});

    // Every building's money upkeep in the working list gets a value of its own, which the game
    // holds after its mod is applied.
    std::map<std::string, std::string> upkeep;
    {
        data::XmlDocument working =
            data::XmlDocument::load(d.file(QStringLiteral("Buildings.xml")));
        for (const pugi::xml_node& record : data::selectNodes(working.root(), "Asset")) {
            const pugi::xml_node amount =
                data::selectNode(record, "Values/Maintenance/Maintenances/Item/Amount");
            if (!amount)
                continue;
            const std::string value = std::to_string(9000 + upkeep.size());
            data::setElementText(amount, value);
            upkeep[data::childText(record, "Values/Standard/GUID")] = value;
        }
        working.save();
    }

    size_t buffs = 0;
    for (const data::BuildingEntry& b : buildings) {
        SCOPED_TRACE(b.guid.toStdString());
        const mod::WrittenMod written = mod::WriteMod(d.request(b.guid), d.pictures);
        const data::XmlDocument mod = data::XmlDocument::load(modFile(written.folder, kAssetsFile));
        ASSERT_NO_FATAL_FAILURE(applyMod(game, mod));

        // The game now holds the prepared record, once, and the pictures it names exist.
        const std::string guid = data::utf8(b.guid);
        const std::vector<pugi::xml_node> assets =
            data::selectNodes(game.root(), "//Asset[Values/Standard/GUID='" + guid + "']");
        ASSERT_EQ(assets.size(), 1u);
        EXPECT_EQ(data::childText(assets[0], "Values/Maintenance/Maintenances/Item/Amount"),
                  upkeep.count(guid) ? upkeep[guid] : "");
        EXPECT_FALSE(data::selectNode(assets[0], "Values/Standard/Local")); // the list's own
        EXPECT_TRUE(modHasFile(written.folder, data::fromUtf8(data::childText(
                                                   assets[0], "Values/Standard/IconFilename"))));
        EXPECT_TRUE(QFileInfo::exists(modFile(written.folder, "modinfo.json")));

        const pugi::xml_node buff =
            data::selectNode(mod.root(), "ModOp[@Type='addNextSibling']/Asset");
        if (!buff)
            continue;
        ++buffs;
        // The buff asset follows the anchor directly and names the building as its target.
        const pugi::xml_node inserted = gameAsset(game, "191143").next_sibling("Asset");
        EXPECT_EQ(data::childText(inserted, "Values/Standard/GUID"), data::utf8(b.add));
        EXPECT_EQ(data::childText(inserted, "Values/ItemEffect/EffectTargets/Item/GUID"), guid);
        EXPECT_EQ(data::selectNodes(inserted, "Values/FactoryUpgrade/AdditionalOutput/Item").size(),
                  2u);
        EXPECT_EQ(bool(inserted.first_element_by_path("Values/FactoryUpgrade/AddedFertility")),
                  bool(assets[0].first_element_by_path("Values/Factory7/NeededFertility")));
        EXPECT_TRUE(modHasFile(written.folder, data::fromUtf8(data::childText(
                                                   inserted, "Values/Standard/IconFilename"))));
    }
    EXPECT_EQ(buffs, (buildings.size() + 1) / 2);
    EXPECT_EQ(data::selectNodes(game.root(), "//Asset").size(), assetsBefore + buffs);
    // The changed game file still parses as a whole.
    EXPECT_NO_THROW(data::XmlDocument::parse(game.serialize(), QStringLiteral("Assets.xml")));
}

} // namespace
