// The figures and named cases the shipped data files must hold, checked on the committed
// files of resources/data/XMLP.
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/XmlDocument.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QMap>
#include <QSet>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace velmora;
using namespace velmora::test;

namespace {

QString shippedDir() {
    return sourcePath(QStringLiteral("resources/data/XMLP"));
}

data::XmlDocument shipped(const QString& file) {
    return data::XmlDocument::load(shippedDir() + QLatin1Char('/') + file);
}

std::string text(const pugi::xml_node& node, const char* path) {
    return data::childText(node, path);
}

class ShippedData : public ::testing::Test {};

// The record of a building in the working asset list.
pugi::xml_node record(const data::XmlDocument& assets, const std::string& guid) {
    return data::selectNode(assets.root(), "//Asset[Values/Standard/GUID=\"" + guid + "\"]");
}

std::string family(const std::string& templateName) {
    static const QMap<std::string, std::string> families = {
        {"FactoryBuilding7", "factory"},
        {"FactoryBuilding7_Arctic", "factory"},
        {"FactoryBuilding7_BuildPermit", "factory"},
        {"HeavyFactoryBuilding", "factory"},
        {"Multifactory", "factory"},
        {"SlotFactoryBuilding7", "slot"},
        {"SlotFactoryBuilding7_Arctic", "slot"},
        {"FarmBuilding", "farm"},
        {"FarmBuilding_Arctic", "farm"},
        {"FarmBuilding_Electrifiable", "farm"},
        {"RecipeFarm", "farm"},
        {"FreeAreaBuilding", "free"},
        {"FreeAreaBuilding_Arctic", "free"},
        {"FreeAreaRecipeBuilding", "free"},
        {"HeavyFreeAreaBuilding", "free"},
        {"HeavyFreeAreaBuilding_Arctic", "free"}};
    return families.value(templateName, "unknown");
}

std::set<std::string> inputProducts(const pugi::xml_node& asset) {
    std::set<std::string> products;
    for (const pugi::xml_node& p :
         data::selectNodes(asset, "Values/FactoryBase/FactoryInputs/Item/Product"))
        products.insert(p.text().get());
    return products;
}

} // namespace

TEST_F(ShippedData, BuildingIndexHoldsTheStatedEntries) {
    const data::XmlDocument index = shipped(data::kBuildingIndexFile);
    const auto entries = data::selectNodes(index.root(), "Building");
    ASSERT_EQ(entries.size(), 208u);
    QMap<QString, int> regions;
    for (size_t n = 0; n < entries.size(); ++n) {
        const data::BuildingEntry e = data::BuildingEntry::fromElement(entries[n]);
        EXPECT_EQ(e.add, QString::number(2000502800LL + static_cast<long long>(n)));
        EXPECT_EQ(e.isChanged, QStringLiteral("false"));
        EXPECT_EQ(e.isExported, QStringLiteral("false"));
        EXPECT_TRUE(e.chain.isEmpty());
        EXPECT_EQ(data::attributeAt(entries[n], 10).empty(), true);
        ++regions[e.region];
    }
    EXPECT_EQ(regions, (QMap<QString, int>{{QStringLiteral("1"), 85},
                                           {QStringLiteral("2"), 79},
                                           {QStringLiteral("3"), 18},
                                           {QStringLiteral("4"), 26}}));

    const data::BuildingEntry first = data::BuildingEntry::fromElement(entries.front());
    const QStringList expected = {QStringLiteral("1010278"),    QStringLiteral("Fischerei"),
                                  QStringLiteral("icon_fish"),  QStringLiteral("1"),
                                  QStringLiteral("false"),      QStringLiteral("false"),
                                  QStringLiteral("Farmen"),     QStringLiteral("1"),
                                  QStringLiteral("2000502800"), QString()};
    const QStringList actual = {first.guid,      first.local,      first.icon,  first.region,
                                first.isChanged, first.isExported, first.group, first.production,
                                first.add,       first.chain};
    EXPECT_EQ(actual, expected);

    const struct {
        const char* guid;
        const char* local;
        const char* group;
    } named[] = {
        {"1010311", "Erzmine", "no Group"},
        {"1010401", "Saegewerk", "Produktion"},
        {"1010402", "Baeckerei", "Produktion"},
        {"1010441", "Arsenal  Polizeiausruestung", "Produktion"},
        {"1418", "Oelpresse", "Farmen"},
        {"1010560", "Quarzsandgrube", "Bodenschätze"},
        {"101331", "Oelraffinerie", "Bodenschätze"},
        {"1010561", "Oelraffinerie", "Bodenschätze"},
        {"7919", "Kalmar-Fischerei", "Farmen"},
        {"101262", "Fischoelfabrik", "Farmen"},
        {"117744", "Papiermuehle", "Produktion"},
        {"118729", "Hummerfischerei", "Farmen"},
        {"114705", "Hibiskusfarm", "Farmen"},
        {"1010298", "Gewuerzfarm", "Farmen"},
        {"1345", "Imkerei", "Farmen"},
        {"937", "Feuerwasserbrennerei", "Industrie"},
        {"915", "Feuerwasserbrennerei", "Industrie"},
        {"6279", "Stahlwerk", "Industrie"},
        {"6080", "Goldschmiede", "Industrie"},
    };
    for (const auto& n : named) {
        const auto entry = data::FindBuilding(shippedDir(), QString::fromUtf8(n.guid));
        ASSERT_TRUE(entry.has_value()) << n.guid;
        EXPECT_EQ(entry->local, QString::fromUtf8(n.local)) << n.guid;
        EXPECT_EQ(entry->group, QString::fromUtf8(n.group)) << n.guid;
    }
}

