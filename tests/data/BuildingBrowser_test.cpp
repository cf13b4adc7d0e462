#include "data/BuildingBrowser.h"
#include "support/DataDirBuilder.h"

#include <gtest/gtest.h>

using namespace velmora::data;
using namespace velmora::test;

namespace {

TEST(BuildingBrowser, NamesCompareWithoutAsciiCaseAndOthersByCode) {
    struct Case {
        QString a, b;
        int sign;
    };
    const Case cases[] = {
        {QStringLiteral("baeckerei"), QStringLiteral("Baeckerei"), 0}, // only ASCII case differs
        {QStringLiteral("apfelplantage"), QStringLiteral("Baeckerei"),
         -1}, // lower case sorts where capitals do
        {QStringLiteral("Zucker"), QStringLiteral("Ölmühle"), -1},  // an umlaut comes after Z
        {QStringLiteral("Ölmühle"), QStringLiteral("ölmühle"), -1}, // umlauts are not folded
        {QStringLiteral("Mine"), QStringLiteral("Minen"), -1},      // a start comes first
        {QStringLiteral("Arsenal  Polizei"), QStringLiteral("Arsenal Polizei"),
         -1},                                            // blank before P
        {QStringLiteral("_x"), QStringLiteral("Zx"), 1}, // '_' comes after 'Z'
        {QStringLiteral("_x"), QStringLiteral("ax"), 1}, // and after 'a', which counts as 'A'
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a.toStdString() + " / " + c.b.toStdString());
        const int r = CompareBuildingNames(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign);
        const int back = CompareBuildingNames(c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign);
    }
}

TEST(BuildingBrowser, RowsComeInNameOrderAndEqualNamesKeepFileOrder) {
    TempDir dir;
    writeBuildingIndex(dir.path(),
                       {
                           {QStringLiteral("5"), QStringLiteral("Ölmühle")},
                           {QStringLiteral("1"), QStringLiteral("zuckerrohr")},
                           {QStringLiteral("2"), QStringLiteral("Apfel"), QStringLiteral("1"),
                            QStringLiteral("Farmen"), QStringLiteral("true")},
                           {QStringLiteral("3"), QStringLiteral("Apfel"), QStringLiteral("2"),
                            QStringLiteral("Farmen"), QStringLiteral("true")},
                           {QStringLiteral("4"), QStringLiteral("Baeckerei"), QStringLiteral("1"),
                            QStringLiteral("Produktion")},
                       });
    QStringList order;
    for (const BuildingEntry& e : BrowseBuildings(dir.path(), 0, 2, QStringLiteral("Farmen")))
        order << e.guid;
    EXPECT_EQ(order, (QStringList{QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("5")}));

    order.clear();
    for (const BuildingEntry& e :
         BrowseBuildings(dir.path(), 3, 0, QStringLiteral("editierte Gebäude")))
        order << e.guid;
    EXPECT_EQ(order, (QStringList{QStringLiteral("2"), QStringLiteral("3")}));
}

TEST(BuildingBrowser, RowToSelectAfterARefresh) {
    struct Case {
        int group, index, rows, expected;
    };
    const Case cases[] = {
        {2, 5, 8, 5},                // the remembered row still exists
        {2, 5, 5, 0},                // the list got shorter
        {2, 7, 8, 7},  {0, 5, 8, 0}, // changed buildings always start at the top
        {1, 5, 8, 5},                // exported buildings keep the row
        {2, -1, 8, 0}, {2, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.group << "/" << c.index << "/" << c.rows);
        EXPECT_EQ(RowToSelect(c.group, c.index, c.rows), c.expected);
    }
}

TEST(BuildingBrowser, ModButtonsFollowTheFlagsAndTheCountIsWrittenOut) {
    struct Case {
        const char* isChanged;  // IsChanged of the selected building
        const char* isExported; // its IsExported
        bool activate, deactivate;
    };
    const Case cases[] = {
        {"false", "false", false, false},
        {"true", "false", true, false},
        {"true", "true", true, true},
        {"", "x", true, true}, // only "false" disables
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.isChanged << "/" << c.isExported);
        BuildingEntry entry;
        entry.isChanged = QString::fromLatin1(c.isChanged);
        entry.isExported = QString::fromLatin1(c.isExported);
        const ModButtons buttons = ModButtonsFor(entry);
        EXPECT_EQ(buttons.activate, c.activate);
        EXPECT_EQ(buttons.deactivate, c.deactivate);
    }
    EXPECT_EQ(CountText(15), QStringLiteral("15 Gebäude gefunden"));
    EXPECT_EQ(CountText(0), QStringLiteral("0 Gebäude gefunden"));
}

} // namespace
