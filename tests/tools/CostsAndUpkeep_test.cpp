#include "PrepTestSupport.h"
#include "support/NameComments.h"
#include "tools/CostsAndUpkeep.h"
#include "tools/IndexAndTables.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::tools;
using namespace velmora::test;
using Items = std::vector<std::string>;

TEST(CostsAndUpkeep, TablesHoldTheirStatedCounts) {
    EXPECT_EQ(kCostSlotTable.size(), 6u);
    EXPECT_EQ(kUpkeepFixes.size(), 2u + 10u);
    EXPECT_EQ(kFixedProductNames.size(), 2u);
}

TEST(CostsAndUpkeep, CostEntriesReferringToTheInheritedListGetTheirIngredient) {
    PrepRunDir run;
    run.place(QStringLiteral("prep-costs/Buildings_Standard_Cleaned.xml"),
              QStringLiteral("TMP/Buildings_Standard_Cleaned.xml"));
    ResolveCostSlots(run.dirs);
    EXPECT_EQ(
        markupOf(run.path(QStringLiteral("TMP/Buildings_Standard_Cleaned_And_Cost.xml")),
                 "//Costs/Item"),
        (Items{
            "<Item><Amount>2</Amount><Ingredient>1010196</Ingredient></Item>", // slot 1
            "<Item/>",                                      // ingredient without amount
            "<Item><Amount>3</Amount><Ingredient/></Item>", // slot outside the table
            "<Item><Amount>9</Amount><Ingredient>1010218</Ingredient></Item>", // own ingredient
                                                                               // kept
            "<Item/>",                                      // reference without amount
            "<Item><Amount>7</Amount><Ingredient/></Item>", // amount without reference
        }));
}