TEST_F(ShippedData, GroupsListTheStatedNumberOfBuildings) {
    const QStringList groups = data::ReadGroupNames(shippedDir());
    ASSERT_EQ(groups.size(), 6);
    EXPECT_EQ(data::ListBuildings(shippedDir(), 0, 2, groups[2]).size(), 15u);
    EXPECT_EQ(data::ListBuildings(shippedDir(), 1, 2, groups[2]).size(), 32u);
    EXPECT_EQ(data::ListBuildings(shippedDir(), 2, 5, groups[5]).size(), 2u);
    EXPECT_TRUE(data::ListBuildings(shippedDir(), 0, 0, groups[0]).empty());
    EXPECT_TRUE(data::ListBuildings(shippedDir(), 0, 1, groups[1]).empty());

    // The index holds only the groups of the group list, and "no Group".
    QSet<QString> allowed(groups.begin() + 2, groups.end());
    allowed.insert(QStringLiteral("no Group"));
    const data::XmlDocument index = shipped(data::kBuildingIndexFile);
    for (const pugi::xml_node& e : index.root().children("Building"))
        EXPECT_TRUE(allowed.contains(data::BuildingEntry::fromElement(e).group))
            << data::BuildingEntry::fromElement(e).guid.toStdString();
}

// A few upkeep items carry the VectorElement child of an inherited entry beside their product
// and amount, as in the game's data; the readers take product and amount and ignore it.
TEST_F(ShippedData, SomeUpkeepItemsCarryAVectorElement) {
    const data::XmlDocument assets = shipped(data::kWorkingAssetsFile);
    std::set<std::string> carriers;
    for (const pugi::xml_node& item : data::selectNodes(
             assets.root(), "//Values/Maintenance/Maintenances/Item[VectorElement]")) {
        carriers.insert(text(item.parent().parent().parent().parent(), "Values/Standard/GUID"));
        EXPECT_FALSE(text(item, "Product").empty());
        EXPECT_FALSE(text(item, "Amount").empty());
    }
    EXPECT_EQ(carriers, (std::set<std::string>{"1010263", "1010267", "100654"}));
}

