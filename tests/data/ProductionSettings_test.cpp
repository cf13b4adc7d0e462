#include "data/AdditionalProducts.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/ProductionSettings.h"
#include "data/XmlDocument.h"
#include "support/NameComments.h"
#include "support/ScriptedWriter.h"
#include "support/ShippedData.h"

#include <gtest/gtest.h>

using namespace velmora::data;
using namespace velmora::test;

namespace {

using P = SidePanel;
const QString kOtherGood = QStringLiteral("1010196"); // Bretter

class ProductionSettingsTest : public ::testing::Test {
protected:
    TempDir dir;
    QString data = copyShippedData(dir.file(QStringLiteral("XMLP")));

    ProductionSettings load(const char* guid) const {
        return LoadProductionSettings(data, QString::fromLatin1(guid));
    }
    bool apply(const char* guid, const ProductionSettings& s) {
        return ApplyProductionSettings(data, QString::fromLatin1(guid), s);
    }
    XmlDocument working() const {
        return XmlDocument::load(dataFilePath(data, kWorkingAssetsFile));
    }
    pugi::xml_node record(const XmlDocument& doc, const char* guid) const {
        return selectNode(doc.root(),
                          std::string("//Asset[Values/Standard/GUID=\"") + guid + "\"]");
    }
    // The record's text at a path of the working list.
    std::string at(const char* guid, const char* path) const {
        const XmlDocument doc = working();
        return childText(record(doc, guid), path);
    }
    QString isChanged(const char* guid) const {
        return FindBuilding(data, QString::fromLatin1(guid))->isChanged;
    }
    // Changes the working record of guid with edit, then saves the list.
    template <class Edit> void editWorking(const char* guid, Edit edit) {
        XmlDocument doc = working();
        edit(record(doc, guid));
        doc.save();
    }
};

TEST_F(ProductionSettingsTest, PanelLayoutByGroupGuidRegionAndTemplate) {
    struct Case {
        const char* guid;     // a shipped building
        const char* what;     // its group and why it falls in its row of the table
        std::vector<P> shown; // panel pairs from the top
    };
    const std::vector<P> electric = {P::Incidents, P::ElectricMandatory, P::ElectricBoosted};
    const Case cases[] = {
        {"114705", "Farmen: Hibiskusfarm, listed with electricity", electric},
        {"1345", "Farmen: Imkerei, listed with electricity", electric},
        {"7919", "Farmen: Kalmar-Fischerei, incidents only", {P::Incidents}},
        {"1010278", "Farmen: Fischerei, incidents only", {P::Incidents}},
        {"1010314", "Farmen: Jagdhuette, free area", {P::InfluenceRadius, P::Incidents}},
        {"1010262",
         "Farmen: Getreidefarm, modules",
         {P::ModuleLimit, P::ModuleRadius, P::Incidents}},
        {"1010374", "Produktion in region 2", electric},
        {"112691", "Produktion in region 3", {P::Incidents}},
        {"1010280", "Industrie", electric},
        {"101331", "Bodenschätze: the listed oil refinery", {P::Incidents}},
        {"112690", "Bodenschätze in region 3", {P::Incidents}},
        {"1010304", "Bodenschätze in region 1", electric},
        {"1010591", "Werft, listed under Produktion", electric},
        {"1010592", "Kontor, listed under Produktion", electric},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(load(c.guid).panels, c.shown);
    }
}

TEST_F(ProductionSettingsTest, LoadsFarmsModulesByLimit) {
    // Getreidefarm: its field module in singular for limit 1, plural above, none for "0".
    const ProductionSettings farm = load("1010262");
    EXPECT_EQ(farm.current.moduleName, QStringLiteral("Getreidefelder"));
    EXPECT_EQ(farm.original.moduleName, QStringLiteral("Getreidefelder"));
    EXPECT_EQ(farm.current.output.name, QStringLiteral("Getreide"));
    EXPECT_EQ(farm.current.money.name, QStringLiteral("Münzen"));
    EXPECT_EQ(farm.current.workforce.name, QStringLiteral("Bauern"));
    for (const auto& [limit, name] :
         {std::pair{"1", "Getreidefeld"}, std::pair{"0", "keine Module erforderlich"},
          std::pair{"4", "Getreidefelder"}}) {
        editWorking("1010262", [&](pugi::xml_node r) {
            setElementText(selectNode(r, "Values/ModuleOwner/ModuleLimits/Main/Limit"), limit);
        });
        const ProductionSettings s = load("1010262");
        EXPECT_EQ(s.current.moduleLimit, QString::fromLatin1(limit));
        EXPECT_EQ(s.current.moduleName, QString::fromUtf8(name));
        EXPECT_EQ(s.original.moduleName, QStringLiteral("Getreidefelder"));
    }
}

TEST_F(ProductionSettingsTest, LoadsInputsElectricityAndIncidents) {
    // A processing building: its inputs with names; it needs electricity, so it uses it.
    const ProductionSettings glasses = load("1010280");
    EXPECT_TRUE(glasses.inputsEditable);
    EXPECT_EQ(glasses.current.inputs[0].guid, QStringLiteral("1010208"));
    EXPECT_FALSE(glasses.current.inputs[0].name.isEmpty());
    EXPECT_EQ(glasses.current.inputs[2], ShownProduct{});
    EXPECT_EQ(glasses.current.electricMandatory, QStringLiteral("1"));
    EXPECT_EQ(glasses.current.incidents, QStringLiteral("1"));

    // Electricity required forces electricity used, whatever the record says.
    editWorking("1010280", [](pugi::xml_node r) {
        setElementText(selectNode(r, "Values/Industrializable/BoostedByIndustrialization"), "0");
    });
    EXPECT_EQ(load("1010280").current.electricBoosted, QStringLiteral("1"));
    EXPECT_EQ(load("1010280").original.electricBoosted, QStringLiteral("1"));

    // Raw-material producers, with a site input or an ordinary one: empty, not editable.
    for (const char* guid : {"1010304", "117744", "1010314"}) {
        SCOPED_TRACE(guid);
        const ProductionSettings s = load(guid);
        EXPECT_FALSE(s.inputsEditable);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(s.current.inputs[k], ShownProduct{});
            EXPECT_EQ(s.original.inputs[k], ShownProduct{});
        }
    }

