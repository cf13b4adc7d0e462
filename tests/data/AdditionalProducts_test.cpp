// The additional products on the shipped data: the buff entry read and written by position, the
// fertility a farm may bring along, and Set.
#include "data/AdditionalProducts.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/XmlDocument.h"
#include "support/ScriptedWriter.h"
#include "support/ShippedData.h"

#include <gtest/gtest.h>

using namespace velmora::data;
using namespace velmora::test;

namespace {

const QString kGrainFarm = QStringLiteral("1010262"); // needs fertility 1010571 "Getreide"
const QString kGrainBuff = QStringLiteral("2000502908");
const QString kFishery = QStringLiteral("1010278"); // needs none

AddSlot product(const char* guid, const QString& name, const char* image, const char* amount,
                const char* cycle) {
    return {QString::fromLatin1(guid), name, QString::fromLatin1(image),
            QString::fromLatin1(amount), QString::fromLatin1(cycle)};
}

class AdditionalProductsTest : public ::testing::Test {
protected:
    TempDir dir;
    QString data = copyShippedData(dir.file(QStringLiteral("XMLP")));

    QString buffs() const { return dataFilePath(data, kBuffTableFile); }
    // The attribute values of the buff entry, by position.
    QStringList entry(const QString& buffGuid) const {
        const XmlDocument doc = XmlDocument::load(buffs());
        const pugi::xml_node buff =
            selectNode(doc.root(), "Buff[@GUID=\"" + utf8(buffGuid) + "\"]");
        QStringList values;
        for (const pugi::xml_attribute& a : buff.attributes())
            values << QString::fromUtf8(a.value());
        return values;
    }
    void setEntry(const QString& buffGuid, int position, const char* value) {
        XmlDocument doc = XmlDocument::load(buffs());
        setAttributeAt(selectNode(doc.root(), "Buff[@GUID=\"" + utf8(buffGuid) + "\"]"), position,
                       value);
        doc.save();
    }
};

TEST(FertilityTable, NamesPicturesAndCaptions) {
    EXPECT_EQ(FertilityByGuid(QStringLiteral("118727"))->name, QStringLiteral("Hummer"));
    EXPECT_EQ(FertilityByGuid(QStringLiteral("118727"))->image, QStringLiteral("icon_Seafood"));
    EXPECT_EQ(FertilityByGuid(QStringLiteral("0"))->name, QStringLiteral("keine"));
    EXPECT_FALSE(FertilityByGuid(QStringLiteral("424242")));
    EXPECT_EQ(FertilityCaption(true, QStringLiteral("112858")),
              QStringLiteral("erforderliche Fruchtbarkeit (Rentiere im Überfluss) hinzufügen"));
    EXPECT_EQ(FertilityCaption(false, QStringLiteral("112858")),
              QStringLiteral("erforderliche Fruchtbarkeit nicht hinzufügen"));
}

TEST_F(AdditionalProductsTest, TheFertilityIsOfferedOnlyToBuildingsThatNeedOneAndAreNotExcluded) {
    struct Case {
        QString building;
        const char* chain; // Chain of the entry before the load
        bool offered;
        bool on;
        const char* fertility; // fertilityGuid after the load
    };
    const Case cases[] = {
        {kGrainFarm, "0", true, false, "1010571"},
        {kGrainFarm, "1010571", true, true, "1010571"},
        {QStringLiteral("118729"), "0", true, false, "118727"}, // a fishery with a fertility
        {kFishery, "0", false, false, "0"},
        {kFishery, "1010571", false, false, "0"}, // a stale Chain is not offered
        // The five excluded buildings all need a fertility.
        {QStringLiteral("114705"), "114352", false, false, "0"},
        {QStringLiteral("114703"), "0", false, false, "0"},
        {QStringLiteral("112674"), "0", false, false, "0"},
        {QStringLiteral("112666"), "0", false, false, "0"},
        {QStringLiteral("1010310"), "0", false, false, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.building.toStdString() + " Chain " + c.chain);
        const QString buffGuid = FindBuilding(data, c.building)->add;
        setEntry(buffGuid, kBuffChainPosition, c.chain);
        const AdditionalProducts state = LoadAdditionalProducts(data, c.building);
        EXPECT_EQ(state.fertilityOffered, c.offered);
        EXPECT_EQ(state.fertilityOn, c.on);
        EXPECT_EQ(state.fertilityGuid, QString::fromLatin1(c.fertility));
    }
}

TEST_F(AdditionalProductsTest, AnEmptyNeededFertilityCountsAsNone) {
    XmlDocument working = XmlDocument::load(dataFilePath(data, kWorkingAssetsFile));
    setElementText(selectNode(working.root(), "//Asset[Values/Standard/GUID=\"1010262\"]/Values/"
                                              "Factory7/NeededFertility"),
                   "");
    working.save();
    const AdditionalProducts state = LoadAdditionalProducts(data, kGrainFarm);
    EXPECT_FALSE(state.fertilityOffered);
    EXPECT_EQ(state.fertilityGuid, QStringLiteral("0"));
}

TEST_F(AdditionalProductsTest, SlotsLoadByPositionWithNamesFromTheCatalogue) {
    setEntry(kGrainBuff, 10, "1010193");
    setEntry(kGrainBuff, 11, "4");
    setEntry(kGrainBuff, 12, "12");
    const AdditionalProducts state = LoadAdditionalProducts(data, kGrainFarm);
    EXPECT_EQ(state.goods[3],
              product("1010193", QStringLiteral("Rindfleisch"), "icon_meat_raw", "4", "12"));
    EXPECT_EQ(state.goods[0], product("0", QStringLiteral("keine Auswahl"), "NoInput", "0", "0"));
    // A product the catalogue lacks is named as unknown, with its GUID.
    setEntry(kGrainBuff, 10, "424242");
    EXPECT_EQ(LoadAdditionalProducts(data, kGrainFarm).goods[3].name,
              QStringLiteral("unbekannte Ware 424242"));
    EXPECT_EQ(state.hasBuff, QStringLiteral("0"));
    setEntry(kGrainBuff, kBuffSetPosition, "1");
    EXPECT_EQ(LoadAdditionalProducts(data, kGrainFarm).hasBuff, QStringLiteral("1"));
}

TEST_F(AdditionalProductsTest, ProductsInSlotsZeroAndThreeAreWrittenAtTheirPositions) {
    AddSlots goods;
    goods[0] = product("1010193", QStringLiteral("Rindfleisch"), "icon_meat_raw", "2", "5");
    goods[3] = product("1010196", QStringLiteral("Bretter"), "icon_planks", "1", "25");
    EXPECT_EQ(ApplyAdditionalProducts(data, kGrainFarm, goods, QStringLiteral("0")).hasBuff,
              QStringLiteral("1"));
    const QStringList values = entry(kGrainBuff);
    ASSERT_EQ(values.size(), 30);
    EXPECT_EQ(values.mid(1, 3), (QStringList{"1010193", "2", "5"}));
    EXPECT_EQ(values.mid(10, 3), (QStringList{"1010196", "1", "25"}));
    for (int k : {1, 2, 4, 5, 6, 7, 8})
        EXPECT_EQ(values.at(buffProductPosition(k)), QStringLiteral("0")) << k;
    EXPECT_EQ(values.at(kBuffSetPosition), QStringLiteral("1"));
    EXPECT_EQ(values.at(kBuffChainPosition), QStringLiteral("0"));
}

TEST_F(AdditionalProductsTest, SetFollowsWhatWasWritten) {
    struct Case {
        const char* what;
        const char* setBefore;
        const char* fertility; // fertilityActive handed to the apply
        bool withProduct;
        const char* set;   // Set after the apply
        const char* chain; // Chain after the apply
        const char* hasBuff;
    };
    const Case cases[] = {
        {"fertility switched on", "0", "1010571", false, "1", "1010571", "1"},
        {"a product", "0", "0", true, "1", "0", "1"},
        {"nothing, Set was 0", "0", "0", false, "0", "0", "0"},
        {"nothing, Set was 1: Set stays", "1", "0", false, "1", "0", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setEntry(kGrainBuff, kBuffSetPosition, c.setBefore);
        setEntry(kGrainBuff, kBuffChainPosition, "1010571");
        AddSlots goods;
        if (c.withProduct)
            goods[8] = product("1010196", QStringLiteral("Bretter"), "icon_planks", "3", "3");
        const BuffApplyResult result =
            ApplyAdditionalProducts(data, kGrainFarm, goods, QString::fromLatin1(c.fertility));
        EXPECT_EQ(result.hasBuff, QString::fromLatin1(c.hasBuff));
        const QStringList values = entry(kGrainBuff);
        EXPECT_EQ(values.at(kBuffSetPosition), QString::fromLatin1(c.set));
        EXPECT_EQ(values.at(kBuffChainPosition), QString::fromLatin1(c.chain));
    }
}

TEST_F(AdditionalProductsTest, ABadValueOrAFailedSaveLeavesTheTableAsItWas) {
    const QByteArray before = readBytes(buffs());
    AddSlots bad;
    bad[2] = product("1010193", QStringLiteral("Rindfleisch"), "icon_meat_raw", "", "1");
    EXPECT_THROW(ApplyAdditionalProducts(data, kGrainFarm, bad, QStringLiteral("0")), DataError);
    EXPECT_THROW(ApplyAdditionalProducts(data, kGrainFarm, AddSlots{}, QStringLiteral("1\"0")),
                 DataError);
    AddSlots badGuid;
    badGuid[1] = product("10101\"93", QStringLiteral("?"), "Empty", "1", "1");
    EXPECT_THROW(ApplyAdditionalProducts(data, kGrainFarm, badGuid, QStringLiteral("0")),
                 DataError);
    ScriptedWriter writer;
    writer.failReplaceOf = kBuffTableFile;
    EXPECT_THROW(
        ApplyAdditionalProducts(data, kGrainFarm, AddSlots{}, QStringLiteral("1010571"), writer),
        DataError);
    EXPECT_EQ(readBytes(buffs()), before);
}

// The entry is addressed by position, so one cut short is refused by the load and the apply
// alike, naming the table.
TEST_F(AdditionalProductsTest, ABuffEntryCutShortIsRefused) {
    XmlDocument doc = XmlDocument::load(buffs());
    pugi::xml_node buff = selectNode(doc.root(), "Buff[@GUID=\"2000502908\"]");
    buff.remove_attribute(buff.last_attribute());
    doc.save();
    const QByteArray before = readBytes(buffs());
    for (const bool apply : {false, true}) {
        SCOPED_TRACE(apply ? "apply" : "load");
        try {
            if (apply)
                ApplyAdditionalProducts(data, kGrainFarm, AddSlots{}, QStringLiteral("1010571"));
            else
                LoadAdditionalProducts(data, kGrainFarm);
            FAIL() << "no error";
        } catch (const DataError& e) {
            EXPECT_TRUE(e.message().contains(kBuffTableFile)) << e.what();
        }
        EXPECT_EQ(readBytes(buffs()), before);
    }
}

} // namespace
