// The bad-input catalogue of the data files: a copy of the shipped data directory, one file
// damaged in one way, the operation a user triggers that reads it. Every case ends in a German
// message naming the damaged file and leaves every file as it was; a file re-encoded as UTF-16
// is still valid XML and reads as the intact one.
#include "data/AdditionalProducts.h"
#include "data/BuildCosts.h"
#include "data/BuildingBrowser.h"
#include "data/DataError.h"
#include "data/DataFiles.h"
#include "data/HelpTable.h"
#include "data/ProductionSettings.h"
#include "support/BadInput.h"
#include "support/ShippedData.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString& kGuid = kCatalogueGuid;
const QString& kBuffGuid = kCatalogueBuffGuid;

// An operation of the user on the data directory. It returns a summary of what it read, so a
// file that still reads (UTF-16) can be compared with the intact one.
struct Operation {
    const char* name;
    // Run on the intact directory before the damage: the values an editor holds when its
    // "Annehmen" is pressed. Empty for operations that only read.
    std::function<void(const QString& dataDir)> prepare;
    std::function<QString(const QString& dataDir)> run;
    bool writes = false; // "Annehmen": writes files when the input is sound
};

QString joined(const QStringList& parts) {
    return parts.join(QLatin1Char('|'));
}

data::ProductionSettings editedSettings;
data::CostSlots editedCosts;
data::AdditionalProducts editedProducts;

const Operation kBuildingList{"Gebaeudeliste", {}, [](const QString& dir) {
                                  QStringList rows;
                                  for (const data::BuildingEntry& b :
                                       data::BrowseBuildings(dir, 0, 2, QStringLiteral("Farmen")))
                                      rows << b.guid + b.local + b.isChanged + b.isExported;
                                  return joined(rows);
                              }};
const Operation kGroupNames{
    "Gruppen", {}, [](const QString& dir) { return joined(data::ReadGroupNames(dir)); }};
const Operation kHelp{
    "Hilfe", {}, [](const QString& dir) {
        const auto table = data::HelpTable::load(data::dataFilePath(dir, data::kHelpFile));
        return table.label(QStringLiteral("11")) + table.text(QStringLiteral("13"));
    }};
const Operation kLoadProduction{"ProduktionLaden", {}, [](const QString& dir) {
                                    const auto s = data::LoadProductionSettings(dir, kGuid);
                                    return joined({s.current.output.name, s.original.moneyAmount,
                                                   s.current.moduleName, s.hasBuff});
                                }};
const Operation kLoadCosts{
    "BaukostenLaden", {}, [](const QString& dir) {
        const auto c = data::LoadCosts(dir, kGuid);
        return joined({c.current[0].name, c.current[1].name, c.original[1].amount});
    }};
const Operation kLoadProducts{"ZusatzwarenLaden", {}, [](const QString& dir) {
                                  const auto a = data::LoadAdditionalProducts(dir, kGuid);
                                  return joined({a.goods[0].name, a.fertilityGuid, a.hasBuff});
                              }};
const Operation kApplyProduction{"ProduktionAnnehmen",
                                 [](const QString& dir) {
                                     editedSettings = data::LoadProductionSettings(dir, kGuid);
                                     editedSettings.current.outputAmount = QStringLiteral("7");
                                 },
                                 [](const QString& dir) {
                                     return QString::number(
                                         data::ApplyProductionSettings(dir, kGuid, editedSettings));
                                 },
                                 true};
const Operation kApplyCosts{"BaukostenAnnehmen",
                            [](const QString& dir) {
                                editedCosts = data::LoadCosts(dir, kGuid).current;
                                editedCosts[0].amount = QStringLiteral("999");
                            },
                            [](const QString& dir) {
                                return QString::number(
                                    data::ApplyCosts(dir, kGuid, editedCosts).changed);
                            },
                            true};
const Operation kApplyProducts{"ZusatzwarenAnnehmen",
                               [](const QString& dir) {
                                   editedProducts = data::LoadAdditionalProducts(dir, kGuid);
                                   editedProducts.goods[0].guid = data::kCoinsGuid;
                                   editedProducts.goods[0].amount = QStringLiteral("1");
                                   editedProducts.goods[0].cycle = QStringLiteral("30");
                               },
                               [](const QString& dir) {
                                   return data::ApplyAdditionalProducts(
                                              dir, kGuid, editedProducts.goods, QStringLiteral("0"))
                                       .hasBuff;
                               },
                               true};

using D = Damage;
// Every damage kind that applies to a file of the data directory; "Windows1252" only where the
// file holds umlauts ("BuffsShort.xml" is plain ASCII), "MissingRecord" where recordXPath names
// a record.
const std::vector<Damage> kEveryDamage = {
    D::Missing, D::Empty,       D::Truncated, D::Binary,        D::Utf16Cut,
    D::Utf16,   D::Windows1252, D::WrongRoot, D::MissingRecord, D::NulAfterRoot};

struct FileRow {
    const Operation* operation; // what the user does
    QString file;               // the file damaged (read, or read and written, by it)
    std::vector<Damage> skip;   // kinds that can not apply to the file
};