    // A working record without inputs beside an original with two.
    editWorking("1010280", [](pugi::xml_node r) {
        r.child("Values").child("FactoryBase").remove_child("FactoryInputs");
    });
    const ProductionSettings bare = load("1010280");
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(bare.current.inputs[k], ShownProduct{});
    EXPECT_EQ(bare.original.inputs[1].guid, QStringLiteral("1011061"));

    // Readers pass over name comments and inherited-entry markers.
    editWorking("1010280", [](pugi::xml_node r) {
        pugi::xml_node workforce = selectNodes(r, "Values/Maintenance/Maintenances/Item")[1];
        workforce.prepend_child("VectorElement").append_child("InheritedIndex").text().set("1");
        workforce.prepend_child(pugi::node_comment).set_value("Ingenieure");
    });
    EXPECT_EQ(load("1010280").current.workforce.name, QStringLiteral("Ingenieure"));
    EXPECT_EQ(load("1010280").current.workforceAmount, QStringLiteral("75"));

    // A free-area building: its influence radius in both columns, each from its own list.
    EXPECT_EQ(load("1010314").current.influenceRadius, QStringLiteral("11"));
    EXPECT_EQ(load("1010262").current.influenceRadius, QStringLiteral("0"));
    editWorking("1010314", [](pugi::xml_node r) {
        setElementText(selectNode(r, "Values/FreeAreaProductivity/InfluenceRadius"), "7");
    });
    EXPECT_EQ(load("1010314").current.influenceRadius, QStringLiteral("7"));
    EXPECT_EQ(load("1010314").original.influenceRadius, QStringLiteral("11"));
}

TEST_F(ProductionSettingsTest, AdditionalProductsAreReadFromTheBuffEntry) {
    EXPECT_EQ(load("1010262").hasBuff, QStringLiteral("0"));
    XmlDocument buffs = XmlDocument::load(dataFilePath(data, kBuffTableFile));
    setAttributeAt(selectNode(buffs.root(), "Buff[@GUID=\"2000502908\"]"), kBuffSetPosition, "1");
    buffs.save();
    EXPECT_EQ(load("1010262").hasBuff, QStringLiteral("1"));
}

