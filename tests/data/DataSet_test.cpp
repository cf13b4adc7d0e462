// The shipped data files hold together: every building of the index has its record in both
// asset lists and its buff entry, and every GUID a record names is in the catalogue or the
// field table.
#include "data/DataFiles.h"
#include "data/HelpTable.h"
#include "data/XmlDocument.h"
#include "support/TestSupport.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace velmora::data;
using namespace velmora::test;

namespace {

XmlDocument shipped(const QString& name) {
    return XmlDocument::load(sourcePath(QStringLiteral("resources/data/XMLP/")) + name);
}

QSet<std::string> firstAttributes(const XmlDocument& doc) {
    QSet<std::string> values;
    for (const pugi::xml_node& e : doc.root().children())
        values.insert(attributeTextAt(e, 0));
    return values;
}

TEST(ShippedDataSet, IndexAssetListsBuffsAndCataloguesAgree) {
    const XmlDocument index = shipped(kBuildingIndexFile);
    const XmlDocument working = shipped(kWorkingAssetsFile);
    const XmlDocument original = shipped(kOriginalAssetsFile);
    const XmlDocument buffs = shipped(kBuffTableFile);
    const QSet<std::string> products = firstAttributes(shipped(kProductCatalogueFile));
    const QSet<std::string> fields = firstAttributes(shipped(kFieldTableFile));
    const QSet<std::string> siteInputs = {"1955", "1591", "917"};

    EXPECT_EQ(working.serialize(), original.serialize());
    for (const pugi::xml_node& building : index.root().children("Building")) {
        ASSERT_EQ(std::distance(building.attributes_begin(), building.attributes_end()), 10);
        const std::string guid = attributeTextAt(building, 0);
        const pugi::xml_node record =
            selectNode(working.root(), "//Asset[Values/Standard/GUID=\"" + guid + "\"]");
        ASSERT_TRUE(record) << guid;
        EXPECT_TRUE(selectNode(original.root(), "//Asset[Values/Standard/GUID=\"" + guid + "\"]"))
            << guid;
        const pugi::xml_node buff =
            selectNode(buffs.root(), "Buff[@GUID='" + attributeTextAt(building, 8) + "']");
        ASSERT_TRUE(buff) << guid;
        EXPECT_EQ(std::distance(buff.attributes_begin(), buff.attributes_end()), 30);
        EXPECT_EQ(childText(record, "Values/UpgradeList/DefaultBuff"),
                  attributeTextAt(building, 8));
        for (const char* path : {"Values/FactoryBase/FactoryInputs/Item/Product",
                                 "Values/FactoryBase/FactoryOutputs/Item/Product",
                                 "Values/Maintenance/Maintenances/Item/Product",
                                 "Values/Cost/Costs/Item/Ingredient"}) {
            for (const pugi::xml_node& product : selectNodes(record, path)) {
                const std::string value = product.text().get();
                EXPECT_TRUE(products.contains(value) || siteInputs.contains(value))
                    << guid << " " << value;
            }
        }
        // Only farms with a module limit show their module; three records carry a module without
        // one.
        if (!selectNode(record, "Values/ModuleOwner/ModuleLimits/Main/Limit"))
            continue;
        for (const pugi::xml_node& module :
             selectNodes(record, "Values/ModuleOwner/ConstructionOptions/Item/ModuleGUID"))
            EXPECT_TRUE(fields.contains(module.text().get())) << guid;
    }
}

TEST(ShippedDataSet, HelpTableHoldsItsThirtyFourEntries) {
    const XmlDocument help = shipped(kHelpFile);
    EXPECT_EQ(selectNodes(help.root(), "Texts/Text").size(), 34u);
    EXPECT_EQ(childText(selectNode(help.root(), "//Text[GUID='11']"), "Label"), "Region");
    EXPECT_TRUE(readBytes(sourcePath(QStringLiteral("resources/data/XMLP/Help.xml")))
                    .startsWith("<?xml version=\"1.0\"?>\r\n"));

    // The info panel gets the paragraphs as shipped: an empty one stays empty, a single blank
    // stays a blank, and the missing fifth paragraph is empty.
    const HelpTable table =
        HelpTable::load(sourcePath(QStringLiteral("resources/data/XMLP/")) + kHelpFile);
    struct Case {
        const char* id;
        QString label, text;
    };
    const Case cases[] = {
        {"11", QStringLiteral("Region"),
         QStringLiteral("Wählen Sie hier als Filter aus, in welcher Region das gewünschte Gebäude "
                        "das Sie bearbeiten "
                        "möchten zu finden ist.\rBeachten Sie, das nicht in allen Regionen in "
                        "allen Gruppen auch "
                        "Gebäude enthalten sind!\r\r \r")},
        {"10", QStringLiteral(" "), QStringLiteral(" \r \r \r \r")},
        {"16", QStringLiteral("Aktiveren"),
         QStringLiteral("Nachdem Sie alle gewünschten Einstellungen für das gewählte Gebäude "
                        "gemacht haben müssen Sie "
                        "es noch aktivieren.\rDieser Schalter erzeugt die eigentliche Modifikation "
                        "im Mod Ordner des "
                        "Spiels sowie eine Informationsdatei (modinfo.json)\r \r \r")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(table.label(QString::fromLatin1(c.id)), c.label);
        EXPECT_EQ(table.text(QString::fromLatin1(c.id)), c.text);
    }
}

TEST(ShippedDataSet, LineWrittenFilesCarryAByteOrderMark) {
    for (const QString& name : {kGroupListFile, kFieldTableFile})
        EXPECT_TRUE(readBytes(sourcePath(QStringLiteral("resources/data/XMLP/")) + name)
                        .startsWith("\xEF\xBB\xBF<"))
            << name.toStdString();
    EXPECT_EQ(shipped(kFieldTableFile).root().select_nodes("Field").size(), 35u);
}

} // namespace