const std::vector<Damage> kNoRecord = {D::MissingRecord};
const std::vector<Damage> kAsciiNoRecord = {D::MissingRecord, D::Windows1252};
const std::vector<Damage> kAscii = {D::Windows1252};

const FileRow kRows[] = {
    {&kBuildingList, data::kBuildingIndexFile, kNoRecord}, // the list has no building to look up
    {&kGroupNames, data::kGroupListFile, kNoRecord},
    {&kHelp, data::kHelpFile, kNoRecord},
    {&kLoadProduction, data::kWorkingAssetsFile, {}},
    {&kLoadProduction, data::kOriginalAssetsFile, {}},
    {&kLoadProduction, data::kBuildingIndexFile, {}},
    {&kLoadProduction, data::kProductCatalogueFile, kNoRecord},
    {&kLoadProduction, data::kFieldTableFile, kNoRecord},
    {&kLoadProduction, data::kBuffTableFile, kAscii},
    {&kLoadCosts, data::kWorkingAssetsFile, {}},
    {&kLoadCosts, data::kOriginalAssetsFile, {}},
    {&kLoadCosts, data::kProductCatalogueFile, kNoRecord},
    {&kLoadProducts, data::kBuildingIndexFile, {}},
    {&kLoadProducts, data::kBuffTableFile, kAscii},
    {&kLoadProducts, data::kWorkingAssetsFile, {}},
    {&kLoadProducts, data::kProductCatalogueFile, kNoRecord},
    {&kApplyProduction, data::kWorkingAssetsFile, {}},
    {&kApplyProduction, data::kOriginalAssetsFile, {}},
    {&kApplyProduction, data::kBuildingIndexFile, {}},
    {&kApplyProduction, data::kProductCatalogueFile, kNoRecord},
    {&kApplyCosts, data::kWorkingAssetsFile, {}},
    {&kApplyCosts, data::kOriginalAssetsFile, {}},
    {&kApplyCosts, data::kBuildingIndexFile, {}},
    {&kApplyCosts, data::kProductCatalogueFile, kNoRecord},
    {&kApplyProducts, data::kBuildingIndexFile, {}},
    {&kApplyProducts, data::kBuffTableFile, kAscii},
};

using BadDataCase = DamageCase<FileRow>;

class BadDataInputTest : public ::testing::TestWithParam<BadDataCase> {};

TEST_P(BadDataInputTest, EndsInAGermanMessageNamingTheFileAndChangesNothing) {
    const BadDataCase& c = GetParam();
    const Operation& op = *c.row->operation;
    TempDir workspace;
    const QString dir = copyShippedData(workspace.file(QStringLiteral("XMLP")));
    if (op.prepare)
        op.prepare(dir);
    const QString intact =
        op.writes ? QString() : op.run(copyShippedData(workspace.file(QStringLiteral("Kopie"))));
    QDir(workspace.file(QStringLiteral("Kopie"))).removeRecursively();

    ASSERT_NO_FATAL_FAILURE(damageFile(data::dataFilePath(dir, c.row->file), c.damage,
                                       recordXPath(c.row->file, kGuid, kBuffGuid)));
    const auto before = snapshot(workspace.path());
    QString message, result;
    try {
        result = op.run(dir);
    } catch (const data::DataError& e) {
        message = e.message();
    }
    if (c.damage == Damage::Utf16 && !op.writes) {
        EXPECT_EQ(message, QString());
        EXPECT_EQ(result, intact);
    } else if (c.damage != Damage::Utf16) {
        expectGermanMessageNaming(message, c.row->file);
    }
    if (c.damage != Damage::Utf16 || !op.writes || !message.isEmpty()) {
        expectSameFiles(before, snapshot(workspace.path()));
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, BadDataInputTest,
                         ::testing::ValuesIn(damageCases(kRows, kEveryDamage)),
                         [](const auto& info) { return damageCaseName(info.param); });

} // namespace

namespace {

// A data directory the disk refuses to change (chattr +i, which stops even the root user the
// tests run as): every "Annehmen" ends in a German message naming the folder's file, and
// nothing is changed.
TEST(BadDataInput, ADataDirectoryThatCanNotBeWrittenStopsEveryAnnehmen) {
    for (const Operation* op : {&kApplyProduction, &kApplyCosts, &kApplyProducts}) {
        SCOPED_TRACE(op->name);
        TempDir workspace;
        const QString dir = copyShippedData(workspace.file(QStringLiteral("XMLP")));
        op->prepare(dir);
        const auto before = snapshot(workspace.path());
        QString message;
        {
            const Immutable locked(dir);
            if (!locked.held()) {
                GTEST_SKIP() << "chattr +i is not permitted here: read-only folders not tested";
            }
            try {
                op->run(dir);
            } catch (const data::DataError& e) {
                message = e.message();
            }
        }
        expectGermanMessageNaming(message, QStringLiteral("XMLP"));
        expectSameFiles(before, snapshot(workspace.path()));
    }
}

} // namespace