// Each value the window shows counts on its own: changing exactly one of them marks the building
// changed; changing only what a slot shows (name, picture) does not.
TEST_F(ProductionSettingsTest, ChangingExactlyOneValueMarksTheBuildingChanged) {
    using Edit = void (*)(ProductionSettings&);
    struct Case {
        const char* what; // the value changed
        Edit edit;        // the change, on the current column unless said otherwise
        bool changed;     // the changed flag afterwards
    };
    const Case cases[] = {
        {"input 1", [](ProductionSettings& s) { s.current.inputs[0].guid = kOtherGood; }, true},
        {"input 2", [](ProductionSettings& s) { s.current.inputs[1].guid = kOtherGood; }, true},
        {"input 3", [](ProductionSettings& s) { s.current.inputs[2].guid = kOtherGood; }, true},
        {"input 4", [](ProductionSettings& s) { s.current.inputs[3].guid = kOtherGood; }, true},
        {"output", [](ProductionSettings& s) { s.current.output.guid = kOtherGood; }, true},
        {"output amount", [](ProductionSettings& s) { s.current.outputAmount = "9"; }, true},
        {"money amount", [](ProductionSettings& s) { s.current.moneyAmount = "9"; }, true},
        {"workforce", [](ProductionSettings& s) { s.current.workforce.guid = kOtherGood; }, true},
        {"workforce amount", [](ProductionSettings& s) { s.current.workforceAmount = "9"; }, true},
        {"influence radius", [](ProductionSettings& s) { s.current.influenceRadius = "9"; }, true},
        {"module limit", [](ProductionSettings& s) { s.current.moduleLimit = "9"; }, true},
        {"module radius", [](ProductionSettings& s) { s.current.moduleRadius = "9"; }, true},
        {"incidents", [](ProductionSettings& s) { s.current.incidents = "0"; }, true},
        {"electricity required", [](ProductionSettings& s) { s.current.electricMandatory = "1"; },
         true},
        {"electricity used", [](ProductionSettings& s) { s.current.electricBoosted = "1"; }, true},
        {"additional products", [](ProductionSettings& s) { s.hasBuff = "1"; }, true},
        {"the original column", [](ProductionSettings& s) { s.original.moneyAmount = "9"; }, true},
        {"nothing", [](ProductionSettings&) {}, false},
        {"only shown names and pictures",
         [](ProductionSettings& s) {
             s.current.output.name = "Anders";
             s.current.workforce.icon = "Anders";
             s.current.inputs[0].name = "Anders";
             s.current.moduleName = "Anders";
         },
         false},
    };
    // The fishery: no input, no electricity, incidents possible, its upkeep in both columns.
    const ProductionSettings fishery = load("1010278");
    ASSERT_FALSE(ProductionChanged(fishery));
    ASSERT_EQ(fishery.current.electricBoosted, QStringLiteral("0"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProductionSettings s = fishery;
        c.edit(s);
        EXPECT_EQ(ProductionChanged(s), c.changed);
    }
}

TEST_F(ProductionSettingsTest, AcceptWithoutChangeKeepsTheRecordAndClearsTheFlag) {
    SetBuildingFlag(data, QStringLiteral("1010280"), kBuildingIsChanged, true); // a cost edit
    const ProductionSettings s = load("1010280");
    EXPECT_FALSE(apply("1010280", s));
    EXPECT_EQ(isChanged("1010280"), QStringLiteral("false"));
    EXPECT_EQ(load("1010280").current, s.current);
    // The input list was rebuilt with four items, the free ones empty.
    const XmlDocument doc = working();
    const std::vector<pugi::xml_node> items =
        selectNodes(record(doc, "1010280"), "Values/FactoryBase/FactoryInputs/Item");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].first_child().type(), pugi::node_comment);
    EXPECT_EQ(childText(items[1], "Amount"), "1");
    EXPECT_EQ(childText(items[1], "StorageAmount"), "4");
    EXPECT_FALSE(items[3].first_child());
    // Applying again writes the same content.
    const QByteArray once = readBytes(dataFilePath(data, kWorkingAssetsFile));
    apply("1010280", load("1010280"));
    EXPECT_EQ(readBytes(dataFilePath(data, kWorkingAssetsFile)), once);
}