TEST(CostsAndUpkeep, DerivedBuildingsTakeTheCostsOfTheirBase) {
    PrepRunDir run;
    run.place(QStringLiteral("prep-costs/Buildings_Standard_Cleaned_And_Cost.xml"),
              QStringLiteral("TMP/Buildings_Standard_Cleaned_And_Cost.xml"));
    InheritDerivedCosts(run.dirs);
    const QString out = run.path(QStringLiteral("TMP/Buildings_Standard_Cleaned_And_Cost_all.xml"));
    const std::string coins = "<Item><Ingredient>1010017</Ingredient><Amount>100</Amount></Item>";
    const std::string timber = "<Item><Ingredient>1010196</Ingredient><Amount>2</Amount></Item>";
    const struct {
        const char* guid;
        Items items;
    } cases[] = {
        {"1000",
         {"<Item><Amount>100</Amount><Ingredient>1010017</Ingredient></Item>",
          "<Item><Amount>2</Amount><Ingredient>1010196</Ingredient></Item>", "<Item/>", "<Item/>",
          "<Item/>", "<Item/>"}},
        {"2000", {coins, timber, "<Item/>", "<Item/>", "<Item/>", "<Item/>"}},
        // own amount without ingredient takes the base's ingredient; own ingredient and amount stay
        {"2001",
         {coins, "<Item><Ingredient>1010196</Ingredient><Amount>4</Amount></Item>",
          "<Item><Ingredient>1010218</Ingredient><Amount>5</Amount></Item>"}},
        // own amount whose reference left an empty ingredient: the base's ingredient too
        {"2003", {"<Item><Ingredient>1010017</Ingredient><Amount>7</Amount></Item>", timber}},
        {"2002", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(markupOf(out, (std::string("Asset[Values/Standard/GUID='") + c.guid +
                                 "']/Values/Cost/Costs/Item")
                                    .c_str()),
                  c.items)
            << c.guid;
}

TEST(CostsAndUpkeep, DerivedBuildingsTakeTheUpkeepOfTheirBaseWithProductFixes) {
    PrepRunDir run;
    run.place(QStringLiteral("prep-costs/Buildings_Standard_Cleaned_And_Cost_all.xml"),
              QStringLiteral("TMP/Buildings_Standard_Cleaned_And_Cost_all.xml"));
    InheritDerivedUpkeep(run.dirs);
    const QString out = run.path(QStringLiteral("XMLP/Buildings.xml"));
    const auto item = [](const char* product, const char* amount) {
        return std::string("<Item><Product>") + product + "</Product><Amount>" + amount +
               "</Amount></Item>";
    };
    const struct {
        const char* guid;
        Items items;
    } cases[] = {
        {"101261", {item("1010017", "50"), item("1010366", "10"), item("1010115", "5"), "<Item/>"}},
        // own amount at position 1 keeps the base's farmers: this building only swaps workers
        {"101267", {item("1010017", "50"), item("1010052", "20"), item("1010367", "5")}},
        {"2002", {item("1010017", "50"), item("1010052", "10")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(markupOf(out, (std::string("Asset[Values/Standard/GUID='") + c.guid +
                                 "']//Maintenances/Item")
                                    .c_str()),
                  c.items)
            << c.guid;
    EXPECT_EQ(run.bytes(QStringLiteral("XMLP/Buildings.xml")),
              run.bytes(QStringLiteral("XMLP/BuildingsOrg.xml")));
}

TEST(CostsAndUpkeep, BuffsAreNumberedByPositionAndListedInTheBuffTable) {
    PrepRunDir run;
    run.place(QStringLiteral("prep-buffs/Buildings.xml"), QStringLiteral("XMLP/Buildings.xml"));
    NumberDefaultBuffs(run.dirs);
    EXPECT_EQ(markupOf(run.path(QStringLiteral("XMLP/BuildingsOrg.xml")),
                       "Asset/Values/UpgradeList/DefaultBuff"),
              (Items{"<DefaultBuff>2000502800</DefaultBuff>", "<DefaultBuff>7771</DefaultBuff>",
                     "<DefaultBuff>2000502802</DefaultBuff>"}));

    WriteBuffTable(run.dirs);
    QByteArray zeros;
    for (int k = 0; k <= 8; ++k)
        zeros += QStringLiteral(" P%1=\"0\" A%1=\"0\" Z%1=\"0\"").arg(k).toUtf8();
    const QByteArray tail = zeros + " Set=\"0\" Chain=\"0\"/>\r\n";
    EXPECT_EQ(run.bytes(QStringLiteral("XMLP/BuffsShort.xml")),
              "<Buffs>\r\n<Buff GUID=\"2000502800\"" + tail + "<Buff GUID=\"7771\"" + tail +
                  "<Buff GUID=\"2000502802\"" + tail + "</Buffs>\r\n");
    const data::XmlDocument table =
        data::XmlDocument::load(run.path(QStringLiteral("XMLP/BuffsShort.xml")));
    const pugi::xml_node first = table.root().first_child();
    EXPECT_EQ(std::distance(first.attributes_begin(), first.attributes_end()), 30);
    EXPECT_STREQ(data::attributeAt(first, 10).name(), "P3");
    EXPECT_STREQ(table.root().child("Buff").next_sibling().attribute("GUID").value(), "7771");
}

TEST(CostsAndUpkeep, EveryProductReferenceGetsItsNameAsComment) {
    PrepRunDir run;
    run.place(QStringLiteral("prep-names/Buildings.xml"), QStringLiteral("XMLP/Buildings.xml"));
    run.place(QStringLiteral("prep-names/ProductsShort.xml"),
              QStringLiteral("XMLP/ProductsShort.xml"));
    WriteNameComments(run.dirs);
    const QString out = run.path(QStringLiteral("XMLP/Buildings.xml"));
    EXPECT_EQ(markupOf(out, "//Costs/Item"),
              (Items{"<Item><Amount>2</Amount><!--Holz--><Ingredient>1010196</Ingredient></Item>",
                     "<Item/>"}));
    EXPECT_EQ(markupOf(out, "//Maintenances/Item/comment()"),
              (Items{"<!--Münzen-->", "<!--Bauern-->"}));
    // site inputs: the catalogue first, then the fixed names, else the GUID itself
    EXPECT_EQ(markupOf(out, "//FactoryInputs/Item/comment()"),
              (Items{"<!--Anbaufläche-->", "<!--Wasserquelle-->", "<!--917-->"}));
    EXPECT_EQ(markupOf(out, "//FactoryOutputs/Item"),
              (Items{"<Item><!--Fisch--><Product>1010200</Product><Amount>1</Amount></Item>"}));

    const QByteArray bytes = run.bytes(QStringLiteral("XMLP/Buildings.xml"));
    EXPECT_EQ(bytes, run.bytes(QStringLiteral("XMLP/BuildingsOrg.xml")));
    EXPECT_TRUE(bytes.startsWith("<AssetList>\r\n  <Asset>\r\n    <Template>"))
        << bytes.left(60).constData();
}

// Whatever the catalogue calls a product, the name comments keep both asset lists well-formed
// for a strict reader and read back as the names.
TEST(CostsAndUpkeep, NameCommentsKeepTheListsWellFormedForAnyProductName) {
    PrepRunDir run;
    run.place(QStringLiteral("prep-names/Buildings.xml"), QStringLiteral("XMLP/Buildings.xml"));
    run.place(QStringLiteral("prep-names/ProductsShort.xml"),
              QStringLiteral("XMLP/ProductsShort.xml"));
    // a cost, the upkeep's coins and workforce, an output, a site input
    const char* guids[] = {"1010196", "1010017", "1010052", "1010200", "1955"};
    QMap<QString, QString> names;
    for (std::size_t k = 0; k < std::size(guids); ++k)
        names.insert(QString::fromLatin1(guids[k]), kCommentedNames[qsizetype(k)]);
    renameProducts(run.path(QStringLiteral("XMLP/ProductsShort.xml")), names);
    WriteNameComments(run.dirs);

    for (const QString& file :
         {QStringLiteral("XMLP/Buildings.xml"), QStringLiteral("XMLP/BuildingsOrg.xml")}) {
        SCOPED_TRACE(file.toStdString());
        const QByteArray saved = run.bytes(file);
        expectStrictlyWellFormed(saved);
        const data::XmlDocument doc = data::XmlDocument::parse(saved, file);
        expectCommentedNames({doc.root()}, names);
    }
}