TEST_F(ShippedData, AssetListsHoldTheTemplateFamilies) {
    const data::XmlDocument assets = shipped(data::kWorkingAssetsFile);
    EXPECT_EQ(readBytes(shippedDir() + QStringLiteral("/Buildings.xml")),
              readBytes(shippedDir() + QStringLiteral("/BuildingsOrg.xml")));
    const auto records = data::selectNodes(assets.root(), "Asset");
    ASSERT_EQ(records.size(), 208u);

    QMap<std::string, int> families;
    std::set<std::string> factoriesNotProducing, farmsWithoutLimit, slotsWithOrdinaryInput;
    int fertilities = 0;
    for (size_t n = 0; n < records.size(); ++n) {
        const pugi::xml_node r = records[n];
        const std::string guid = text(r, "Values/Standard/GUID");
        const std::string fam = family(text(r, "Template"));
        ++families[fam];
        EXPECT_EQ(text(r, "Values/UpgradeList/DefaultBuff"),
                  std::to_string(2000502800LL + static_cast<long long>(n)));
        const std::string production = text(r, "Values/Standard/Production");
        const std::set<std::string> inputs = inputProducts(r);
        if (fam == "factory" && production == "0")
            factoriesNotProducing.insert(guid);
        if (fam == "slot") {
            EXPECT_EQ(production, "0") << guid;
            if (!inputs.count("1591"))
                slotsWithOrdinaryInput.insert(guid);
        }
        if (fam == "farm") {
            EXPECT_EQ(production, "0") << guid;
            EXPECT_FALSE(text(r, "Values/ModuleOwner/ConstructionOptions/Item/ModuleGUID").empty())
                << guid;
            if (!data::selectNode(r, "Values/ModuleOwner/ModuleLimits/Main/Limit"))
                farmsWithoutLimit.insert(guid);
        }
        if (fam == "free") {
            EXPECT_FALSE(text(r, "Values/FreeAreaProductivity/InfluenceRadius").empty()) << guid;
        }
        if (data::selectNode(r, "Values/Factory7/NeededFertility"))
            ++fertilities;
        EXPECT_EQ(text(r, "Values/Cost/Costs/Item/Ingredient"), guid == "1010561" ? "" : "1010017")
            << guid;
    }
    EXPECT_EQ(families,
              (QMap<std::string, int>{{"factory", 133}, {"slot", 15}, {"farm", 42}, {"free", 18}}));
    EXPECT_EQ(factoriesNotProducing, (std::set<std::string>{"101262", "7919", "937", "915"}));
    EXPECT_EQ(farmsWithoutLimit, (std::set<std::string>{"101331", "1010561", "116029"}));
    EXPECT_EQ(slotsWithOrdinaryInput, (std::set<std::string>{"117744"}));
    EXPECT_EQ(fertilities, 32);

    EXPECT_TRUE(inputProducts(record(assets, "937")).count("917"));
    EXPECT_TRUE(inputProducts(record(assets, "915")).count("917"));
    EXPECT_TRUE(inputProducts(record(assets, "1010314")).count("1955")); // hunting lodge
    EXPECT_TRUE(inputProducts(record(assets, "1010315")).count("1955")); // tree nursery
    EXPECT_FALSE(data::selectNode(record(assets, "1010561"), "Values/Cost/Costs/Item"));
    EXPECT_EQ(text(record(assets, "100417"), "Values/Standard/BaseAssetGUID"), "100416");
    EXPECT_EQ(text(record(assets, "1010560"), "Values/Standard/Name"), "Quartz_sand_pit");
}

TEST_F(ShippedData, FisheryHoldsWhatItsModDescriptionShows) {
    const data::XmlDocument assets = shipped(data::kWorkingAssetsFile);
    const pugi::xml_node fishery = record(assets, "1010278");
    ASSERT_TRUE(fishery);
    std::vector<std::pair<std::string, std::string>> costs;
    for (const pugi::xml_node& item : data::selectNodes(fishery, "Values/Cost/Costs/Item[Amount]"))
        costs.emplace_back(text(item, "Ingredient"), text(item, "Amount"));
    EXPECT_EQ(costs, (std::vector<std::pair<std::string, std::string>>{{"1010017", "100"},
                                                                       {"1010196", "2"}}));
    EXPECT_FALSE(data::selectNode(fishery, "Values/FactoryBase/FactoryInputs/Item"));
    EXPECT_EQ(text(fishery, "Values/FactoryBase/FactoryOutputs/Item/Product"), "1010200");
    EXPECT_EQ(text(fishery, "Values/FactoryBase/FactoryOutputs/Item/Amount"), "1");
    std::vector<std::pair<std::string, std::string>> upkeep;
    for (const pugi::xml_node& item :
         data::selectNodes(fishery, "Values/Maintenance/Maintenances/Item"))
        upkeep.emplace_back(text(item, "Product"), text(item, "Amount"));
    EXPECT_EQ(upkeep, (std::vector<std::pair<std::string, std::string>>{{"1010017", "40"},
                                                                        {"1010052", "25"}}));
    EXPECT_TRUE(data::selectNode(fishery, "Values/IncidentInfectable/Infectable"));
    EXPECT_NE(text(fishery, "Values/Industrializable/MandatoryIndustrialization"), "1");

    const data::XmlDocument catalogue = shipped(data::kProductCatalogueFile);
    const struct {
        const char* guid;
        const char* name;
    } names[] = {{"1010017", "Münzen"},
                 {"1010196", "Bretter"},
                 {"1010200", "Fische"},
                 {"1010052", "Bauern"}};
    for (const auto& n : names)
        EXPECT_EQ(data::attributeTextAt(
                      data::selectNode(catalogue.root(),
                                       std::string("Product[@GUID=\"") + n.guid + "\"]"),
                      1),
                  n.name);
    // Every reference carries its name comment.
    const pugi::xml_node money =
        data::selectNode(fishery, "Values/Maintenance/Maintenances/Item/Product");
    ASSERT_EQ(money.previous_sibling().type(), pugi::node_comment);
    EXPECT_STREQ(money.previous_sibling().value(), "Münzen");
}