// Whatever the catalogue calls a product, the name comments of the inputs, the output and the
// upkeep keep the saved list well-formed for a strict reader and read back as the names; an
// ordinary name stands as it is.
TEST_F(ProductionSettingsTest, NameCommentsKeepTheListWellFormedForAnyProductName) {
    ProductionSettings s = load("1010280");
    const char* inputs[] = {"1010208", "1011061", "1010196", "1010205"};
    for (int k = 0; k < 4; ++k)
        s.current.inputs[k].guid = QString::fromLatin1(inputs[k]);
    const QString guids[] = {s.current.inputs[0].guid, s.current.inputs[1].guid,
                             s.current.inputs[2].guid, s.current.inputs[3].guid,
                             s.current.output.guid,    QStringLiteral("1010017"), // coins
                             s.current.workforce.guid};
    ASSERT_EQ(kCommentedNames.size(), qsizetype(std::size(guids)));
    QMap<QString, QString> names;
    for (std::size_t k = 0; k < std::size(guids); ++k)
        names.insert(guids[k], kCommentedNames[qsizetype(k)]);
    ASSERT_EQ(names.size(), kCommentedNames.size()); // one product per name
    renameProducts(dataFilePath(data, kProductCatalogueFile), names);
    apply("1010280", s);

    expectStrictlyWellFormed(readBytes(dataFilePath(data, kWorkingAssetsFile)));
    const XmlDocument doc = working();
    const pugi::xml_node values = record(doc, "1010280").child("Values");
    expectCommentedNames({values.child("FactoryBase"), values.child("Maintenance")}, names);
    const std::vector<pugi::xml_node> upkeep = selectNodes(values, "Maintenance/Maintenances/Item");
    ASSERT_EQ(upkeep.size(), 2u);
    EXPECT_STREQ(upkeep[0].first_child().value(), "Öl-Lampen");
    EXPECT_STREQ(upkeep[1].first_child().value(), "Bretter");
}

TEST_F(ProductionSettingsTest, AppliesEachSettingAsWritten) {
    ProductionSettings s = load("1010280");
    for (ShownProduct& input : s.current.inputs)
        input = ShownProduct{};
    s.current.outputAmount = QStringLiteral("3");
    s.current.moneyAmount = QStringLiteral("250");
    s.current.workforce.guid = QStringLiteral("124478"); // Gelehrte: no archetype
    s.current.workforceAmount = QStringLiteral("75");
    s.current.electricMandatory = QStringLiteral("0");
    s.current.electricBoosted = QStringLiteral("0");
    EXPECT_TRUE(apply("1010280", s));
    EXPECT_EQ(isChanged("1010280"), QStringLiteral("true"));

    const XmlDocument doc = working();
    const pugi::xml_node r = record(doc, "1010280");
    const pugi::xml_node inputs = selectNode(r, "Values/FactoryBase/FactoryInputs");
    ASSERT_TRUE(inputs);
    EXPECT_FALSE(inputs.first_child()); // all removed: an empty list
    EXPECT_EQ(childText(r, "Values/FactoryBase/FactoryOutputs/Item/Amount"), "3");
    EXPECT_EQ(childText(r, "Values/FactoryBase/FactoryOutputs/Item/StorageAmount"), "18");
    EXPECT_STREQ(r.child("Values").child("FactoryBase").last_child().name(), "FactoryOutputs");
    const std::vector<pugi::xml_node> upkeep =
        selectNodes(r, "Values/Maintenance/Maintenances/Item");
    ASSERT_EQ(upkeep.size(), 2u);
    EXPECT_STREQ(upkeep[0].first_child().value(), "Münzen");
    EXPECT_EQ(childText(upkeep[0], "Product"), "1010017");
    EXPECT_EQ(childText(upkeep[0], "Amount"), "250");
    EXPECT_EQ(childText(upkeep[1], "Product"), "124478");
    EXPECT_EQ(childText(upkeep[1], "Amount"), "75");
    EXPECT_EQ(childText(upkeep[1], "InactiveAmount"), "0");
    EXPECT_TRUE(selectNode(r, "Values/Selection/ParticipantMessageArcheType"));
    EXPECT_EQ(childText(r, "Values/Selection/ParticipantMessageArcheType"), "");
    EXPECT_EQ(childText(r, "Values/Industrializable/MandatoryIndustrialization"), "0");
    EXPECT_EQ(childText(r, "Values/Electrifiable/ShowPowerInObjectMenu"), "0");

    EXPECT_EQ(WorkforceArchetype(QStringLiteral("132723")), QString()); // Touristen
    EXPECT_EQ(WorkforceArchetype(QStringLiteral("114341")),
              QStringLiteral("Africa_Resident_tier02"));
}

