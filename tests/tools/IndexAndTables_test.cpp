#include "PrepTestSupport.h"
#include "tools/IndexAndTables.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::tools;
using namespace velmora::test;

namespace {
const QByteArray kBom = "\xEF\xBB\xBF";
}

TEST(IndexAndTables, TablesHoldTheirStatedCounts) {
    EXPECT_EQ(kGroupRules.size(), 5u);
    EXPECT_EQ(kFieldTable.size(), 35u);
    EXPECT_EQ(kGroupListLines.size(), 8u); // root lines and six groups
    QSet<QString> guids;
    qsizetype count = 0;
    for (const GroupOverride& row : kGroupOverrides)
        for (const QString& guid : QString::fromUtf8(row.guids).split(QStringLiteral(", "))) {
            EXPECT_FALSE(guid.isEmpty() || guid.contains(u' ')) << row.group;
            guids.insert(guid);
            ++count;
        }
    EXPECT_EQ(count, 91);
    EXPECT_EQ(guids.size(), 91); // no building in two override groups
}

TEST(IndexAndTables, GroupByTemplateThenByOverride) {
    const struct {
        const char* templateName;
        const char* guid;
        const char* group;
    } cases[] = {
        {"FactoryBuilding7", "1", "Produktion"},
        {"SlotFactoryBuilding7_Arctic", "1", "Produktion"},
        {"HeavyFactoryBuilding", "1", "Industrie"},
        {"Multifactory", "1", "Industrie"}, // lower-case "factory" only matches the last rule
        {"FarmBuilding_Electrifiable", "1", "Farmen"},
        {"HeavyFreeAreaBuilding_Arctic", "1", "Farmen"},
        {"RecipeFarm", "1", "Farmen"},
        {"Warehouse", "1", "Warehouse"},
        {"FactoryBuilding7", "1010278", "Farmen"},
        {"FarmBuilding", "1010520", "Werften"},
        {"FactoryBuilding7", "1010311", "no Group"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(buildingGroup(QString::fromUtf8(c.templateName), QString::fromUtf8(c.guid)),
                  QString::fromUtf8(c.group))
            << c.templateName << " " << c.guid;
}

TEST(IndexAndTables, BuildingIndexLinesIconListAndIconCopies) {
    PrepRunDir run;
    run.place(QStringLiteral("prep-index/Buildings.xml"), QStringLiteral("XMLP/Buildings.xml"));
    WriteBuildingIndex(run.dirs);
    const auto line = [](const char* guid, const char* local, const char* icon, const char* region,
                         const char* group, const char* production, const char* add) {
        return QByteArray("\t<Building GUID=\"") + guid + "\" Local=\"" + local + "\" ICON=\"" +
               icon + "\" Region=\"" + region +
               "\" IsChanged=\"false\" IsExported=\"false\" Group=\"" + group + "\" Production=\"" +
               production + "\" Add=\"" + add + "\" Chain=\"\"/>\r\n";
    };
    EXPECT_EQ(run.bytes(QStringLiteral("XMLP/BuildingsShort.xml")),
              kBom + "<Buildings>\r\n" +
                  line("1010278", "Fischerei", "icon_fish", "1", "Farmen", "1", "2000502800") +
                  line("5000", "Haus &amp; Hof &quot;&lt;1&gt;&quot;", "icon_wood_log", "2",
                       "Industrie", "1", "2000502801") +
                  // no icon path: the icon of the record before
                  line("5001", "Mine", "icon_wood_log", "3", "Produktion", "0", "2000502802") +
                  line("5002", "Feuerwasser", "icon_multi", "2", "Industrie", "1", "2000502803") +
                  // no template in Values/Standard: the template of the record before
                  line("5003", "Abgeleitet", "icon_derived", "4", "Industrie", "1", "2000502804") +
                  // the two groups that only the override list gives
                  line("1010520", "Werft", "icon_shipyard", "1", "Werften", "1", "2000502805") +
                  line("1010540", "Kontor", "icon_trading_post", "1", "Kontor", "1", "2000502806") +
                  "</Buildings>\r\n");
    EXPECT_EQ(run.bytes(QStringLiteral("TMP/BuildingIcons_List.txt")),
              "icon_fish\r\nicon_wood_log\r\nicon_wood_log\r\nicon_multi\r\nicon_derived\r\n"
              "icon_shipyard\r\nicon_trading_post\r\n");

    writeBytes(run.path(QStringLiteral("icons-source/icon_wood_log_0.png")), "WOOD");
    writeBytes(run.path(QStringLiteral("icons-source/icon_multi.png")), "not the game's name");
    writeBytes(run.path(QStringLiteral("PNG/icon_wood_log.png")), "OLD");
    CopyBuildingIcons(run.dirs);
    EXPECT_EQ(run.bytes(QStringLiteral("PNG/icon_wood_log.png")), "WOOD");
    EXPECT_EQ(QDir(run.path(QStringLiteral("PNG"))).entryList(QDir::Files),
              QStringList{QStringLiteral("icon_wood_log.png")});
}

TEST(IndexAndTables, FieldTableHasRootLinesAndThirtyFiveFields) {
    PrepRunDir run;
    WriteFieldTable(run.dirs);
    const QByteArray bytes = run.bytes(QStringLiteral("XMLP/FarmField.xml"));
    ASSERT_TRUE(bytes.startsWith(kBom));
    const QList<QByteArray> lines = bytes.mid(3).split('\n');
    ASSERT_EQ(lines.size(), 38); // 37 lines and the empty rest after the last CR LF
    EXPECT_EQ(lines[0], "<Fields>\r");
    EXPECT_EQ(lines[1],
              "<Field GUID=\"1010270\" Singular=\"Getreidefeld\" Plural=\"Getreidefelder\" />\r");
    EXPECT_EQ(lines[7],
              "<Field GUID=\"1010277\" Singular=\"Schweinestall\" Plural=\"Schweineställe\" />\r");
    EXPECT_EQ(lines[35],
              "<Field GUID=\"8026\" Singular=\"Nandugehege\" Plural=\"Nandugehege\" />\r");
    EXPECT_EQ(lines[36], "</Fields>\r");
    EXPECT_EQ(lines[37], "");
}

TEST(IndexAndTables, GroupListLinesAsShipped) {
    PrepRunDir run;
    WriteGroupList(run.dirs);
    EXPECT_EQ(
        run.bytes(QStringLiteral("XMLP/BuildingGroups.xml")),
        kBom +
            "<Groups>\r\n"
            "  <Group Name=\"editierte Geb\xC3\xA4ude\" ICON=\"editierte Geb\xC3\xA4ude\" "
            "Index=\"0\"/>\r\n"
            "  <Group Name=\"exportierte Geb\xC3\xA4ude\" ICON=\"exportierte Geb\xC3\xA4ude\" "
            "Index=\"1\"/>\r\n"
            "\t<Group Name=\"Farmen\" ICON=\"Farmen\" Index=\"1\" />\r\n"
            "\t<Group Name=\"Produktion\" ICON=\"Produktion\" Index=\"2\"/>\r\n"
            "\t<Group Name=\"Industrie\" ICON=\"Industrie\" Index=\"3\"/>\r\n"
            "\t<Group Name=\"Bodensch\xC3\xA4tze\" ICON=\"Bodensch\xC3\xA4tze\" Index=\"4\"/>\r\n"
            "</Groups>\r\n");
}

TEST(IndexAndTables, ChainReportMatchesBuildingGuidsAsSubstrings) {
    PrepRunDir run;
    run.place(QStringLiteral("prep-chains/ProductionChain.xml"),
              QStringLiteral("ORG/ProductionChain.xml"));
    run.place(QStringLiteral("prep-chains/BuildingsShort.xml"),
              QStringLiteral("XMLP/BuildingsShort.xml"));
    WriteChainList(run.dirs);
    // 9002 names 10102785, which holds the digits of 1010278
    EXPECT_EQ(run.bytes(QStringLiteral("TMP/ChainGUIDs.txt")),
              "9001#1010278\r\n9002#1010278\r\n9003#1010278\r\n9003#5000\r\n");
}
