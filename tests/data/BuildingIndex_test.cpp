#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace velmora::data;
using namespace velmora::test;

namespace {

// A data directory holding a copy of the shipped data files.
class BuildingIndexTest : public ::testing::Test {
protected:
    BuildingIndexTest() {
        const QString shipped = sourcePath(QStringLiteral("resources/data/XMLP"));
        for (const QString& name : QDir(shipped).entryList(QDir::Files))
            writeBytes(dir.file(name), readBytes(QDir(shipped).filePath(name)));
    }
    QStringList names(const std::vector<BuildingEntry>& entries) const {
        QStringList result;
        for (const BuildingEntry& e : entries)
            result << e.local;
        return result;
    }

    TempDir dir;
};

TEST_F(BuildingIndexTest, ListsByRegionAndGroupInFileOrder) {
    const struct {
        int region;
        int group;
        const char* name;
        int count;
        const char* first;
    } cases[] = {
        {0, 2, "Farmen", 15, "Fischerei"},
        {1, 2, "Farmen", 32, "Fischoelfabrik"},
        {2, 5, "Bodenschätze", 2, "Gasfoerderanlage"},
        {-1, 2, "Farmen", 0, ""},            // no region selected
        {0, kChangedPseudoGroup, "", 0, ""}, // no flag set
        {0, kExportedPseudoGroup, "", 0, ""},
    };
    for (const auto& c : cases) {
        const QStringList listed =
            names(ListBuildings(dir.path(), c.region, c.group, QString::fromUtf8(c.name)));
        EXPECT_EQ(listed.size(), c.count) << c.region << " " << c.group << " " << c.name;
        EXPECT_EQ(listed.value(0), QString::fromUtf8(c.first))
            << c.region << " " << c.group << " " << c.name;
    }
    // "Erzmine" has "no Group": it is never listed under a real group of any region.
    const QStringList groups = ReadGroupNames(dir.path());
    for (int region = 0; region < 4; ++region)
        for (int group = 2; group < groups.size(); ++group)
            EXPECT_FALSE(names(ListBuildings(dir.path(), region, group, groups[group]))
                             .contains(QStringLiteral("Erzmine")));
}

TEST_F(BuildingIndexTest, FlagsShowInThePseudoGroupsWhateverRegionIsSelected) {
    SetBuildingFlag(dir.path(), QStringLiteral("1010364"), kBuildingIsChanged, true);
    SetBuildingFlag(dir.path(), QStringLiteral("112690"), kBuildingIsExported, true);
    for (int region : {0, 3}) {
        EXPECT_EQ(names(ListBuildings(dir.path(), region, kChangedPseudoGroup, QString())),
                  QStringList(QStringLiteral("Kaffeeroesterei")));
        EXPECT_EQ(names(ListBuildings(dir.path(), region, kExportedPseudoGroup, QString())),
                  QStringList(QStringLiteral("Goldmine")));
    }
    const auto entry = FindBuilding(dir.path(), QStringLiteral("1010364"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->isChanged, QStringLiteral("true"));
    EXPECT_EQ(entry->isExported, QStringLiteral("false"));
    SetBuildingFlag(dir.path(), QStringLiteral("1010364"), kBuildingIsChanged, false);
    EXPECT_TRUE(ListBuildings(dir.path(), 0, kChangedPseudoGroup, QString()).empty());
}

TEST_F(BuildingIndexTest, EntriesAreReadByPosition) {
    const auto first = FindBuilding(dir.path(), QStringLiteral("1010278"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->local, QStringLiteral("Fischerei"));
    EXPECT_EQ(first->icon, QStringLiteral("icon_fish"));
    EXPECT_EQ(first->region, QStringLiteral("1"));
    EXPECT_EQ(first->add, QStringLiteral("2000502800"));
    EXPECT_FALSE(FindBuilding(dir.path(), QStringLiteral("1")));
    EXPECT_THROW(SetBuildingFlag(dir.path(), QStringLiteral("1"), kBuildingIsChanged, true),
                 DataError);
}

// A group name or GUID holding quotes is a value to compare, never part of the query: it finds
// the entry holding exactly that text, or nothing, without a query error.
TEST_F(BuildingIndexTest, QuotesInGroupNamesAndGuidsStayValues) {
    writeBytes(
        dir.file(kBuildingIndexFile),
        "<Buildings>"
        "<Building GUID=\"1\" Local=\"Apostroph\" ICON=\"\" Region=\"1\" IsChanged=\"false\" "
        "IsExported=\"false\" Group=\"Bauern' Hof\" Production=\"1\" Add=\"0\" Chain=\"\"/>"
        "<Building GUID=\"2\" Local=\"Zitat\" ICON=\"\" Region=\"1\" IsChanged=\"false\" "
        "IsExported=\"false\" Group=\"&quot;Hof&quot;\" Production=\"1\" Add=\"0\" Chain=\"\"/>"
        "<Building GUID=\"3\" Local=\"Beides\" ICON=\"\" Region=\"1\" IsChanged=\"false\" "
        "IsExported=\"false\" Group=\"a'b&quot;c\" Production=\"1\" Add=\"0\" Chain=\"\"/>"
        "</Buildings>");
    const struct {
        const char* group; // the group name asked for
        const char* found; // the building listed under it ("" = none)
    } groups[] = {
        {"Bauern' Hof", "Apostroph"},
        {"\"Hof\"", "Zitat"},
        {"a'b\"c", "Beides"},
        {"' or '1'='1", ""},
    };
    for (const auto& c : groups)
        EXPECT_EQ(names(ListBuildings(dir.path(), 0, 2, QString::fromUtf8(c.group))).join(u','),
                  QString::fromUtf8(c.found))
            << c.group;
    for (const char* guid : {"1'", "1\"", "1' or '1'='1", "x'\"y"}) {
        EXPECT_FALSE(FindBuilding(dir.path(), QString::fromUtf8(guid))) << guid;
        EXPECT_THROW(SetBuildingFlag(dir.path(), QString::fromUtf8(guid), kBuildingIsChanged, true),
                     DataError)
            << guid;
    }
}

TEST_F(BuildingIndexTest, GroupNamesComeFromTheFirstAttribute) {
    EXPECT_EQ(
        ReadGroupNames(dir.path()),
        QStringList({QStringLiteral("editierte Gebäude"), QStringLiteral("exportierte Gebäude"),
                     QStringLiteral("Farmen"), QStringLiteral("Produktion"),
                     QStringLiteral("Industrie"), QStringLiteral("Bodenschätze")}));
}

TEST_F(BuildingIndexTest, ATruncatedIndexRaisesAGermanMessageAndStaysAsItWas) {
    const QByteArray truncated = readBytes(fixture(QStringLiteral("data/TruncatedIndex.xml")));
    writeBytes(dir.file(kBuildingIndexFile), truncated);
    try {
        SetBuildingFlag(dir.path(), QStringLiteral("1010278"), kBuildingIsChanged, true);
        FAIL() << "no error raised";
    } catch (const DataError& e) {
        EXPECT_TRUE(e.message().contains(kBuildingIndexFile)) << e.what();
    }
    EXPECT_THROW(ListBuildings(dir.path(), 0, 2, QStringLiteral("Farmen")), DataError);
    EXPECT_EQ(readBytes(dir.file(kBuildingIndexFile)), truncated);
}

} // namespace