// A farm's module limit and radius are written, and its workforce names the archetype of the
// record's message: one of the table's, or none for a workforce outside it.
TEST_F(ProductionSettingsTest, AppliesAFarmsModulesAndWorkforceArchetype) {
    struct Case {
        const char* workforce; // GUID set in the window
        const char* archetype; // ParticipantMessageArcheType afterwards
    };
    const Case cases[] = {
        {"1010052", "Resident_tier01_atWork"}, // Bauern, as the game has it
        {"1010115", "Resident_tier02_atWork"}, // Arbeiter
        {"124478", ""},                        // Gelehrte
        {"132723", ""},                        // Touristen
        {"114341", "Africa_Resident_tier02"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.workforce);
        ProductionSettings s = load("1010262");
        s.current.workforce.guid = QString::fromLatin1(c.workforce);
        s.current.moduleLimit = QStringLiteral("2");
        s.current.moduleRadius = QStringLiteral("5");
        apply("1010262", s);
        EXPECT_EQ(at("1010262", "Values/Selection/ParticipantMessageArcheType"), c.archetype);
        EXPECT_EQ(at("1010262", "Values/ModuleOwner/ModuleLimits/Main/Limit"), "2");
        EXPECT_EQ(at("1010262", "Values/ModuleOwner/ModuleBuildRadius"), "5");
        EXPECT_EQ(load("1010262").current.moduleName, QStringLiteral("Getreidefelder"));
    }
}

TEST_F(ProductionSettingsTest, OutputStorageOfTheOilRefineries) {
    for (const char* guid : {"101331", "1010561"}) {
        SCOPED_TRACE(guid);
        ProductionSettings s = load(guid);
        s.current.outputAmount = QStringLiteral("3");
        apply(guid, s);
        EXPECT_EQ(at(guid, "Values/FactoryBase/FactoryOutputs/Item/StorageAmount"), "200");
    }
}

TEST_F(ProductionSettingsTest, InfluenceRadiusWithItsAreaPercentage) {
    struct Case {
        const char* guid;    // free-area building
        const char* radius;  // set in the window
        const char* percent; // NeededAreaPercent afterwards ("" = the record has none)
    };
    const Case cases[] = {{"1010314", "10", "90"}, {"1010314", "0", "100"}, {"1010315", "10", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.guid) + " " + c.radius);
        ProductionSettings s = load(c.guid);
        s.current.influenceRadius = QString::fromLatin1(c.radius);
        apply(c.guid, s);
        EXPECT_EQ(at(c.guid, "Values/FreeAreaProductivity/InfluenceRadius"), c.radius);
        EXPECT_EQ(at(c.guid, "Values/FreeAreaProductivity/NeededAreaPercent"), c.percent);
    }
    // A record without influence radius gets none.
    ProductionSettings s = load("1010262");
    s.current.influenceRadius = QStringLiteral("10");
    apply("1010262", s);
    EXPECT_FALSE(selectNode(record(working(), "1010262"), "Values/FreeAreaProductivity"));
}

TEST_F(ProductionSettingsTest, IncidentsOffThenOnRestoresTheOriginalExactly) {
    const XmlDocument original = XmlDocument::load(dataFilePath(data, kOriginalAssetsFile));
    const auto group = [](const pugi::xml_node& r) {
        std::ostringstream out;
        r.child("Values").child("IncidentInfectable").print(out);
        return out.str();
    };
    ProductionSettings s = load("1010262");
    s.current.incidents = QStringLiteral("0");
    EXPECT_TRUE(apply("1010262", s));
    {
        const XmlDocument doc = working();
        const pugi::xml_node block =
            record(doc, "1010262").child("Values").child("IncidentInfectable");
        std::vector<std::string> children;
        for (const pugi::xml_node& c : block.children())
            children.push_back(c.name());
        EXPECT_EQ(children, (std::vector<std::string>{"Added", "Explosion", "Fire", "Illness",
                                                      "Riot", "IncidentInfectionChanceFactors"}));
        EXPECT_EQ(childText(block, "Explosion/DamageExplosionCheckMax"), "0");
        EXPECT_EQ(childText(block, "IncidentInfectionChanceFactors/Illness/BaseChance"), "0");
        EXPECT_STREQ(record(doc, "1010262").child("Values").last_child().name(), "Electrifiable");
    }
    // Reloaded: off in the current column (the marker), on in the original one.
    const ProductionSettings off = load("1010262");
    EXPECT_EQ(off.current.incidents, QStringLiteral("0"));
    EXPECT_EQ(off.original.incidents, QStringLiteral("1"));

    ProductionSettings on = off;
    on.current.incidents = QStringLiteral("1");
    apply("1010262", on);
    EXPECT_EQ(group(record(working(), "1010262")), group(record(original, "1010262")));
}

