#include "tools/BuildingListCleaning.h"
#include "tools/PrepTestSupport.h"

#include <gtest/gtest.h>
#include <map>

using namespace velmora;
using namespace velmora::tools;
using namespace velmora::test;

namespace {

// GUID of each record, or its internal name when it has none.
QStringList recordKeys(const QString& path) {
    QStringList keys;
    const data::XmlDocument document = data::XmlDocument::load(path);
    for (const pugi::xml_node& record : document.root().children("Asset")) {
        const std::string guid = data::childText(record, "Values/Standard/GUID");
        keys << data::fromUtf8(guid.empty() ? data::childText(record, "Values/Standard/Name")
                                            : guid);
    }
    return keys;
}

} // namespace

TEST(CleanBuildingList, SortsEveryRecordIntoExactlyOneListInInputOrder) {
    PrepRunDir run;
    const PrepDirectories& dirs = run.dirs;
    writeBytes(dirs.tmp() + QStringLiteral("Buildings_Standard_UnCleaned.xml"),
               readBytes(fixture(QStringLiteral("prep-cleaning/CleaningRules.xml"))));
    CleanBuildingList(dirs);

    EXPECT_EQ(recordKeys(dirs.tmp() + QStringLiteral("Buildings_Standard_Cleaned.xml")),
              QStringList({
                  "2000",          // no rule matches
                  "2003",          // only the first object file is looked at
                  "1010560",       // capital Q, but on the keep list
                  "2008",          // a recipe list without IsBlank
                  "1418",          // keep list beats name and icon rules
                  "6279",          // keep list, formerly unmatched
                  "6080",          // keep list, formerly unmatched
                  "no_guid_eoy21", // without GUID the icon rule does not apply
              }));
    EXPECT_EQ(recordKeys(dirs.tmp() + QStringLiteral("NotInUse_Buildings.xml")),
              QStringList({
                  "2001",               // event icon, upper case
                  "2002",               // story object file
                  "2004",               // capital Q
                  "2005",               // pirates in any case
                  "2006",               // participant
                  "2007",               // recipe farm without recipe
                  "668",                // exclusion list
                  "no_guid_third_party" // name rule applies without GUID
              }));
    // Both lists keep the records whole and are re-formatted.
    const QByteArray kept =
        readBytes(dirs.tmp() + QStringLiteral("Buildings_Standard_Cleaned.xml"));
    EXPECT_TRUE(kept.startsWith("<AssetList>\r\n  <Asset>\r\n    <Values>\r\n      <Standard>\r\n  "
                                "      <GUID>2000</GUID>"));
    EXPECT_TRUE(kept.contains("<Filename>data/3rd_party/x.cfg</Filename>"));
}

TEST(CleanBuildingList, WritesAnEmptyListWhenNothingIsRemoved) {
    PrepRunDir run;
    const PrepDirectories& dirs = run.dirs;
    writeBytes(dirs.tmp() + QStringLiteral("Buildings_Standard_UnCleaned.xml"),
               "<AssetList><Asset><Values><Standard><GUID>1</GUID></Standard></Values></Asset></"
               "AssetList>");
    CleanBuildingList(dirs);
    EXPECT_EQ(readBytes(dirs.tmp() + QStringLiteral("NotInUse_Buildings.xml")),
              QByteArray("<AssetList/>"));
}

TEST(MergeBuildingLists, JoinsBothListsUnderOneRoot) {
    PrepRunDir run;
    const PrepDirectories& dirs = run.dirs;
    writeBytes(dirs.tmp() + QStringLiteral("Template_Buildings.xml"),
               "<AssetList>\r\n  <Asset>\r\n    <Name>a</Name>\r\n  </Asset>\r\n</AssetList>");
    writeBytes(dirs.tmp() + QStringLiteral("BaseAsset_Buildings.xml"),
               "<AssetList>\r\n  <Asset>\r\n    <Name>b</Name>\r\n  </Asset>\r\n</AssetList>");
    MergeBuildingLists(dirs);
    EXPECT_EQ(readBytes(dirs.tmp() + QStringLiteral("Buildings_Standard_UnCleaned.xml")),
              QByteArray("<AssetList>\r\n  <Asset>\r\n    <Name>a</Name>\r\n  </Asset>\r\n  "
                         "<Asset>\r\n    <Name>b</Name>"
                         "\r\n  </Asset>\r\n</AssetList>"));
    EXPECT_EQ(readBytes(dirs.tmp() + QStringLiteral("Template_Buildings.xml")),
              QByteArray("<AssetList>\r\n  <Asset>\r\n    <Name>a</Name>\r\n  </Asset>\r\n"));
}
