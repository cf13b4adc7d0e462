// The state of every active mod: the overview's states, the stale mods the main window marks, and
// "Alle aktivieren" rewriting only the stale ones after the carry-over to new game data.
#include "data/BuildCosts.h"
#include "data/BuildingBrowser.h"
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/ProductionSettings.h"
#include "mod/BulkActivation.h"
#include "mod/EditsOverview.h"
#include "mod/ExportFlags.h"
#include "mod/ModStates.h"
#include "mod/ModTestSupport.h"

#include <QDirIterator>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kGrainFarm = QStringLiteral("1010262");
const QString kFishery = QStringLiteral("1010278");
const QString kHunter = QStringLiteral("1010314");
const QString kBakery = QStringLiteral("1010402");
const QString kLobsterFishery = QStringLiteral("118729");

void setCoins(const QString& dataDir, const QString& guid, const char* coins) {
    data::BuildCosts costs = data::LoadCosts(dataDir, guid);
    costs.current[0].amount = QString::fromLatin1(coins);
    data::ApplyCosts(dataDir, guid, costs.current);
}

void setWorkers(const QString& dataDir, const QString& guid, const char* amount) {
    data::ProductionSettings s = data::LoadProductionSettings(dataDir, guid);
    s.current.workforceAmount = QString::fromLatin1(amount);
    data::ApplyProductionSettings(dataDir, guid, s);
}

// New game data in place of the old: the shipped files with the grain farm's workers 8 in the
// game's own records, nothing edited; the mods directory is kept and the start's flag repair
// follows it.
void installNewGameData(const ShippedData& d) {
    const QDir shipped(sourcePath(QStringLiteral("resources/data/XMLP")));
    for (const QString& name : shipped.entryList(QDir::Files)) {
        QFile::remove(d.file(name));
        QFile::copy(shipped.filePath(name), d.file(name));
    }
    setWorkers(d.data, kGrainFarm, "8");
    QFile::remove(d.file(data::kOriginalAssetsFile));
    QFile::copy(d.file(data::kWorkingAssetsFile), d.file(data::kOriginalAssetsFile));
    data::SetBuildingFlag(d.data, kGrainFarm, data::kBuildingIsChanged, false);
    mod::SyncExportFlags(d.data, d.mods);
}

// The documented carry-over: the grain farm's coins edited and activated, then new game data
// and an import whose only field, the coins, was skipped as a conflict.
void carryOver(ShippedData& d) {
    setCoins(d.data, kGrainFarm, "80");
    d.activate(kGrainFarm);
    installNewGameData(d);
}

QStringList overviewRows(const ShippedData& d) {
    data::EditorFiles files(d.data);
    QStringList rows;
    for (const mod::OverviewBuilding& b : mod::LoadEditsOverview(files, d.mods).buildings)
        rows << QStringLiteral("%1|%2|%3 Felder")
                    .arg(b.edit.guid, mod::ModStateText(b.mod))
                    .arg(b.edit.fields.size());
    return rows;
}

// The stale mods among the exported buildings, as the main window marks them.
QSet<QString> staleMods(const ShippedData& d) {
    return mod::StaleMods(d.data, d.mods,
                          data::BrowseBuildings(d.data, 0, data::kExportedPseudoGroup, QString()));
}

// Every file below a folder with its bytes and its time of last change.
QMap<QString, QPair<QByteArray, qint64>> filesWithTimes(const QString& folder) {
    QMap<QString, QPair<QByteArray, qint64>> files;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(path, {file.readAll(), QFileInfo(path).lastModified().toMSecsSinceEpoch()});
    }
    return files;
}