TEST_F(ProductionSettingsTest, ElectricityGroupsAndThePowerMenu) {
    struct Case {
        const char* guid;      // building
        const char* required;  // electricity required, set in the window
        const char* used;      // electricity used, set in the window
        const char* powerMenu; // ShowPowerInObjectMenu afterwards ("": the record has none)
    };
    const Case cases[] = {
        {"7919", "1", "1", ""},   // the calamari fishery has no power menu
        {"101262", "1", "1", ""}, // nor has the fish-oil factory
        {"1010262", "1", "1", "1"}, {"1010262", "0", "1", "1"}, // the menu follows "used" ...
        {"1010262", "1", "0", "0"},                             // ... not "required"
        {"1010262", "0", "0", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.guid) + " " + c.required + c.used);
        ProductionSettings s = load(c.guid);
        s.current.electricMandatory = QString::fromLatin1(c.required);
        s.current.electricBoosted = QString::fromLatin1(c.used);
        apply(c.guid, s);
        EXPECT_EQ(at(c.guid, "Values/Industrializable/MandatoryIndustrialization"), c.required);
        EXPECT_EQ(at(c.guid, "Values/Industrializable/BoostedByIndustrialization"), c.used);
        EXPECT_EQ(at(c.guid, "Values/Electrifiable/ShowPowerInObjectMenu"), c.powerMenu);
    }
}

TEST_F(ProductionSettingsTest, AdditionalProductsMarkTheBuildingChanged) {
    ProductionSettings s = load("1010262");
    s.hasBuff = QStringLiteral("1");
    EXPECT_TRUE(apply("1010262", s));
    EXPECT_EQ(isChanged("1010262"), QStringLiteral("true"));
}

TEST_F(ProductionSettingsTest, RawMaterialProducersKeepTheirInputList) {
    // The paper mill's ordinary input and a mine's site input survive applying the window.
    for (const char* guid : {"117744", "1010304"}) {
        SCOPED_TRACE(guid);
        const std::string before = at(guid, "Values/FactoryBase/FactoryInputs/Item/Product");
        ProductionSettings s = load(guid);
        s.current.moneyAmount = QStringLiteral("5");
        EXPECT_TRUE(apply(guid, s));
        const XmlDocument doc = working();
        EXPECT_EQ(selectNodes(record(doc, guid), "Values/FactoryBase/FactoryInputs/Item").size(),
                  1u);
        EXPECT_EQ(at(guid, "Values/FactoryBase/FactoryInputs/Item/Product"), before);
    }
}

TEST_F(ProductionSettingsTest, AMissingGroupIsNamedAndNothingSaved) {
    editWorking("1010262", [](pugi::xml_node r) { r.child("Values").remove_child("Maintenance"); });
    const QByteArray working = readBytes(dataFilePath(data, kWorkingAssetsFile));
    const QByteArray index = readBytes(dataFilePath(data, kBuildingIndexFile));
    ProductionSettings s = load("1010262");
    s.current.moduleLimit = QStringLiteral("3");
    try {
        apply("1010262", s);
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Getreidefarm"))) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("Values/Maintenance"))) << e.what();
    }
    EXPECT_EQ(readBytes(dataFilePath(data, kWorkingAssetsFile)), working);
    EXPECT_EQ(readBytes(dataFilePath(data, kBuildingIndexFile)), index);
}

TEST_F(ProductionSettingsTest, AFailedSaveLeavesBothFilesAsTheyWere) {
    const QByteArray working = readBytes(dataFilePath(data, kWorkingAssetsFile));
    const QByteArray index = readBytes(dataFilePath(data, kBuildingIndexFile));
    ProductionSettings s = load("1010262");
    s.current.moduleLimit = QStringLiteral("3");
    ScriptedWriter writer;
    writer.failReplaceOf = kBuildingIndexFile;
    EXPECT_THROW(ApplyProductionSettings(data, QStringLiteral("1010262"), s, writer), DataError);
    EXPECT_EQ(readBytes(dataFilePath(data, kWorkingAssetsFile)), working);
    EXPECT_EQ(readBytes(dataFilePath(data, kBuildingIndexFile)), index);
}

} // namespace
