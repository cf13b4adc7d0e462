#include "data/DataError.h"
#include "data/HelpTable.h"
#include "support/DataDirBuilder.h"

#include <gtest/gtest.h>

using namespace velmora::data;
using namespace velmora::test;

namespace {

HelpTable tableWith(const TempDir& dir, const std::vector<HelpEntry>& entries) {
    writeHelpTable(dir.path(), entries);
    return HelpTable::load(dir.file(QStringLiteral("Help.xml")));
}

TEST(HelpTable, ParagraphsAreJoinedByFourCarriageReturns) {
    TempDir dir;
    const QString blank = QStringLiteral(" ");
    const HelpTable table = tableWith(
        dir, {
                 {QStringLiteral("11"),
                  QStringLiteral("Region"),
                  {QStringLiteral("Satz eins."), QStringLiteral("Satz zwei."), QString(), blank}},
                 {QStringLiteral("10"), blank, {blank, blank, blank, blank}},
                 {QStringLiteral("7"), QStringLiteral("Nur Label"), {}},
                 {QStringLiteral("8"),
                  QStringLiteral("Fünf"),
                  {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                   QStringLiteral("d"), QStringLiteral("e")}},
             });
    struct Case {
        const char* id;
        QString label;
        QString text;
    };
    const Case cases[] = {
        // empty Text2, single-blank Text3, no Text4
        {"11", QStringLiteral("Region"), QStringLiteral("Satz eins.\rSatz zwei.\r\r \r")},
        // blanks stay blanks, so the panel looks empty
        {"10", blank, QStringLiteral(" \r \r \r \r")},
        // missing Text children are empty paragraphs
        {"7", QStringLiteral("Nur Label"), QStringLiteral("\r\r\r\r")},
        // a fifth paragraph is read when present
        {"8", QStringLiteral("Fünf"), QStringLiteral("a\rb\rc\rd\re")},
        // no such entry, and ids that are no help ids
        {"99", QString(), QStringLiteral("\r\r\r\r")},
        {"1' or '1'='1", QString(), QStringLiteral("\r\r\r\r")},
        {"", QString(), QStringLiteral("\r\r\r\r")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(table.label(QString::fromUtf8(c.id)), c.label);
        EXPECT_EQ(table.text(QString::fromUtf8(c.id)), c.text);
    }
}

TEST(HelpTable, FirstEntryOfAnIdWinsAndTheLoadedTableServesTheRun) {
    TempDir dir;
    writeHelpTable(dir.path(),
                   {{QStringLiteral("14"), QStringLiteral("Erster"), {QStringLiteral("x")}},
                    {QStringLiteral("14"), QStringLiteral("Zweiter"), {QStringLiteral("y")}}});
    LoadHelpTable(dir.file(QStringLiteral("Help.xml")));
    EXPECT_EQ(GetHelpLabel(QStringLiteral("14")), QStringLiteral("Erster"));
    EXPECT_EQ(GetHelpText(QStringLiteral("14")), QStringLiteral("x\r\r\r\r"));

    // Changing the file while the program runs has no effect.
    writeHelpTable(dir.path(), {{QStringLiteral("14"), QStringLiteral("Neu"), {}}});
    EXPECT_EQ(GetHelpLabel(QStringLiteral("14")), QStringLiteral("Erster"));
}

TEST(HelpTable, MissingOrBrokenFileIsAGermanError) {
    TempDir dir;
    EXPECT_THROW(HelpTable::load(dir.file(QStringLiteral("Help.xml"))), DataError);
    writeBytes(dir.file(QStringLiteral("Help.xml")), "<TextExport><Texts>");
    try {
        HelpTable::load(dir.file(QStringLiteral("Help.xml")));
        FAIL() << "a truncated help table loaded";
    } catch (const DataError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Help.xml"))) << e.message().toStdString();
    }
}

} // namespace