TEST_F(ShippedData, CatalogueHoldsTheStatedProducts) {
    const data::XmlDocument catalogue = shipped(data::kProductCatalogueFile);
    const auto products = data::selectNodes(catalogue.root(), "Product");
    ASSERT_EQ(products.size(), 232u);
    QMap<std::string, int> categories;
    std::map<std::string, std::set<std::string>> regionsOf;
    for (const pugi::xml_node& p : products) {
        ++categories[data::attributeTextAt(p, 3)];
        regionsOf[data::attributeTextAt(p, 0)].insert(data::attributeTextAt(p, 4));
    }
    EXPECT_EQ(categories, (QMap<std::string, int>{{"Markt", 90},
                                                  {"Rohstoff", 54},
                                                  {"Zwischenprodukt", 34},
                                                  {"Baustoff", 20},
                                                  {"Mine", 16},
                                                  {"Arbeitskraft", 14},
                                                  {"Bauwerke", 1},
                                                  {"", 2},
                                                  {"notAllowed", 1}}));
    int inTwoRegions = 0;
    for (const auto& [guid, regions] : regionsOf)
        inTwoRegions += regions.size() == 2 && !regions.count("no Region");
    EXPECT_EQ(inTwoRegions, 20);

    auto names = [&catalogue](const char* category, const char* region) {
        std::vector<std::string> result;
        for (const pugi::xml_node& p :
             data::selectNodes(catalogue.root(), std::string("Product[@Category=\"") + category +
                                                     "\" and @Region=\"" + region + "\"]"))
            result.push_back(data::attributeTextAt(p, 1));
        return result;
    };
    EXPECT_EQ(names("Mine", "Arktis"),
              (std::vector<std::string>{"Gold", "Rohstoffvorkommen", "Anbaufläche", "Arktis-Gas"}));
    EXPECT_EQ(names("Arbeitskraft", "Neue Welt"),
              (std::vector<std::string>{"Jornalero", "Obrero", "Artista"}));
    EXPECT_EQ(names("Bauwerke", "Neue Welt"), (std::vector<std::string>{"Hacienda"}));
    for (const char* region : {"Alte Welt", "Arktis", "Land der Löwen"})
        EXPECT_TRUE(names("Bauwerke", region).empty()) << region;
    EXPECT_EQ(names("", "no Region"), (std::vector<std::string>{"Münzen", "Einfluss"}));

    const pugi::xml_node beef = data::selectNode(catalogue.root(), "Product[@GUID=\"1010193\"]");
    EXPECT_EQ(data::attributeTextAt(beef, 1), "Rindfleisch");
    EXPECT_EQ(data::attributeTextAt(beef, 2), "icon_meat_raw");
    EXPECT_EQ(data::attributeTextAt(beef, 4), "Alte Welt");
    EXPECT_EQ(regionsOf["1010193"], (std::set<std::string>{"Alte Welt", "Neue Welt"}));

    const pugi::xml_node last = products.back();
    const std::vector<std::string> lastAttributes = {
        data::attributeTextAt(last, 0), data::attributeTextAt(last, 1),
        data::attributeTextAt(last, 2), data::attributeTextAt(last, 3),
        data::attributeTextAt(last, 4), data::attributeTextAt(last, 5)};
    EXPECT_EQ(lastAttributes, (std::vector<std::string>{"0", "keine Auswahl", "NoInput",
                                                        "notAllowed", "no Region", ""}));

    // Workforce products with their names and pictures, and the sort codes named for the picker.
    const struct {
        const char* guid;
        const char* name;
        const char* pos;
    } fixed[] = {{"1010052", "Bauern", "No"},
                 {"1010115", "Arbeiter", "No"},
                 {"1010116", "Handwerker", "No"},
                 {"1010117", "Ingenieure", "No"},
                 {"1010128", "Investoren", "No"},
                 {"1010366", "Jornalero", "No"},
                 {"1010367", "Obrero", "No"},
                 {"5406", "Artista", "No"},
                 {"112653", "Entdecker", "No"},
                 {"112654", "Techniker", "No"},
                 {"114340", "Hirten", "No"},
                 {"114341", "Älteste", "No"},
                 {"124478", "Gelehrte", "No"},
                 {"132723", "Touristen", "No"},
                 {"120008", "Holz", "H01"},
                 {"1010192", "Getreide", "G12"},
                 {"1010566", "Öl", "Ö49"},
                 {"1010017", "Münzen", "M140"},
                 {"1010190", "Einfluss", "E141"},
                 {"119392", "Forschungspunkte", "F142"},
                 {"846", "Lokale Post", "Z150"},
                 {"847", "Regionale Post", "Z151"},
                 {"848", "Überregionale Post", "Z152"},
                 {"849", "Bomben", "Z153"},
                 {"850", "Seeminen", "Z154"},
                 {"535", "Flugblätter", "Z155"},
                 {"536", "Hilfspakete", "Z156"},
                 {"2524", "Löschwasser", "Z157"}};
    for (const auto& f : fixed) {
        const pugi::xml_node p =
            data::selectNode(catalogue.root(), std::string("Product[@GUID=\"") + f.guid + "\"]");
        ASSERT_TRUE(p) << f.guid;
        EXPECT_EQ(data::attributeTextAt(p, 1), f.name) << f.guid;
        EXPECT_EQ(data::attributeTextAt(p, 5), f.pos) << f.guid;
        if (std::string(f.pos) == "No") {
            EXPECT_EQ(data::attributeTextAt(p, 2), f.name) << f.guid;
        }
    }
}

