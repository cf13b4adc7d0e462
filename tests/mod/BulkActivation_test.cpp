// "Alle aktivieren" and "Alle deaktivieren" on the shipped data: every changed building in list
// order, one failure that does not stop the others, a stop between two buildings.
#include "data/BuildingIndex.h"
#include "mod/BulkActivation.h"
#include "mod/ModFolder.h"
#include "mod/ModTestSupport.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

// Three changed buildings, in list order; the grain farm's icon is missing from the pictures.
struct BulkData : ShippedData {
    const QStringList guids = {QStringLiteral("1010278"), QStringLiteral("1010262"),
                               QStringLiteral("1010314")};
    const QStringList names = {QStringLiteral("Fischerei"), QStringLiteral("Getreidefarm"),
                               QStringLiteral("Jagdhuette")};
    BulkData() {
        for (const QString& guid : guids)
            data::SetBuildingFlag(data, guid, data::kBuildingIsChanged, true);
        pictures.missing.insert(QStringLiteral("icon_grain_farm"));
    }
    mod::BulkRequest request() const {
        return {data, mods, QStringLiteral("20.1.3.0"), QStringLiteral("tester")};
    }
    bool active(int k) const {
        return QFileInfo::exists(mod::ActiveModFolder(mods, guids[k], names[k]) +
                                 QStringLiteral("/modinfo.json"));
    }
    QString exported(int k) const { return data::FindBuilding(data, guids[k])->isExported; }
};

TEST(BulkActivation, OneFailureDoesNotStopTheOthers) {
    BulkData d;
    QStringList told;
    const mod::BulkReport report =
        mod::ActivateAll(d.request(), d.pictures, [&](int done, int total, const QString& name) {
            told << QStringLiteral("%1/%2 %3").arg(done).arg(total).arg(name);
            return true;
        });
    EXPECT_EQ(told,
              (QStringList{QStringLiteral("0/3 Fischerei"), QStringLiteral("1/3 Getreidefarm"),
                           QStringLiteral("2/3 Jagdhuette")}));
    ASSERT_EQ(report.outcomes.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(d.names[k].toStdString());
        EXPECT_EQ(report.outcomes[std::size_t(k)].name, d.names[k]);
        const bool written = k != 1;
        EXPECT_EQ(report.outcomes[std::size_t(k)].done, written);
        EXPECT_EQ(d.active(k), written);
        EXPECT_EQ(d.exported(k), written ? QStringLiteral("true") : QStringLiteral("false"));
    }
    EXPECT_TRUE(report.outcomes[1].reason.contains(QStringLiteral("icon_grain_farm")));
    const QString summary = mod::BulkSummary(report, true);
    EXPECT_TRUE(summary.startsWith(QStringLiteral("Geschrieben: 2 von 3 Gebäuden.")))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("Getreidefarm: "))) << summary.toStdString();

    // "Alle deaktivieren" removes the two mods it finds exported, and nothing else is left.
    const mod::BulkReport removed = mod::DeactivateAll(d.request(), {});
    EXPECT_EQ(removed.total, 2);
    for (int k = 0; k < 3; ++k) {
        EXPECT_FALSE(d.active(k)) << k;
        EXPECT_EQ(d.exported(k), QStringLiteral("false")) << k;
    }
    EXPECT_TRUE(d.modFolders().isEmpty()) << d.modFolders().join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(
        mod::BulkSummary(removed, false).startsWith(QStringLiteral("Entfernt: 2 von 2 Mods.")));
}

TEST(BulkActivation, AStopComesOnlyBetweenTwoBuildings) {
    BulkData d;
    d.pictures.missing.clear();
    const mod::BulkReport report = mod::ActivateAll(
        d.request(), d.pictures, [](int done, int, const QString&) { return done < 1; });
    EXPECT_TRUE(report.stopped);
    ASSERT_EQ(report.outcomes.size(), 1u);
    EXPECT_TRUE(d.active(0));
    EXPECT_FALSE(d.active(1));
    EXPECT_FALSE(d.active(2));
    EXPECT_EQ(d.modFolders().size(), 1);
    EXPECT_TRUE(
        mod::BulkSummary(report, true)
            .contains(QStringLiteral("Abgebrochen: 2 Gebäude wurden nicht mehr bearbeitet.")));
}

TEST(BulkActivation, NothingToDoIsSaid) {
    ShippedData d;
    const mod::BulkRequest request{d.data, d.mods, QStringLiteral("1"), QStringLiteral("t")};
    EXPECT_EQ(mod::BulkSummary(mod::ActivateAll(request, d.pictures, {}), true),
              QStringLiteral("Es gibt keine geänderten Gebäude."));
    EXPECT_EQ(mod::BulkSummary(mod::DeactivateAll(request, {}), false),
              QStringLiteral("Es gibt keine aktiven Mods dieses Programms."));
}

} // namespace
