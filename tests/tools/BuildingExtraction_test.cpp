#include "tools/BuildingExtraction.h"
#include "tools/GameRecords.h"
#include "tools/PrepTestSupport.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::tools;
using namespace velmora::test;

TEST(NormaliseName, SpellsOutUmlautsAndDropsMarkup) {
    const struct {
        const char16_t* text;
        const char16_t* name;
    } cases[] = {
        {u"Sägewerk", u"Saegewerk"},
        {u"Arsenal: Polizeiausrüstung", u"Arsenal  Polizeiausruestung"},
        {u"\u201EManufaktur\u201C<BR/>Groß", u"ManufakturGross"},
        {u"A<br/>b<Br/>c", u"Abc"},
        {u"Straße der Öfen und Übel", u"Strasse der Oefen und Uebel"},
        {u"Smørrebrød", u"Smerrebred"},
        {u"ça va? 1.5 <x> a/b\\c \"d\"", u"ca va 15 x abc d"},
        {u"Éisarsenal", u"\uFFFDisarsenal"}, // no replacement: not valid UTF-8 afterwards
        {u"Ñandú", u"\uFFFDand\uFFFD"},
        {u"Kohle-\u03A9", u"Kohle-"},   // outside the code page: "?" after a dash vanishes
        {u"\u03A9mega", u" mega"},      // elsewhere it becomes a blank
        {u"T\u014Dky\u014D", u"Tokyo"}, // a similar letter where there is one
        {u"Plain ASCII 123", u"Plain ASCII 123"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormaliseName(QString::fromUtf16(c.text)), QString::fromUtf16(c.name))
            << QString::fromUtf16(c.text).toStdString();
}

TEST(RegionOfRecord, AssociatedRegionsFirstThenInternalName) {
    const struct {
        const char* values;
        const char* region;
    } cases[] = {
        {"<Building><AssociatedRegions>Colony01</AssociatedRegions></Building>", "2"},
        {"<Building><AssociatedRegions>Moderate</AssociatedRegions></Building>", "1"},
        {"<Building><AssociatedRegions>ARCTIC</AssociatedRegions></Building>", "3"},
        {"<Building><AssociatedRegions>Africa</AssociatedRegions></Building>", "4"},
        {"<Building><AssociatedRegions>Moderate;Arctic</AssociatedRegions></Building>", "5"},
        {"<Building><AssociatedRegions>Colony0123</AssociatedRegions></Building>", "5"},
        {"<Building><AssociatedRegions>Colony012</AssociatedRegions></Building>", "2"},
        {"<Building><AssociatedRegions>Elsewhere</AssociatedRegions></"
         "Building><Standard><Name>arctic</Name></Standard>",
         "3"},
        {"<Standard><Name>oil_Colony02_mill</Name></Standard>", "4"},
        {"<Standard><Name>Hacienda_farm</Name></Standard>", "2"},
        {"<Standard><Name>arctic_africa</Name></Standard>", "4"},
        {"<Standard><Name>moderate_mill</Name></Standard>", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        const data::XmlDocument record =
            data::XmlDocument::parse(QByteArray("<Asset><Values>") + c.values + "</Values></Asset>",
                                     QStringLiteral("record"));
        EXPECT_EQ(RegionOfRecord(record.root()), QString::fromUtf8(c.region)) << c.values;
    }
}

namespace {

struct ExpectedBuilding {
    const char* guid;
    const char* templateName;
    const char* local;
    const char* region;
    const char* baseGuid;
    const char* production;
    const char* icon;
};

} // namespace

TEST(ExtractionSteps, ExtractTemplateAndDerivedBuildingsInTheirOrder) {
    PrepRunDir run;
    const PrepDirectories& dirs = run.dirs;
    copyGameFiles(dirs, QStringLiteral("prep-extraction"));
    QStringList steps;
    RunExtractionSteps(dirs, [&](const QString& step, const QString& operation) {
        steps << step + u' ' + operation;
    });
    EXPECT_EQ(steps, QStringList({"B2 WriteTemplateList", "B3 ExtractTemplateBuildings",
                                  "B4 ExtractDerivedBuildings", "B5 MergeBuildingLists",
                                  "B6 CleanBuildingList"}));

    // Template buildings by template in list order, then derived ones by base GUID in text order.
    const ExpectedBuilding expected[] = {
        {"1000", "FactoryBuilding7", "Arsenal  Polizeiausruestung", "5", "0", "1",
         "data/icons/icon_arsenal.png"},
        {"999", "FactoryBuilding7", "no german", "3", "0", "1", ""},
        {"1010278", "FarmBuilding", "Saegewerk", "1", "0", "0", "data/icons/icon_sawmill.png"},
        {"1001", "HeavyFactoryBuilding", "no german", "4", "0", "1", ""},
        {"937", "Multifactory", "ManufakturGross", "2", "0", "0", ""},
        {"1353", "FactoryBuilding7", "Kolonie-Arsenal", "2", "1000", "1",
         "data/icons/icon_arsenal.png"},
        {"835", "FactoryBuilding7", "\xEF\xBF\xBDisarsenal", "3", "1000", "1",
         "data/icons/icon_own.png"},
        {"1418", "FarmBuilding", "Oelpresse", "3", "1010278", "0", "data/icons/icon_sawmill.png"},
        {"1600", "Multifactory", "Hacienda-Manufaktur", "2", "937", "1", "No Iconfile"},
    };
    const data::XmlDocument cleaned =
        data::XmlDocument::load(dirs.tmp() + QStringLiteral("Buildings_Standard_Cleaned.xml"));
    std::vector<pugi::xml_node> records;
    for (const pugi::xml_node& r : cleaned.root().children("Asset"))
        records.push_back(r);
    ASSERT_EQ(records.size(), std::size(expected));
    for (size_t i = 0; i < records.size(); ++i) {
        const pugi::xml_node r = records[i];
        const ExpectedBuilding& e = expected[i];
        SCOPED_TRACE(e.guid);
        EXPECT_EQ(data::childText(r, "Values/Standard/GUID"), e.guid);
        EXPECT_EQ(data::childText(r, "Template"), e.templateName);
        EXPECT_EQ(data::childText(r, "Values/Standard/Local"), e.local);
        EXPECT_EQ(data::childText(r, "Values/Standard/Region"), e.region);
        EXPECT_EQ(data::childText(r, "Values/Standard/BaseAssetGUID"), e.baseGuid);
        EXPECT_EQ(data::childText(r, "Values/Standard/Production"), e.production);
        EXPECT_EQ(data::childText(r, "Values/Standard/IconFilename"), e.icon);
        EXPECT_FALSE(r.child("BaseAssetGUID")) << "a derived building loses its own base reference";
        EXPECT_EQ(std::string(r.first_child().name()), "Template");
        // The added elements follow the game's own, in a fixed order.
        std::string tail;
        for (pugi::xml_node c = r.child("Values").child("Standard").last_child();
             c && tail.size() < 60; c = c.previous_sibling())
            tail = std::string(c.name()) + ' ' + tail;
        EXPECT_NE(tail.find("Local Region BaseAssetGUID Production"), std::string::npos) << tail;
    }

    // The derived building with its own icon now holds it twice; the others hold one.
    EXPECT_EQ(
        std::distance(records[6].child("Values").child("Standard").children("IconFilename").begin(),
                      records[6].child("Values").child("Standard").children("IconFilename").end()),
        2);
    // Derived buildings produce as their base building, with the output (and input) fixes.
    EXPECT_EQ(data::childText(records[5], "Values/FactoryBase/FactoryInputs/Item/Product"),
              "1010200");
    EXPECT_EQ(data::childText(records[5], "Values/FactoryBase/FactoryInputs/Item/Amount"), "1");
    EXPECT_EQ(data::childText(records[5], "Values/FactoryBase/CycleTime"), "30");
    EXPECT_EQ(data::childText(records[5], "Values/FactoryBase/FactoryOutputs/Item/Product"), "840");
    EXPECT_EQ(data::childText(records[6], "Values/FactoryBase/FactoryInputs/Item/Product"), "836");
    EXPECT_EQ(data::childText(records[6], "Values/FactoryBase/FactoryOutputs/Item/Product"), "838");
    EXPECT_FALSE(records[7].first_element_by_path("Values/FactoryBase"))
        << "no factory without one of its own";
    EXPECT_EQ(data::childText(records[0], "Values/FactoryBase/FactoryOutputs/Item/Product"),
              "1010210")
        << "the base building keeps its own output";
}

TEST(ExtractionSteps, WriteTheirLineFilesByteForByte) {
    PrepRunDir run;
    const PrepDirectories& dirs = run.dirs;
    copyGameFiles(dirs, QStringLiteral("prep-extraction"));
    RunExtractionSteps(dirs, {});

    QByteArray templates = "\xEF\xBB\xBF<BuildingTemplates>\r\n";
    for (const char* name :
         {"FactoryBuilding7", "FactoryBuilding7_Arctic", "FarmBuilding_Arctic", "FarmBuilding",
          "FarmBuilding_Electrifiable", "FreeAreaBuilding_Arctic", "FreeAreaBuilding",
          "HeavyFactoryBuilding", "HeavyFreeAreaBuilding_Arctic", "HeavyFreeAreaBuilding",
          "FactoryBuilding7_BuildPermit", "SlotFactoryBuilding7", "SlotFactoryBuilding7_Arctic",
          "FreeAreaRecipeBuilding", "Multifactory", "RecipeFarm"})
        templates += QByteArray("\t<Template>") + name + "</Template>\r\n";
    templates += "</BuildingTemplates>\r\n";
    EXPECT_EQ(readBytes(dirs.tmp() + QStringLiteral("Building_Templates.xml")), templates);
    EXPECT_EQ(readBytes(dirs.org() + QStringLiteral("empty.xml")),
              QByteArray("\xEF\xBB\xBF<AssetList/>\r\n"));
    EXPECT_EQ(readBytes(dirs.tmp() + QStringLiteral("Template_Buildings.txt")),
              QByteArray("1000\r\n1001\r\n1010278\r\n937\r\n999\r\n"));

    // The merge left the two lists open towards each other.
    const QByteArray templateList =
        readBytes(dirs.tmp() + QStringLiteral("Template_Buildings.xml"));
    const QByteArray derivedList =
        readBytes(dirs.tmp() + QStringLiteral("BaseAsset_Buildings.xml"));
    EXPECT_TRUE(templateList.startsWith(
        "<AssetList>\r\n  <Asset>\r\n    <Template>FactoryBuilding7</Template>"));
    EXPECT_FALSE(templateList.contains("</AssetList>"));
    EXPECT_TRUE(derivedList.startsWith(
        "  <Asset>\r\n    <Template>FactoryBuilding7</Template>\r\n    <Values>"));
    EXPECT_TRUE(derivedList.endsWith("</AssetList>\r\n"));
    EXPECT_FALSE(derivedList.contains("1500")) << "a record deriving from no building is left out";
    EXPECT_TRUE(readBytes(dirs.tmp() + QStringLiteral("Buildings_Standard_UnCleaned.xml"))
                    .startsWith("<AssetList>\r\n  <Asset>"));
}