TEST_F(ShippedData, EveryReferencedProductAndModuleIsListed) {
    const data::XmlDocument assets = shipped(data::kWorkingAssetsFile);
    const data::XmlDocument catalogue = shipped(data::kProductCatalogueFile);
    const data::XmlDocument fields = shipped(data::kFieldTableFile);
    std::set<std::string> products, modules;
    for (const pugi::xml_node& p : data::selectNodes(catalogue.root(), "Product"))
        products.insert(data::attributeTextAt(p, 0));
    for (const pugi::xml_node& f : data::selectNodes(fields.root(), "Field"))
        modules.insert(data::attributeTextAt(f, 0));
    EXPECT_EQ(modules.size(), 35u);
    const std::set<std::string> siteInputs = {"1955", "1591", "917"};
    for (const pugi::xml_node& r : data::selectNodes(assets.root(), "Asset")) {
        const std::string guid = text(r, "Values/Standard/GUID");
        for (const char* path :
             {"Values/FactoryBase/FactoryOutputs/Item/Product",
              "Values/Maintenance/Maintenances/Item/Product", "Values/Cost/Costs/Item/Ingredient",
              "Values/FactoryBase/FactoryInputs/Item/Product"})
            for (const pugi::xml_node& p : data::selectNodes(r, path))
                EXPECT_TRUE(products.count(p.text().get()) || siteInputs.count(p.text().get()))
                    << guid << " " << path;
        if (data::selectNode(r, "Values/ModuleOwner/ModuleLimits")) {
            EXPECT_TRUE(
                modules.count(text(r, "Values/ModuleOwner/ConstructionOptions/Item/ModuleGUID")))
                << guid;
        }
    }
}

TEST_F(ShippedData, BuffTableHasAnEmptyEntryPerBuilding) {
    const data::XmlDocument buffs = shipped(data::kBuffTableFile);
    const auto entries = data::selectNodes(buffs.root(), "Buff");
    ASSERT_EQ(entries.size(), 208u);
    for (size_t n = 0; n < entries.size(); ++n) {
        EXPECT_EQ(data::attributeTextAt(entries[n], 0),
                  std::to_string(2000502800LL + static_cast<long long>(n)));
        EXPECT_TRUE(data::attributeAt(entries[n], 29));
        EXPECT_FALSE(data::attributeAt(entries[n], 30));
        for (int k = 1; k < 30; ++k)
            EXPECT_EQ(data::attributeTextAt(entries[n], k), "0");
    }
    EXPECT_STREQ(data::attributeAt(entries.front(), 28).name(), "Set");
    EXPECT_STREQ(data::attributeAt(entries.front(), 29).name(), "Chain");
}

TEST_F(ShippedData, EveryBuildingAndProductIconHasAPicture) {
    QSet<QString> pictures;
    for (const QString& file : QDir(sourcePath(QStringLiteral("resources/pictures")))
                                   .entryList({QStringLiteral("*.png")}))
        pictures.insert(file.chopped(4).toLower());
    const struct {
        const QString& file;
        const char* query;
        int position;
    } sources[] = {
        {data::kBuildingIndexFile, "Building", data::kBuildingIcon},
        {data::kProductCatalogueFile, "Product", 2},
    };
    for (const auto& source : sources) {
        const data::XmlDocument doc = shipped(source.file);
        for (const pugi::xml_node& entry : data::selectNodes(doc.root(), source.query)) {
            const QString icon = data::fromUtf8(data::attributeTextAt(entry, source.position));
            EXPECT_TRUE(pictures.contains(icon.toLower()))
                << source.file.toStdString() << ": " << icon.toStdString();
        }
    }
}