TEST(ModStates, TheOverviewListsEveryActiveModWithItsState) {
    struct Case {
        const char* label;
        std::function<void(ShippedData&)> setUp;
        QStringList rows; // GUID, state, changed fields
    };
    const Case cases[] = {
        {"edited, not active",
         [](ShippedData& d) { setCoins(d.data, kGrainFarm, "80"); },
         {"1010262|nicht aktiv|1 Felder"}},
        {"edited and activated",
         [](ShippedData& d) {
             setCoins(d.data, kGrainFarm, "80");
             d.activate(kGrainFarm);
         },
         {"1010262|aktiv, aktuell|1 Felder"}},
        {"edited again after the activation",
         [](ShippedData& d) {
             setCoins(d.data, kGrainFarm, "80");
             d.activate(kGrainFarm);
             setCoins(d.data, kGrainFarm, "70");
         },
         {"1010262|aktiv, veraltet|1 Felder"}},
        {"activated without an edit",
         [](ShippedData& d) { d.activate(kFishery); },
         {"1010278|aktiv, aktuell|0 Felder"}},
        {"stale after new game data", carryOver, {"1010262|aktiv, veraltet|0 Felder"}},
        {"its building gone from the data",
         [](ShippedData& d) {
             d.activate(kLobsterFishery);
             data::XmlDocument index = data::XmlDocument::load(d.file(data::kBuildingIndexFile));
             index.root().remove_child(
                 index.root().find_child_by_attribute("Building", "GUID", "118729"));
             index.save();
         },
         {"118729|verwaist|0 Felder"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ShippedData d;
        c.setUp(d);
        const QStringList rows = overviewRows(d);
        EXPECT_EQ(rows, c.rows);
        // The main window marks exactly the mods the overview calls out of date.
        QSet<QString> stale;
        for (const QString& row : rows)
            if (row.contains(QStringLiteral("|aktiv, veraltet|")))
                stale.insert(row.section(u'|', 0, 0));
        EXPECT_EQ(staleMods(d), stale);
    }
}

TEST(ModStates, AlleAktivierenRewritesOnlyTheStaleModsAndLeavesCurrentOnesAsTheyAre) {
    ShippedData d;
    carryOver(d);
    // Current mods: the fishery's edit carried over by the import, the hunter's hut without an
    // edit. The bakery is edited and not active yet.
    setCoins(d.data, kFishery, "90");
    d.activate(kFishery);
    d.activate(kHunter);
    setCoins(d.data, kBakery, "90");
    const auto folder = [&](const QString& guid) {
        return mod::ActiveModFolder(d.mods, guid, data::FindBuilding(d.data, guid)->local);
    };
    const auto fisheryBefore = filesWithTimes(folder(kFishery));
    const auto hunterBefore = filesWithTimes(folder(kHunter));
    ASSERT_EQ(staleMods(d), QSet<QString>{kGrainFarm});
    {
        data::EditorFiles files(d.data); // the report follows the overview
        EXPECT_TRUE(
            QString::fromUtf8(
                mod::EditsReportCsv(mod::LoadEditsOverview(files, d.mods), files.catalogue()))
                .contains(QStringLiteral("\r\nGetreidefarm;1010262;;;;aktiv, veraltet\r\n")));
    }

    mod::BulkRequest request{d.data, d.mods, QStringLiteral("20.1.3.0"), QStringLiteral("tester")};
    request.createdAt = QDateTime(QDate(2026, 12, 11), QTime(9, 0));
    QStringList told;
    const mod::BulkReport report =
        mod::ActivateAll(request, d.pictures, [&](int done, int total, const QString& name) {
            told << QStringLiteral("%1/%2 %3").arg(done).arg(total).arg(name);
            return true;
        });
    EXPECT_EQ(told,
              QStringList({QStringLiteral("0/2 Baeckerei"), QStringLiteral("1/2 Getreidefarm")}));
    EXPECT_EQ(report.current, 2);
    EXPECT_EQ(mod::BulkSummary(report, true),
              QStringLiteral("Geschrieben: 2 von 2 Gebäuden.\rBereits aktuell und unverändert "
                             "gelassen: 2 Mods."));
    EXPECT_EQ(filesWithTimes(folder(kFishery)), fisheryBefore);
    EXPECT_EQ(filesWithTimes(folder(kHunter)), hunterBefore);
    EXPECT_TRUE(staleMods(d).isEmpty());
    EXPECT_EQ(overviewRows(d).filter(QStringLiteral("1010262|")),
              QStringList{QStringLiteral("1010262|aktiv, aktuell|0 Felder")});

    // A second run finds nothing to write.
    const mod::BulkReport again = mod::ActivateAll(request, d.pictures, {});
    EXPECT_EQ(again.total, 0);
    EXPECT_EQ(mod::BulkSummary(again, true),
              QStringLiteral("Alle 4 aktiven Mods sind bereits aktuell; es wurde nichts "
                             "geschrieben."));
}

} // namespace
