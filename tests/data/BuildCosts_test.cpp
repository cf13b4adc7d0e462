// The build costs on the shipped data: both sides as the cost editor shows them, and the apply
// that rebuilds the cost list and decides IsChanged.
#include "data/BuildCosts.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/XmlDocument.h"
#include "support/NameComments.h"
#include "support/ScriptedWriter.h"
#include "support/ShippedData.h"

#include <functional>
#include <gtest/gtest.h>

using namespace velmora::data;
using namespace velmora::test;

namespace {

const QString kGrainFarm = QStringLiteral("1010262");    // coins 100, Bretter 2
const QString kWithSixGoods = QStringLiteral("1010326"); // six filled items
const QString kOilRefinery = QStringLiteral("1010561");  // a cost list without items

CostSlot slot(const char* amount, const QString& name, const char* guid, const char* image) {
    return {QString::fromLatin1(amount), name, QString::fromLatin1(guid),
            QString::fromLatin1(image)};
}
const CostSlot kEmpty;

class BuildCostsTest : public ::testing::Test {
protected:
    TempDir dir;
    QString data = copyShippedData(dir.file(QStringLiteral("XMLP")));

    QString file(const QString& name) const { return dataFilePath(data, name); }
    // Changes a record of an asset list in place, as another version of the data might hold it.
    void editRecord(const QString& fileName, const QString& guid,
                    const std::function<void(pugi::xml_node)>& edit) {
        XmlDocument doc = XmlDocument::load(file(fileName));
        edit(selectNode(doc.root(), "//Asset[Values/Standard/GUID=\"" + utf8(guid) + "\"]"));
        doc.save();
    }
    pugi::xml_node costItem(pugi::xml_node record, int k) {
        return selectNodes(record, "Values/Cost/Costs/Item").at(std::size_t(k));
    }
    QString isChanged(const QString& guid) const { return FindBuilding(data, guid)->isChanged; }
};

TEST_F(BuildCostsTest, BothSidesLoadFromTheShippedRecords) {
    struct Case {
        QString building;
        int slot;
        CostSlot current;  // from Buildings.xml
        CostSlot original; // from BuildingsOrg.xml
    };
    const CostSlot coins = slot("100", QStringLiteral("Münzen"), "1010017", "icon_credits");
    const CostSlot boards = slot("2", QStringLiteral("Bretter"), "1010196", "icon_planks");
    const CostSlot concrete =
        slot("10", QStringLiteral("Stahlbeton"), "1010202", "icon_reinforced_concrete");
    const CostSlot noCoins = slot("", QStringLiteral("keine Auswahl"), "0", "Empty");
    const CostSlot noOriginalCoins = slot("", QString(), "0", "Empty");
    const Case cases[] = {
        {kGrainFarm, 0, coins, coins},
        {kGrainFarm, 1, boards, boards},
        {kGrainFarm, 2, kEmpty, kEmpty}, // a free item
        {kGrainFarm, 6, kEmpty, kEmpty}, // no seventh item in a shipped list
        {kWithSixGoods, 5, concrete, concrete},
        {kOilRefinery, 0, noCoins, noOriginalCoins}, // no item at all
        {kOilRefinery, 3, kEmpty, kEmpty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.building.toStdString() + " slot " + std::to_string(c.slot));
        const BuildCosts costs = LoadCosts(data, c.building);
        EXPECT_EQ(costs.current[std::size_t(c.slot)], c.current);
        EXPECT_EQ(costs.original[std::size_t(c.slot)], c.original);
    }
}

TEST_F(BuildCostsTest, ZeroCountsAsNoAmountOnlyOnTheOriginalSide) {
    for (const QString& name : {kWorkingAssetsFile, kOriginalAssetsFile}) {
        editRecord(name, kGrainFarm, [&](pugi::xml_node record) {
            setElementText(costItem(record, 0).child("Amount"), "0");
            setElementText(costItem(record, 1).child("Amount"), "0");
            costItem(record, 2).append_child("Ingredient").text().set("1010205"); // no amount
            costItem(record, 3).append_child("Ingredient").text().set("424242");  // not a product
            costItem(record, 3).append_child("Amount").text().set("4");
        });
    }
    const BuildCosts costs = LoadCosts(data, kGrainFarm);
    EXPECT_EQ(costs.current[0], slot("0", QStringLiteral("Münzen"), "1010017", "icon_credits"));
    EXPECT_EQ(costs.current[1], slot("0", QStringLiteral("Bretter"), "1010196", "icon_planks"));
    EXPECT_EQ(costs.original[0], kEmpty);
    EXPECT_EQ(costs.original[1], kEmpty);
    EXPECT_EQ(costs.current[2], kEmpty);
    EXPECT_EQ(costs.current[3], slot("4", QStringLiteral("keine Auswahl"), "424242", "Empty"));
}

TEST_F(BuildCostsTest, ApplyWritesSevenItemsAfterAllOtherGroups) {
    // A stale second cost group, as a hand-edited list may hold one, goes too.
    editRecord(kWorkingAssetsFile, kWithSixGoods, [](pugi::xml_node record) {
        record.child("Values").append_child("Cost").append_child("Costs").append_child("Item");
    });
    BuildCosts costs = LoadCosts(data, kWithSixGoods);
    costs.current[6] = slot("3", QStringLiteral("Fenster"), "1010207", "icon_windows");
    costs.current[2] = kEmpty;
    ASSERT_TRUE(ApplyCosts(data, kWithSixGoods, costs.current).changed);

    const XmlDocument working = XmlDocument::load(file(kWorkingAssetsFile));
    const pugi::xml_node record =
        selectNode(working.root(), "//Asset[Values/Standard/GUID=\"1010326\"]");
    EXPECT_STREQ(record.child("Values").last_child().name(), "Cost");
    EXPECT_EQ(selectNodes(record, "Values/Cost").size(), 1u);
    const std::vector<pugi::xml_node> items = selectNodes(record, "Values/Cost/Costs/Item");
    ASSERT_EQ(items.size(), 7u);
    EXPECT_FALSE(items[2].first_child()); // a slot without product stays an empty item
    // A filled item: the name comment, Ingredient, Amount.
    const pugi::xml_node last = items[6];
    EXPECT_EQ(last.first_child().type(), pugi::node_comment);
    EXPECT_STREQ(last.first_child().value(), "Fenster");
    EXPECT_STREQ(last.first_child().next_sibling().name(), "Ingredient");
    EXPECT_STREQ(last.child("Ingredient").text().get(), "1010207");
    EXPECT_STREQ(last.child("Amount").text().get(), "3");
    EXPECT_STREQ(items[0].child("Amount").text().get(), "5000");

    // The reload shows what was written.
    const BuildCosts reloaded = LoadCosts(data, kWithSixGoods);
    EXPECT_EQ(reloaded.current, costs.current);
}

// Whatever the catalogue calls a product, the name comment of its cost item keeps the saved
// list well-formed for a strict reader and reads back as the name; an ordinary name stands as
// it is.
TEST_F(BuildCostsTest, NameCommentsKeepTheListWellFormedForAnyProductName) {
    const char* guids[] = {"1010017", "1010196", "1010205", "1010218",
                           "1010207", "1010202", "1010208"};
    ASSERT_EQ(kCommentedNames.size(), qsizetype(std::size(guids)));
    QMap<QString, QString> names;
    CostSlots costs;
    for (std::size_t k = 0; k < std::size(guids); ++k) {
        names.insert(QString::fromLatin1(guids[k]), kCommentedNames[qsizetype(k)]);
        costs[k] = slot("3", kCommentedNames[qsizetype(k)], guids[k], "icon");
    }
    renameProducts(file(kProductCatalogueFile), names);
    ApplyCosts(data, kWithSixGoods, costs);

    expectStrictlyWellFormed(readBytes(file(kWorkingAssetsFile)));
    const XmlDocument working = XmlDocument::load(file(kWorkingAssetsFile));
    const pugi::xml_node record =
        selectNode(working.root(), "//Asset[Values/Standard/GUID=\"1010326\"]");
    expectCommentedNames({record.child("Values").child("Cost")}, names);
    const std::vector<pugi::xml_node> items = selectNodes(record, "Values/Cost/Costs/Item");
    ASSERT_EQ(items.size(), 7u);
    EXPECT_STREQ(items[5].first_child().value(), "Öl-Lampen");
    EXPECT_STREQ(items[6].first_child().value(), "Bretter");
}

TEST_F(BuildCostsTest, ApplyWritesTheAmountRulesAndSetsIsChangedOnlyForADifference) {
    struct Case {
        const char* what;
        std::function<void(CostSlots&)> edit;
        int slot;           // the slot whose written amount is checked
        const char* amount; // its Amount after the apply ("" for an empty item)
        bool changed;       // IsChanged set to "true"
    };
    const Case cases[] = {
        {"no edit", [](CostSlots&) {}, 0, "100", false},
        {"coins 0 become 10", [](CostSlots& s) { s[0].amount = QStringLiteral("0"); }, 0, "10",
         true},
        {"empty coins become 10", [](CostSlots& s) { s[0].amount.clear(); }, 0, "10", true},
        {"a product at 0 is written with 1",
         [](CostSlots& s) { s[2] = slot("0", QStringLiteral("Ziegel"), "1010205", "icon_bricks"); },
         2, "1", true},
        {"an amount without product writes nothing",
         [](CostSlots& s) { s[3].amount = QStringLiteral("7"); }, 3, "", false},
        {"a removed product", [](CostSlots& s) { s[1] = kEmpty; }, 1, "", true},
        {"another amount", [](CostSlots& s) { s[1].amount = QStringLiteral("5"); }, 1, "5", true},
        {"a product in the last slot",
         [](CostSlots& s) { s[6] = slot("2", QStringLiteral("Ziegel"), "1010205", "icon_bricks"); },
         6, "2", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir caseDir;
        const QString caseData = copyShippedData(caseDir.file(QStringLiteral("XMLP")));
        const QByteArray indexBefore = readBytes(dataFilePath(caseData, kBuildingIndexFile));
        BuildCosts costs = LoadCosts(caseData, kGrainFarm);
        c.edit(costs.current);
        EXPECT_EQ(ApplyCosts(caseData, kGrainFarm, costs.current).changed, c.changed);

        const XmlDocument working = XmlDocument::load(dataFilePath(caseData, kWorkingAssetsFile));
        const pugi::xml_node item =
            selectNodes(working.root(), "//Asset[Values/Standard/GUID=\"1010262\"]/"
                                        "Values/Cost/Costs/Item")
                .at(std::size_t(c.slot));
        EXPECT_STREQ(item.child("Amount").text().get(), c.amount);
        if (c.changed)
            EXPECT_EQ(FindBuilding(caseData, kGrainFarm)->isChanged, QStringLiteral("true"));
        else // the index is not even written
            EXPECT_EQ(readBytes(dataFilePath(caseData, kBuildingIndexFile)), indexBefore);
    }
}

TEST_F(BuildCostsTest, CostsBackToTheOriginalLeaveIsChangedAsItWas) {
    SetBuildingFlag(data, kGrainFarm, kBuildingIsChanged, true); // by an earlier edit
    const BuildCosts costs = LoadCosts(data, kGrainFarm);
    EXPECT_FALSE(ApplyCosts(data, kGrainFarm, costs.original).changed);
    EXPECT_EQ(isChanged(kGrainFarm), QStringLiteral("true"));
}

TEST_F(BuildCostsTest, TheOilRefineryWithoutItemsStaysUnchanged) {
    const BuildCosts costs = LoadCosts(data, kOilRefinery);
    for (int k = 1; k < kCostSlots; ++k)
        EXPECT_EQ(costs.current[std::size_t(k)], kEmpty) << k;
    EXPECT_FALSE(ApplyCosts(data, kOilRefinery, costs.current).changed);
    EXPECT_EQ(isChanged(kOilRefinery), QStringLiteral("false"));
    const XmlDocument working = XmlDocument::load(file(kWorkingAssetsFile));
    const std::vector<pugi::xml_node> items = selectNodes(
        working.root(), "//Asset[Values/Standard/GUID=\"1010561\"]/Values/Cost/Costs/Item");
    ASSERT_EQ(items.size(), 7u);
    for (const pugi::xml_node& item : items)
        EXPECT_FALSE(item.first_child());
    EXPECT_EQ(LoadCosts(data, kOilRefinery).current, costs.current);
}

TEST_F(BuildCostsTest, AFailedApplyLeavesEveryFileAsItWas) {
    struct Case {
        const char* what;
        std::function<void(CostSlots&)> edit;
        QString failReplaceOf; // the save that fails ("" = none)
    };
    const Case cases[] = {
        {"a product missing from the catalogue",
         [](CostSlots& s) { s[4] = slot("2", QStringLiteral("?"), "424242", "Empty"); },
         {}},
        {"an amount that is no number",
         [](CostSlots& s) { s[1].amount = QStringLiteral("2x"); },
         {}},
        {"the index can not be replaced", [](CostSlots& s) { s[1].amount = QStringLiteral("5"); },
         kBuildingIndexFile},
        {"the asset list can not be replaced",
         [](CostSlots& s) { s[1].amount = QStringLiteral("5"); }, kWorkingAssetsFile},
    };
    const QByteArray working = readBytes(file(kWorkingAssetsFile));
    const QByteArray index = readBytes(file(kBuildingIndexFile));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BuildCosts costs = LoadCosts(data, kGrainFarm);
        c.edit(costs.current);
        ScriptedWriter writer;
        writer.failReplaceOf = c.failReplaceOf;
        EXPECT_THROW(ApplyCosts(data, kGrainFarm, costs.current, writer), DataError);
        EXPECT_EQ(readBytes(file(kWorkingAssetsFile)), working);
        EXPECT_EQ(readBytes(file(kBuildingIndexFile)), index);
    }
}

TEST_F(BuildCostsTest, AnUnknownBuildingIsReportedByName) {
    try {
        LoadCosts(data, QStringLiteral("424242"));
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Das Gebäude 424242 steht nicht in \u201EBuildings.xml\u201C."));
    }
}

} // namespace
